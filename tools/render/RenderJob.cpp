#include "RenderJob.h"

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <climits>
#include <cstring>
#include <ctime>
#include <fstream>
#include <memory>
#include <vector>

#include "linux/AtomicFile.h"
#include "linux/Messages.h"
#include "cairo/CairoDevice.h"
#include "cairo/CairoImage.h"
#include "DeviceFanOut.h"
#include "headless/HeadlessHost.h"
#include "ProgressBar.h"
#include "svg/SvgDevice.h"
#include "canvas/CanvasWindow.h"
#include "device/PortableGdiObjects.h"

namespace tessaly {

namespace {

constexpr ColourRef kBlack = Rgb(0, 0, 0);
constexpr ColourRef kWhite = Rgb(255, 255, 255);

// The finished file's full name, for the last line of the run.
std::string AbsolutePath(const std::string& path) {
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) != nullptr) return resolved;
    return path;
}

// The time-lapse frames of a run, FOLDER/frame-000001.png and on: removed
// again, with the folder when the run made it, when the run fails or a signal
// ends it, so that a full disk does not stay full. Only what the run made
// goes: a frame of an earlier run that this one wrote over keeps its name.
// What the signal handler reads lives in fixed storage, or is set before the
// first frame and not changed after.
class FrameSeries {
public:
    static bool Prepare(const std::string& folder, std::string& error) {
        const std::string shown = Printable(folder);
        created_ = mkdir(folder.c_str(), 0777) == 0;
        if (!created_ && errno != EEXIST) {
            error = "cannot create frames folder " + shown + ": " + std::strerror(errno);
            return false;
        }
        struct stat info {};
        if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
            error = "cannot write frames to " + shown + ": not a folder";
            return false;
        }
        if (access(folder.c_str(), W_OK | X_OK) != 0 || folder.size() + kNameLength >= sizeof folder_) {
            error = "cannot write frames to " + shown + ": " + std::strerror(errno != 0 ? errno : ENAMETOOLONG);
            RemoveAll();
            return false;
        }
        std::memcpy(folder_, folder.c_str(), folder.size() + 1);
        FindEarlierFrames();
        return true;
    }

    // Writes the next frame; false with `error` set when it cannot.
    static bool Add(cairo_surface_t* image, std::string& error) {
        char path[sizeof folder_];
        Name(written_ + 1, path);
        AtomicFile file;
        if (!file.Open(path, error)) return false;
        if (!WritePng(image, file.TempPath(), error)) {
            error = "cannot write " + Printable(path) + ": " + error;
            return false;
        }
        // Counted before it has its name: a signal during the rename still removes it.
        written_ = written_ + 1;
        return file.Commit(error);
    }

    // Async-signal-safe: no allocation, no stdio.
    static void RemoveAll() {
        char path[sizeof folder_];
        for (int number = written_; number >= 1; --number) {
            if (std::binary_search(earlier_.begin(), earlier_.end(), number)) continue;
            Name(number, path);
            unlink(path);
        }
        written_ = 0;
        if (created_) rmdir(folder_);
        created_ = false;
    }

