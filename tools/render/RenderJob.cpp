#include "RenderJob.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <climits>
#include <cstring>
#include <ctime>
#include <fstream>
#include <memory>

#include "AtomicFile.h"
#include "CairoDevice.h"
#include "CairoImage.h"
#include "DeviceFanOut.h"
#include "HeadlessHost.h"
#include "ProgressBar.h"
#include "SvgDevice.h"
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

bool PrepareFramesDir(const std::string& dir, std::string& error) {
    if (mkdir(dir.c_str(), 0777) != 0 && errno != EEXIST) {
        error = "cannot create frames folder " + dir + ": " + std::strerror(errno);
        return false;
    }
    struct stat info {};
    if (stat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        error = "cannot write frames to " + dir + ": not a folder";
        return false;
    }
    if (access(dir.c_str(), W_OK | X_OK) != 0) {
        error = "cannot write frames to " + dir + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

std::string FramePath(const std::string& dir, long long number) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06lld.png", number);
    return dir + "/" + name;
}

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
            if (!backgroundImage_) return false;
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
                error = "cannot write " + o.output + ": " + std::strerror(errno);
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

    bool WriteFrame(const std::string& path, std::string& error) {
        AtomicFile file;
        cairo_surface_flush(image_.get());
        if (!file.Open(path, error)) return false;
        if (!WritePng(image_.get(), file.TempPath(), error)) {
            error = "cannot write " + path + ": " + error;
            return false;
        }
        return file.Commit(error);
    }

    // Writes the output's contents into its temporary file.
    bool WriteOutput(const RenderOptions& o, const std::string& outputTemp, std::string& error) {
        switch (o.format) {
            case OutputFormat::Png:
                cairo_surface_flush(image_.get());
                if (!WritePng(image_.get(), outputTemp, error)) {
                    error = "cannot write " + o.output + ": " + error;
                    return false;
                }
                return true;
            case OutputFormat::Pdf:
                pdfContext_.reset();
                if (!FinishSurface(pdf_.get(), error)) {
                    error = "cannot write " + o.output + ": " + error;
                    return false;
                }
                return true;
            case OutputFormat::Svg:
                svgDevice_->Finish();
                svgFile_.close();
                if (svgFile_.fail()) {
                    error = "cannot write " + o.output + ": " + std::strerror(errno);
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
    AtomicFile::InstallSignalCleanup();
    const uint32_t seed = o.seed ? *o.seed : static_cast<uint32_t>(std::time(nullptr));
    long long paints = 0;

    // Everything that can fail on input or output fails here, before the run.
    AtomicFile output;
    if (!output.Open(o.output, error)) return false;
    if (!o.framesDir.empty() && !PrepareFramesDir(o.framesDir, error)) return false;
    RenderTargets targets;
    if (!targets.Prepare(o, output.TempPath(), seed, error)) return false;

    std::fprintf(info, "seed %u\n", seed);
    std::fflush(info);

    GardenState state = RenderGarden(o, seed);

    bool framesFailed = false;
    {
        PortableGdiObjects objects;
        HeadlessRun run(state, objects, Size{o.width, o.height}, [&](CanvasWindow& canvas) {
            canvas.OnPaint(targets.BeginPaint());
            ++paints;
            if (!o.framesDir.empty() && !framesFailed) {
                framesFailed = !targets.WriteFrame(FramePath(o.framesDir, paints), error);
            }
        });
        ProgressBar progress(o.ticks, showProgress && o.ticks >= 200);
        for (int64_t tick = 0; tick < o.ticks && !framesFailed; ++tick) {
            run.Tick();
            progress.Update(tick + 1);
        }
        progress.Clear();
    }  // the window goes away: the canvas drains its queue and deletes its scene
    if (framesFailed) return false;

    if (!targets.WriteOutput(o, output.TempPath(), error) || !output.Commit(error)) return false;
    std::fprintf(info, "wrote %s (%dx%d, %lld ticks, seed %u)\n", AbsolutePath(o.output).c_str(), o.width,
                 o.height, static_cast<long long>(o.ticks), seed);
    return true;
}

}  // namespace tessaly
