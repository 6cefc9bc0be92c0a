#include "scene/BroadLeafFlowerScene.h"

#include "base/Geometry.h"

namespace tessaly {

const FlowerSceneRules BroadLeafFlowerScene::kRules = {
    /*hasStem*/ true,
    /*basalStem*/ false,
    // The first leaf stands at 110 without a draw, then 246..251 and 106..111 in turn.
    /*leafAngles*/ {false, 110, 240, {106, +1, 5}, {246, +1, 5}},
    /*tripleRingStart*/ {3, 3, 1},
    /*singleRingDivisor*/ 1,
    /*forcePetalShape*/ false,
};

BroadLeafFlowerScene::BroadLeafFlowerScene(GardenState& gardenState) : StemmedFlowerScene(gardenState, kRules) {
    palette = std::make_unique<ColourPalette>(state.random);
    BuildFigures();
}

BroadLeafFlowerScene::~BroadLeafFlowerScene() { palette.reset(); }

void BroadLeafFlowerScene::BuildFigures() {
    const int x = R(logicalWidth);
    const int n = R(6) + 2;
    const double w = F(0.2, 0.08);
    const int h = R(800) + 190;
    BuildStemmedFlower(x, h, n, w);
}

}  // namespace tessaly
