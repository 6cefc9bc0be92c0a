// Image plumbing around the Cairo device: owned surfaces and contexts,
// backgrounds (a solid colour or a PNG fitted to the output), and writing
// PNG and PDF files. Every failure comes back as a one-line message.
#pragma once

#include <cairo.h>

#include <cstddef>
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

// The largest picture kept in memory whole: Cairo's own limit of 32767
// pixels a side, and at most 64 Mi pixels (256 MiB at four bytes a pixel,
// for example 8192x8192), however small the file that declares it.
constexpr int kMaxImageSide = 32767;
constexpr long long kMaxImagePixels = 1LL << 26;
// Whether a width x height picture is within those limits; false with the
// reason, naming the size, when it is not.
bool ImageSizeFits(long long width, long long height, std::string& error);

// Checks the first bytes of a PNG file (signature and header chunk) before
// anything is decoded: true with the declared size, or false with what is
// wrong, naming the size when it is beyond the limits above.
constexpr std::size_t kPngHeaderBytes = 24;
bool CheckPngHeader(const unsigned char* data, std::size_t size, int& width, int& height, std::string& error);

// Reads a PNG and fits it to width x height the way a wallpaper is filled:
// scaled, keeping its proportions, until it covers the whole area, centred,
// and whatever overflows cropped. Null (and `reason` set; the caller names
// the file) when it cannot be read, is not a regular file (a FIFO is refused
// at once, not waited on) or declares a picture beyond the limits above.
CairoSurface LoadPngCovering(const std::string& path, int width, int height, std::string& reason);

// Writes the surface as PNG (deterministic: same pixels, same bytes). On
// failure `reason` is the system's reason (or Cairo's), without the path.
bool WritePng(cairo_surface_t* surface, const std::string& path, std::string& reason);
// The PNG bytes of a surface, for embedding.
std::string EncodePng(cairo_surface_t* surface);

// A one-page PDF of width x height points (one point per output pixel),
// written to `path` as it is drawn.
CairoSurface CreatePdf(const std::string& path, int width, int height, const std::string& title);
// Finishes a PDF (or any) surface, writing what is pending and closing its
// file; false on failure with the system's reason (or Cairo's) in `reason`.
bool FinishSurface(cairo_surface_t* surface, std::string& reason);

// Paints `image` over the whole target of `cr`, unscaled, at (0, 0).
void PaintImage(cairo_t* cr, cairo_surface_t* image);
// Fills the whole target of `cr` with one colour.
void PaintColour(cairo_t* cr, ColourRef colour);

}  // namespace tessaly
