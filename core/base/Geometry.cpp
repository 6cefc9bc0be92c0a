#include "base/Geometry.h"

namespace tessaly {

int32_t logicalWidth = 1400;

}  // namespace tessaly
