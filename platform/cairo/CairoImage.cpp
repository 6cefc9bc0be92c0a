#include "CairoImage.h"

#include <cairo-pdf.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tessaly {

namespace {

void SetSourceColour(cairo_t* cr, ColourRef colour) {
    cairo_set_source_rgb(cr, RedOf(colour) / 255.0, GreenOf(colour) / 255.0, BlueOf(colour) / 255.0);
}

cairo_status_t AppendToString(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

}  // namespace

CairoSurface CreateFilledImage(int width, int height, ColourRef colour) {
    CairoSurface surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
    CairoContext cr(cairo_create(surface.get()));
    PaintColour(cr.get(), colour);
    return surface;
}

CairoSurface LoadPngCovering(const std::string& path, int width, int height, std::string& error) {
    // Cairo reports a missing and a malformed file alike; ask the system first.
    if (FILE* probe = std::fopen(path.c_str(), "rb")) {
        std::fclose(probe);
    } else {
        error = "cannot read background " + path + ": " + std::strerror(errno);
        return nullptr;
    }
    CairoSurface source(cairo_image_surface_create_from_png(path.c_str()));
    if (cairo_surface_status(source.get()) != CAIRO_STATUS_SUCCESS) {
        error = "cannot read background " + path + ": not a readable PNG image";
        return nullptr;
    }
    const int sourceWidth = cairo_image_surface_get_width(source.get());
    const int sourceHeight = cairo_image_surface_get_height(source.get());
    if (sourceWidth <= 0 || sourceHeight <= 0) {
        error = "cannot read background " + path + ": empty image";
        return nullptr;
    }
    const double scale = std::max(static_cast<double>(width) / sourceWidth,
                                  static_cast<double>(height) / sourceHeight);
    // Start from black so that transparent parts of the PNG come out dark, as
    // on a screen.
    CairoSurface fitted = CreateFilledImage(width, height, Rgb(0, 0, 0));
    CairoContext cr(cairo_create(fitted.get()));
    cairo_translate(cr.get(), (width - sourceWidth * scale) / 2.0, (height - sourceHeight * scale) / 2.0);
    cairo_scale(cr.get(), scale, scale);
    cairo_set_source_surface(cr.get(), source.get(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr.get()), CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(cairo_get_source(cr.get()), CAIRO_EXTEND_PAD);
    cairo_paint(cr.get());
    return fitted;
}

bool WritePng(cairo_surface_t* surface, const std::string& path, std::string& error) {
    const cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
    if (status != CAIRO_STATUS_SUCCESS) {
        error = "cannot write " + path + ": " + cairo_status_to_string(status);
        return false;
    }
    return true;
}

std::string EncodePng(cairo_surface_t* surface) {
    std::string bytes;
    cairo_surface_write_to_png_stream(surface, AppendToString, &bytes);
    return bytes;
}

CairoSurface CreatePdf(const std::string& path, int width, int height, const std::string& title) {
    CairoSurface surface(cairo_pdf_surface_create(path.c_str(), width, height));
    cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_TITLE, title.c_str());
    cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_CREATOR, "tessaly-render");
    return surface;
}

bool FinishSurface(cairo_surface_t* surface, std::string& error) {
    cairo_surface_flush(surface);
    cairo_surface_finish(surface);
    const cairo_status_t status = cairo_surface_status(surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        error = cairo_status_to_string(status);
        return false;
    }
    return true;
}

void PaintImage(cairo_t* cr, cairo_surface_t* image) {
    cairo_save(cr);
    cairo_set_source_surface(cr, image, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
}

void PaintColour(cairo_t* cr, ColourRef colour) {
    cairo_save(cr);
    SetSourceColour(cr, colour);
    cairo_paint(cr);
    cairo_restore(cr);
}

}  // namespace tessaly
