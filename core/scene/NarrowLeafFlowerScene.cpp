#include "scene/NarrowLeafFlowerScene.h"

#include "base/Geometry.h"

namespace tessaly {

const FlowerSceneRules NarrowLeafFlowerScene::kRules = {
    /*hasStem*/ true,
    /*basalStem*/ false,
    // 24 to 44 degrees off upright: 136..156 and 204..224.
    /*leafAngles*/ {true, 0, 190, {136, +1, 20}, {224, -1, 20}},
    /*tripleRingStart*/ {4, 4, 2},
    /*singleRingDivisor*/ 2,
    /*forcePetalShape*/ true,
};

NarrowLeafFlowerScene::NarrowLeafFlowerScene(GardenState& gardenState) : StemmedFlowerScene(gardenState, kRules) {
    palette = std::make_unique<ColourPalette>(state.random);
    BuildFigures();
}

NarrowLeafFlowerScene::~NarrowLeafFlowerScene() { palette.reset(); }

void NarrowLeafFlowerScene::BuildFigures() {
    const int x = R(logicalWidth);
    const int n = R(5) + 5;
    const double w = F(0.04, 0.04);
    const int h = R(800) + 150;
    BuildStemmedFlower(x, h, n, w);
}

}  // namespace tessaly
