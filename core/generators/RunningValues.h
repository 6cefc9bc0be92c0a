// Process-wide running values of the shape generators. They carry over from
// one drawing to the next, so successive flowers differ in a fixed cycle.
#pragma once

#include <cstdint>

namespace tessaly {

extern int32_t shapeRotation;   // degrees; starts at 60, grows without bound
extern int32_t ringStepIndex;   // index into ringAngleSteps; starts at 7
extern int32_t petalShape;      // profile of the next head's petals; starts at 0

extern const int32_t ringAngleSteps[9];  // 15, 20, 24, 30, 40, 45, 60, 72, 90

// Back to the values at program start (for tests and for repeatable renders).
void ResetRunningValues();

}  // namespace tessaly
