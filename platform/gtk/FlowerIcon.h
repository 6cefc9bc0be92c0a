// The program's icon: a flower of the garden, drawn with Cairo at any size
// from one 32 x 32 design in the sixteen classic icon colours.
#pragma once

#include <cairo.h>

#include "cairo/CairoImage.h"
#include "base/Geometry.h"

namespace tessaly {

// Colours of the design, also read by the tests.
constexpr ColourRef kIconPetal = Rgb(255, 0, 255);
constexpr ColourRef kIconPetalEdge = Rgb(128, 0, 128);
constexpr ColourRef kIconHeart = Rgb(255, 255, 0);
constexpr ColourRef kIconHeartEdge = Rgb(128, 0, 0);
constexpr ColourRef kIconStem = Rgb(0, 128, 0);
constexpr ColourRef kIconLeaf = Rgb(0, 255, 0);

constexpr int kIconDesignSize = 32;

// Draws the icon into the square (0, 0, size, size) of `cr`, transparent around the flower.
void DrawFlowerIcon(cairo_t* cr, int size);

// A size x size ARGB image holding the icon.
CairoSurface CreateFlowerIcon(int size);

}  // namespace tessaly