private:
    static constexpr std::size_t kNameLength = 32;  // "/frame-" and the number and ".png"
    static void Name(int number, char* path) {
        std::size_t at = std::strlen(folder_);
        std::memcpy(path, folder_, at);
        for (const char* p = "/frame-"; *p != '\0'; ++p) path[at++] = *p;
        char digits[12];
        int count = 0;
        for (unsigned n = static_cast<unsigned>(number); n > 0 || count < 6; n /= 10) digits[count++] = static_cast<char>('0' + n % 10);
        while (count > 0) path[at++] = digits[--count];
        for (const char* p = ".png"; *p != '\0'; ++p) path[at++] = *p;
        path[at] = '\0';
    }
    // The numbers of the frames already in the folder, in order.
    static void FindEarlierFrames() {
        earlier_.clear();
        DIR* folder = opendir(folder_);
        if (folder == nullptr) return;
        char path[sizeof folder_];
        while (const dirent* entry = readdir(folder)) {
            const char* name = entry->d_name;
            if (std::strncmp(name, "frame-", 6) != 0) continue;
            char* end = nullptr;
            const long number = std::strtol(name + 6, &end, 10);
            if (number < 1 || number > INT_MAX) continue;
            Name(static_cast<int>(number), path);
            if (std::strcmp(std::strrchr(path, '/') + 1, name) == 0) earlier_.push_back(static_cast<int>(number));
        }
        closedir(folder);
        std::sort(earlier_.begin(), earlier_.end());
    }
    static inline char folder_[4096] = "";
    static inline std::vector<int> earlier_;
    static inline volatile sig_atomic_t written_ = 0;
    static inline volatile sig_atomic_t created_ = 0;
};

// Everything a run draws on. The image is the PNG output and the frames'
// source; the PDF and SVG devices draw alongside it when asked for.
class RenderTargets {
public:
    bool Prepare(const RenderOptions& o, const std::string& outputTemp, uint32_t seed, std::string& error) {
        const CairoStyle style = o.antialias ? CairoStyle::Smooth : CairoStyle::GdiPixels;
        // The screen as it was before the saver started.
        if (o.background == "black" || o.background == "white") {
            backgroundColour_ = o.background == "black" ? kBlack : kWhite;
        } else {
            backgroundImage_ = LoadPngCovering(o.background, o.width, o.height, error);
            if (!backgroundImage_) {
                error = "cannot read background " + Printable(o.background) + ": " + error;
                return false;
            }
        }

        if (o.format == OutputFormat::Png || !o.framesDir.empty()) {
            image_ = CreateFilledImage(o.width, o.height, backgroundColour_);
            if (cairo_surface_status(image_.get()) != CAIRO_STATUS_SUCCESS) {
                error = "cannot make a " + std::to_string(o.width) + "x" + std::to_string(o.height) +
                        " image: " + cairo_status_to_string(cairo_surface_status(image_.get()));
                return false;
            }
            imageContext_.reset(cairo_create(image_.get()));
            if (backgroundImage_) PaintImage(imageContext_.get(), backgroundImage_.get());
            imageDevice_ = std::make_unique<CairoDevice>(imageContext_.get(), style);
            fanOut_.Add(*imageDevice_);
        }
        if (o.format == OutputFormat::Pdf) {
            pdf_ = CreatePdf(outputTemp, o.width, o.height, "Tessaly garden, seed " + std::to_string(seed));
            pdfContext_.reset(cairo_create(pdf_.get()));
            if (backgroundImage_) {
                PaintImage(pdfContext_.get(), backgroundImage_.get());
            } else {
                PaintColour(pdfContext_.get(), backgroundColour_);
            }
            // A PDF is vector art, smoothed by whatever shows it: the figures
            // go in as paths with one-pixel outlines, not as GDI's pixels.
            pdfDevice_ = std::make_unique<CairoDevice>(pdfContext_.get(), CairoStyle::Smooth);
            fanOut_.Add(*pdfDevice_);
        }
        if (o.format == OutputFormat::Svg) {
            svgFile_.open(outputTemp, std::ios::binary | std::ios::trunc);
            if (!svgFile_) {
                error = "cannot write " + Printable(o.output) + ": " + std::strerror(errno);
                return false;
            }
            SvgBackground background;
            if (backgroundImage_) {
                background.kind = SvgBackground::Kind::Png;
                background.pngBytes = EncodePng(backgroundImage_.get());
            } else {
                background.kind = SvgBackground::Kind::Colour;
                background.colour = backgroundColour_;
            }
            svgDevice_ = std::make_unique<SvgDevice>(svgFile_, o.width, o.height, background);
            fanOut_.Add(*svgDevice_);
        }
        return true;
    }

