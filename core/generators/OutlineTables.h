// The five stored outlines as unit points. Leaves run along x from the stalk
// (x = 0) to the tip (1, 0) with y the half-width; flakes are twelve-point
// stars around the origin.
#pragma once

namespace tessaly {

struct OutlinePoint {
    double x;
    double y;
};

extern const OutlinePoint LeafOutlineA[33];
extern const OutlinePoint LeafOutlineB[61];
extern const OutlinePoint FlakeOutlineA[12];
extern const OutlinePoint FlakeOutlineB[12];
extern const OutlinePoint FlakeOutlineC[12];

}  // namespace tessaly
