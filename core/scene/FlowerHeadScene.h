// A flower head alone, without stem or leaves, anywhere on the canvas.
#pragma once

#include "scene/FlowerScene.h"

namespace tessaly {

class FlowerHeadScene : public FlowerScene {
public:
    explicit FlowerHeadScene(GardenState& state);
    ~FlowerHeadScene() override;

    static const FlowerSceneRules kRules;

protected:
    void BuildFigures() override;
};

}  // namespace tessaly
