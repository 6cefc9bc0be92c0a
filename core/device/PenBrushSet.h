// The seven brush slots the canvas owns and the scenes load colours into.
#pragma once

#include "device/GdiHolders.h"

namespace tessaly {

class PenBrushSet {
public:
    explicit PenBrushSet(GdiObjects& objects)
        : stemLeafBrush(objects), fallLeafBrush(objects), discBrush(objects),
          petalBrush0(objects), petalBrush1(objects), petalBrush2(objects),
          snowflakeBrush(objects) {}

    CBrush stemLeafBrush;   // slot 0
    CBrush fallLeafBrush;   // slot 1
    CBrush discBrush;       // slot 2
    CBrush petalBrush0;     // slot 3
    CBrush petalBrush1;     // slot 4
    CBrush petalBrush2;     // slot 5
    CBrush snowflakeBrush;  // slot 6
};

}  // namespace tessaly
