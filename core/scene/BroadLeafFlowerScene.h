// A tall flower from the bottom edge with broad leaves standing out almost
// sideways, alternating from side to side, and a medium to large head.
#pragma once

#include "scene/FlowerScene.h"

namespace tessaly {

class BroadLeafFlowerScene : public StemmedFlowerScene {
public:
    explicit BroadLeafFlowerScene(GardenState& state);
    ~BroadLeafFlowerScene() override;

    static const FlowerSceneRules kRules;

protected:
    void BuildFigures() override;
};

}  // namespace tessaly
