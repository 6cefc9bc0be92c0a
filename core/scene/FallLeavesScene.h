// Three autumn leaves scattered over the canvas, one of each leaf shape.
#pragma once

#include "scene/Scene.h"

namespace tessaly {

class FallLeavesScene : public Scene {
public:
    explicit FallLeavesScene(GardenState& state);
    ~FallLeavesScene() override;

    // Black pen, and orange or gold, drawn again at every paint.
    void SetColours(CPen* pen, PenBrushSet* brushes) override;

    static constexpr int kLeafCount = 3;
    static constexpr int kGoldUpTo = 10922;  // a draw at or below this picks gold: one third
    static constexpr int kRotationStep = 25;

protected:
    virtual void BuildFigures();
};

}  // namespace tessaly
