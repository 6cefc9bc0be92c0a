// Twenty-one snowflakes scattered over the canvas in the three star shapes in turn.
#pragma once

#include "scene/Scene.h"

namespace tessaly {

class SnowScene : public Scene {
public:
    explicit SnowScene(GardenState& state);
    ~SnowScene() override;

    // White pen and the near-white snow colour; no draw, so every paint matches.
    void SetColours(CPen* pen, PenBrushSet* brushes) override;

    static constexpr int kFlakeCount = 21;
    static constexpr int kRotationStep = 25;

protected:
    virtual void BuildFigures();
};

}  // namespace tessaly
