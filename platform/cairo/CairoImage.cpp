#include "CairoImage.h"

#include <cairo-pdf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
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

constexpr unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr unsigned char kHeaderChunk[8] = {0, 0, 0, 13, 'I', 'H', 'D', 'R'};  // length 13, then the type

uint32_t BigEndian32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 |
           p[3];
}

// Cairo writes its streams through stdio's file calls, which lose errno; a
// file of our own keeps the system's reason for the first failed write.
struct FileSink {
    int fd = -1;
    int error = 0;

    ~FileSink() { Close(); }
    void Close() {
        if (fd >= 0 && close(fd) != 0 && error == 0) error = errno;
        fd = -1;
    }
};

cairo_status_t WriteToSink(void* closure, const unsigned char* data, unsigned int length) {
    auto* sink = static_cast<FileSink*>(closure);
    while (sink->error == 0 && length > 0) {
        const ssize_t n = write(sink->fd, data, length);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            sink->error = n < 0 ? errno : EIO;
            break;
        }
        data += n;
        length -= static_cast<unsigned int>(n);
    }
    return sink->error == 0 ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

int OpenForWriting(const std::string& path, FileSink& sink) {
    sink.fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666);
    if (sink.fd < 0) sink.error = errno;
    return sink.fd;
}

// The reason a surface could not be written: the system's, when it had one.
std::string WriteFailure(const FileSink& sink, cairo_status_t status) {
    return sink.error != 0 ? std::strerror(sink.error) : cairo_status_to_string(status);
}

const cairo_user_data_key_t kPdfSinkKey{};

void DeleteSink(void* sink) { delete static_cast<FileSink*>(sink); }

// Reads up to `size` bytes, fewer only at the end of the file.
ssize_t ReadUpTo(int fd, unsigned char* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = read(fd, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return -1;
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(done);
}

// A PNG read from a file already opened and checked: first the header bytes
// read for the check, then the rest, so that what is decoded is what was checked.
struct PngSource {
    int fd;
    const unsigned char* head;
    std::size_t headSize;
    std::size_t headUsed = 0;
};

cairo_status_t ReadFromSource(void* closure, unsigned char* data, unsigned int length) {
    auto* source = static_cast<PngSource*>(closure);
    const std::size_t fromHead = std::min<std::size_t>(length, source->headSize - source->headUsed);
    std::memcpy(data, source->head + source->headUsed, fromHead);
    source->headUsed += fromHead;
    const std::size_t rest = length - fromHead;
    return ReadUpTo(source->fd, data + fromHead, rest) == static_cast<ssize_t>(rest) ? CAIRO_STATUS_SUCCESS
                                                                                     : CAIRO_STATUS_READ_ERROR;
}

struct FdCloser {
    int fd;
    ~FdCloser() {
        if (fd >= 0) close(fd);
    }
};

}  // namespace

bool ImageSizeFits(long long width, long long height, std::string& error) {
    if (width <= 0 || height <= 0) {
        error = "empty image";
        return false;
    }
    if (width <= kMaxImageSide && height <= kMaxImageSide && width * height <= kMaxImagePixels) return true;
    error = "it is " + std::to_string(width) + "x" + std::to_string(height) + " pixels; tessaly draws in at most " +
            std::to_string(kMaxImagePixels) + " pixels (for example 8192x8192) and " + std::to_string(kMaxImageSide) +
            " a side";
    return false;
}

bool CheckPngHeader(const unsigned char* data, std::size_t size, int& width, int& height, std::string& error) {
    if (size < sizeof kPngSignature || std::memcmp(data, kPngSignature, sizeof kPngSignature) != 0) {
        error = "not a PNG image";
        return false;
    }
    if (size < kPngHeaderBytes || std::memcmp(data + 8, kHeaderChunk, sizeof kHeaderChunk) != 0) {
        error = "not a readable PNG image (no header chunk)";
        return false;
    }
    const uint32_t w = BigEndian32(data + 16), h = BigEndian32(data + 20);
    if (!ImageSizeFits(w, h, error)) return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

CairoSurface CreateFilledImage(int width, int height, ColourRef colour) {
    CairoSurface surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
    CairoContext cr(cairo_create(surface.get()));
    PaintColour(cr.get(), colour);
    return surface;
}

CairoSurface LoadPngCovering(const std::string& path, int width, int height, std::string& reason) {
    // Not blocking: a FIFO must be refused, not waited on.
    const FdCloser file{open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)};
    struct stat info {};
    if (file.fd < 0 || fstat(file.fd, &info) != 0) {
        reason = std::strerror(errno);
        return nullptr;
    }
    if (!S_ISREG(info.st_mode)) {
        reason = S_ISDIR(info.st_mode) ? "it is a folder" : "not a regular file";
        return nullptr;
    }
    // The size first: a small file can declare a picture of gigabytes.
    unsigned char head[kPngHeaderBytes];
    const ssize_t headSize = ReadUpTo(file.fd, head, sizeof head);
    if (headSize < 0) {
        reason = std::strerror(errno);
        return nullptr;
    }
    int sourceWidth = 0, sourceHeight = 0;
    if (std::string problem;
        !CheckPngHeader(head, static_cast<std::size_t>(headSize), sourceWidth, sourceHeight, problem)) {
        reason = problem;
        return nullptr;
    }
    PngSource stream{file.fd, head, static_cast<std::size_t>(headSize)};
    CairoSurface source(cairo_image_surface_create_from_png_stream(ReadFromSource, &stream));
    if (cairo_surface_status(source.get()) != CAIRO_STATUS_SUCCESS) {
        reason = "not a readable PNG image";
        return nullptr;
    }
    sourceWidth = cairo_image_surface_get_width(source.get());
    sourceHeight = cairo_image_surface_get_height(source.get());
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

bool WritePng(cairo_surface_t* surface, const std::string& path, std::string& reason) {
    FileSink sink;
    cairo_status_t status = CAIRO_STATUS_WRITE_ERROR;
    if (OpenForWriting(path, sink) >= 0) status = cairo_surface_write_to_png_stream(surface, WriteToSink, &sink);
    sink.Close();
    if (status != CAIRO_STATUS_SUCCESS || sink.error != 0) {
        reason = WriteFailure(sink, status);
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
    // The surface owns its file: the sink lives as long as the surface does.
    auto* sink = new FileSink;
    OpenForWriting(path, *sink);
    CairoSurface surface(cairo_pdf_surface_create_for_stream(WriteToSink, sink, width, height));
    if (cairo_surface_set_user_data(surface.get(), &kPdfSinkKey, sink, DeleteSink) != CAIRO_STATUS_SUCCESS) {
        // An error surface never writes; the sink is not needed.
        delete sink;
    }
    cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_TITLE, title.c_str());
    cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_CREATOR, "tessaly-render");
    return surface;
}

bool FinishSurface(cairo_surface_t* surface, std::string& reason) {
    cairo_surface_flush(surface);
    cairo_surface_finish(surface);
    const cairo_status_t status = cairo_surface_status(surface);
    FileSink noFile;
    auto* sink = static_cast<FileSink*>(cairo_surface_get_user_data(surface, &kPdfSinkKey));
    if (sink == nullptr) sink = &noFile;
    sink->Close();
    if (status != CAIRO_STATUS_SUCCESS || sink->error != 0) {
        reason = WriteFailure(*sink, status);
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
