// A flower from the bottom edge whose five leaves all spring from its foot;
// it grows taller and larger the farther its foot stands from the middle.
#pragma once

#include "scene/FlowerScene.h"

namespace tessaly {

class BasalLeafFlowerScene : public StemmedFlowerScene {
public:
    explicit BasalLeafFlowerScene(GardenState& state);
    ~BasalLeafFlowerScene() override;

    static const FlowerSceneRules kRules;

    // Squared distance of the foot from the middle, limited to 0.01 .. 1000.
    static double DistanceMeasure(int x);
    // The divisor that shrinks the plant near the middle: 2 at the edges, 100 in the middle.
    static int AdjustFactor(double dtemp);

protected:
    void BuildFigures() override;
};

}  // namespace tessaly
