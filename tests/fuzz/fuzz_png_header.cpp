// The check of a PNG's first bytes that guards the background reader: an
// accepted header always declares a picture within the limits, and when
// Cairo decodes the file it finds the size that the check read.
#include <cairo.h>

#include <cstring>

#include "cairo/CairoImage.h"
#include "FuzzInput.h"

namespace {

// Small pictures only are decoded, to keep the runs fast.
constexpr long long kMaxDecodedPixels = 1 << 16;

struct Memory {
    const uint8_t* data;
    std::size_t size;
};

cairo_status_t ReadMemory(void* closure, unsigned char* out, unsigned int length) {
    auto* memory = static_cast<Memory*>(closure);
    if (length > memory->size) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(out, memory->data, length);
    memory->data += length;
    memory->size -= length;
    return CAIRO_STATUS_SUCCESS;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace tessaly;
    int width = 0, height = 0;
    std::string problem;
    if (!CheckPngHeader(data, size, width, height, problem)) return 0;
    FUZZ_REQUIRE(width >= 1 && height >= 1 && width <= kMaxImageSide && height <= kMaxImageSide);
    FUZZ_REQUIRE(static_cast<long long>(width) * height <= kMaxImagePixels);
    if (static_cast<long long>(width) * height > kMaxDecodedPixels) return 0;
    Memory memory{data, size};
    CairoSurface decoded(cairo_image_surface_create_from_png_stream(ReadMemory, &memory));
    if (cairo_surface_status(decoded.get()) == CAIRO_STATUS_SUCCESS) {
        FUZZ_REQUIRE(cairo_image_surface_get_width(decoded.get()) == width);
        FUZZ_REQUIRE(cairo_image_surface_get_height(decoded.get()) == height);
    }
    return 0;
}
