// The five stored outlines (two fall leaves, three snowflakes) and how they
// are stretched, turned, scaled and placed into a figure.
#pragma once

#include "base/Geometry.h"

namespace tessaly {

class Figure;

int OutlinePointCount(int mode);  // 33, 61 or 12
Point PlaceOutlinePoint(int mode, int index, double stretch, double angle, double size);
void FillFromOutline(Figure& figure, double stretch, int angle, double size, int x, int y, int mode);

}  // namespace tessaly
