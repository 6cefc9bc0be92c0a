#include "scene/BasalLeafFlowerScene.h"

#include "base/Geometry.h"

namespace tessaly {

const FlowerSceneRules BasalLeafFlowerScene::kRules = {
    /*hasStem*/ true,
    /*basalStem*/ true,
    // Leaves within 39 degrees of upright: 141..181 and 179..219; an upper-band
    // angle below 190 counts as lower, so the next one is upper again.
    /*leafAngles*/ {true, 0, 190, {141, +1, 40}, {219, -1, 40}},
    /*tripleRingStart*/ {4, 4, 3},
    /*singleRingDivisor*/ 3,
    /*forcePetalShape*/ true,
};

BasalLeafFlowerScene::BasalLeafFlowerScene(GardenState& gardenState) : StemmedFlowerScene(gardenState, kRules) {
    palette = std::make_unique<ColourPalette>(state.random);
    BuildFigures();
}

BasalLeafFlowerScene::~BasalLeafFlowerScene() { palette.reset(); }

double BasalLeafFlowerScene::DistanceMeasure(int x) {
    const int half = logicalWidth / 2;
    const double offset = x - half;
    double dtemp = 2 * (offset * offset) / half;
    if (dtemp > 1000) dtemp = 1000;
    if (dtemp < 0.01) dtemp = 0.01;
    return dtemp;
}

int BasalLeafFlowerScene::AdjustFactor(double dtemp) {
    int factor = static_cast<int>(logicalWidth / dtemp + 1);
    if (factor > 100) factor = 100;
    return factor;
}

void BasalLeafFlowerScene::BuildFigures() {
    const int x = R(logicalWidth);
    const double dtemp = DistanceMeasure(x);
    const int adjust_factor = AdjustFactor(dtemp);
    // Drawn even when 20 / adjust_factor is 0 and n can only be 4.
    const int r = Rand();
    const int n = r * (20 / adjust_factor) / 32768 + 4;
    const int h = (R(800) + 190) / adjust_factor + 125;
    const double w = F(0.04, 0.06);
    BuildStemmedFlower(x, h, n, w);
}

}  // namespace tessaly
