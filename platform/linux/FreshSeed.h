// The seed of a run that was given none. Several processes can start in the
// same second (XScreenSaver starts one per monitor at once), so the seed mixes
// the real-time clock in nanoseconds with the process id: two processes never
// share a garden by accident.
#pragma once

#include <cstdint>

namespace tessaly {

uint32_t FreshSeed();

}  // namespace tessaly
