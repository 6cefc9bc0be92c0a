#include "generators/RunningValues.h"

namespace tessaly {

namespace {
constexpr int32_t kStartShapeRotation = 60;
constexpr int32_t kStartRingStepIndex = 7;  // the first head steps on to 8 (90 degrees)
constexpr int32_t kStartPetalShape = 0;
}  // namespace

int32_t shapeRotation = kStartShapeRotation;
int32_t ringStepIndex = kStartRingStepIndex;
int32_t petalShape = kStartPetalShape;

// Angle between neighbouring petals of a ring; every entry divides 360.
const int32_t ringAngleSteps[9] = {15, 20, 24, 30, 40, 45, 60, 72, 90};

void ResetRunningValues() {
    shapeRotation = kStartShapeRotation;
    ringStepIndex = kStartRingStepIndex;
    petalShape = kStartPetalShape;
}

}  // namespace tessaly
