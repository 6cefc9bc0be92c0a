// Everything a garden carries from one drawing to the next, in one object:
// the three settings, the running values of the shape generators and the
// random generator. A process makes one and hands it to every canvas it
// shows, so two canvases draw from one sequence and grow different gardens.
#pragma once

#include <cstdint>

#include "generators/RunningValues.h"
#include "random/Random.h"

namespace tessaly {

struct GardenState {
    // The settings, as start-up loads them; these are their values before that.
    int32_t cycleLengthSetting = 10;
    int32_t speedSetting = 60;
    int32_t buildSetting = 0;

    // Running values: successive flowers differ in a fixed cycle.
    int32_t shapeRotation = kStartShapeRotation;  // degrees; grows without bound
    int32_t ringStepIndex = kStartRingStepIndex;  // index into ringAngleSteps
    int32_t petalShape = kStartPetalShape;        // profile of the next head's petals

    Random random;
};

}  // namespace tessaly
