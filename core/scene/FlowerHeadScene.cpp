#include "scene/FlowerHeadScene.h"

#include "base/Geometry.h"

namespace tessaly {

const FlowerSceneRules FlowerHeadScene::kRules = {
    /*hasStem*/ false,
    /*basalStem*/ false,
    /*leafAngles*/ {false, 0, 0, {0, 0, 0}, {0, 0, 0}},
    /*tripleRingStart*/ {4, 4, 1},
    /*singleRingDivisor*/ 1,
    /*forcePetalShape*/ false,
};

FlowerHeadScene::FlowerHeadScene(GardenState& gardenState) : FlowerScene(gardenState, kRules) {
    palette = std::make_unique<ColourPalette>(state.random);
    BuildFigures();
}

FlowerHeadScene::~FlowerHeadScene() { palette.reset(); }

void FlowerHeadScene::BuildFigures() {
    const int cx = R(logicalWidth);
    // The vertical range is the width too: some heads sit below the bottom edge.
    const int cy = R(logicalWidth);
    const int n = R(8) + 2;
    BuildHead(cx, cy, n);
}

}  // namespace tessaly
