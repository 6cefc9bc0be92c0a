// The running values of the shape generators start at these values and carry
// over from one drawing to the next (they live in GardenState).
#pragma once

#include <cstdint>

namespace tessaly {

constexpr int32_t kStartShapeRotation = 60;
constexpr int32_t kStartRingStepIndex = 7;  // the first head steps on to 8 (90 degrees)
constexpr int32_t kStartPetalShape = 0;

// Angle between neighbouring petals of a ring; every entry divides 360.
constexpr int32_t ringAngleSteps[9] = {15, 20, 24, 30, 40, 45, 60, 72, 90};

}  // namespace tessaly
