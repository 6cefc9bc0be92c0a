// Image plumbing around the Cairo device: owned surfaces and contexts,
// backgrounds (a solid colour or a PNG fitted to the output), and writing
// PNG and PDF files. Every failure comes back as a one-line message.
#pragma once

#include <cairo.h>

#include <memory>
#include <string>

#include "base/Geometry.h"

namespace tessaly {

struct CairoSurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct CairoContextDeleter {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
using CairoSurface = std::unique_ptr<cairo_surface_t, CairoSurfaceDeleter>;
using CairoContext = std::unique_ptr<cairo_t, CairoContextDeleter>;

// An opaque width x height image filled with one colour.
CairoSurface CreateFilledImage(int width, int height, ColourRef colour);

// Reads a PNG and fits it to width x height the way a wallpaper is filled:
// scaled, keeping its proportions, until it covers the whole area, centred,
// and whatever overflows cropped. Null (and `error` set) when it cannot be read.
CairoSurface LoadPngCovering(const std::string& path, int width, int height, std::string& error);

// Writes the surface as PNG (deterministic: same pixels, same bytes).
bool WritePng(cairo_surface_t* surface, const std::string& path, std::string& error);
// The PNG bytes of a surface, for embedding.
std::string EncodePng(cairo_surface_t* surface);

// A one-page PDF of width x height points (one point per output pixel).
CairoSurface CreatePdf(const std::string& path, int width, int height, const std::string& title);
// Finishes a PDF (or any) surface, writing what is pending; false on failure.
bool FinishSurface(cairo_surface_t* surface, std::string& error);

// Paints `image` over the whole target of `cr`, unscaled, at (0, 0).
void PaintImage(cairo_t* cr, cairo_surface_t* image);
// Fills the whole target of `cr` with one colour.
void PaintColour(cairo_t* cr, ColourRef colour);

}  // namespace tessaly
