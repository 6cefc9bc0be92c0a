// A flower from the bottom edge with very narrow leaves along its stem,
// alternating strictly from side to side, and a small head.
#pragma once

#include "scene/FlowerScene.h"

namespace tessaly {

class NarrowLeafFlowerScene : public StemmedFlowerScene {
public:
    explicit NarrowLeafFlowerScene(GardenState& state);
    ~NarrowLeafFlowerScene() override;

    static const FlowerSceneRules kRules;

protected:
    void BuildFigures() override;
};

}  // namespace tessaly