    // What BeginPaint hands out: a fresh paint context on every target.
    DrawingDevice& BeginPaint() {
        if (imageDevice_) imageDevice_->ResetPaintState();
        if (pdfDevice_) pdfDevice_->ResetPaintState();
        if (svgDevice_) svgDevice_->ResetPaintState();
        return fanOut_;
    }

    cairo_surface_t* Image() const { return image_.get(); }

    bool WriteFrame(std::string& error) {
        cairo_surface_flush(image_.get());
        return FrameSeries::Add(image_.get(), error);
    }

    // Writes the output's contents into its temporary file.
    bool WriteOutput(const RenderOptions& o, const std::string& outputTemp, std::string& error) {
        switch (o.format) {
            case OutputFormat::Png:
                cairo_surface_flush(image_.get());
                if (!WritePng(image_.get(), outputTemp, error)) {
                    error = "cannot write " + Printable(o.output) + ": " + error;
                    return false;
                }
                return true;
            case OutputFormat::Pdf:
                pdfContext_.reset();
                if (!FinishSurface(pdf_.get(), error)) {
                    error = "cannot write " + Printable(o.output) + ": " + error;
                    return false;
                }
                return true;
            case OutputFormat::Svg:
                svgDevice_->Finish();
                svgFile_.close();
                if (svgFile_.fail()) {
                    error = "cannot write " + Printable(o.output) + ": " + std::strerror(errno);
                    return false;
                }
                return true;
        }
        return false;
    }

private:
    ColourRef backgroundColour_ = kBlack;
    CairoSurface backgroundImage_;
    CairoSurface image_;
    CairoContext imageContext_;
    std::unique_ptr<CairoDevice> imageDevice_;
    CairoSurface pdf_;
    CairoContext pdfContext_;
    std::unique_ptr<CairoDevice> pdfDevice_;
    std::ofstream svgFile_;
    std::unique_ptr<SvgDevice> svgDevice_;
    DeviceFanOut fanOut_;
};

}  // namespace

bool RunRender(const RenderOptions& o, std::FILE* info, bool showProgress, std::string& error) {
    AtomicFile::InstallSignalCleanup(&FrameSeries::RemoveAll);
    const uint32_t seed = o.seed ? *o.seed : static_cast<uint32_t>(std::time(nullptr));

    // Everything that can fail on input or output fails here, before the run.
    AtomicFile output;
    if (!output.Open(o.output, error)) return false;
    if (!o.framesDir.empty() && !FrameSeries::Prepare(o.framesDir, error)) return false;
    RenderTargets targets;
    if (!targets.Prepare(o, output.TempPath(), seed, error)) {
        FrameSeries::RemoveAll();
        return false;
    }

    std::fprintf(info, "seed %u\n", seed);
    std::fflush(info);

    GardenState state = RenderGarden(o, seed);

    bool framesFailed = false;
    {
        PortableGdiObjects objects;
        HeadlessRun run(state, objects, Size{o.width, o.height}, [&](CanvasWindow& canvas) {
            canvas.OnPaint(targets.BeginPaint());
            if (!o.framesDir.empty() && !framesFailed) {
                framesFailed = !targets.WriteFrame(error);
            }
        });
        ProgressBar progress(o.ticks, showProgress && o.ticks >= 200);
        for (int64_t tick = 0; tick < o.ticks && !framesFailed; ++tick) {
            run.Tick();
            progress.Update(tick + 1);
        }
        progress.Clear();
    }  // the window goes away: the canvas drains its queue and deletes its scene
    if (framesFailed || !targets.WriteOutput(o, output.TempPath(), error) || !output.Commit(error)) {
        FrameSeries::RemoveAll();
        return false;
    }
    std::fprintf(info, "wrote %s (%dx%d, %lld ticks, seed %u)\n", Printable(AbsolutePath(o.output)).c_str(), o.width,
                 o.height, static_cast<long long>(o.ticks), seed);
    return true;
}

}  // namespace tessaly
