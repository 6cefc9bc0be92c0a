// End-to-end runs of the real tessaly-render binary.
#include <expat.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <set>
#include <sstream>

#include "cairo/CairoImage.h"
#include "ImageProbe.h"
#include "ToolRunner.h"

namespace tessaly {
namespace {

ToolResult RunTool(const ScratchFolder& folder, const std::vector<std::string>& args) {
    return RunProgram(TESSALY_RENDER_BINARY, folder, args);
}

struct Png {
    CairoSurface surface;
    int width = 0;
    int height = 0;
};

Png LoadPng(const std::string& path) {
    Png png;
    png.surface.reset(cairo_image_surface_create_from_png(path.c_str()));
    if (cairo_surface_status(png.surface.get()) == CAIRO_STATUS_SUCCESS) {
        png.width = cairo_image_surface_get_width(png.surface.get());
        png.height = cairo_image_surface_get_height(png.surface.get());
    }
    return png;
}

// Distinct colours and the share of pixels that are not the background.
void Survey(const Png& png, ColourRef background, std::size_t& colours, double& covered) {
    std::set<ColourRef> seen;
    long long painted = 0;
    for (int y = 0; y < png.height; y += 2)
        for (int x = 0; x < png.width; x += 2) {
            const ColourRef c = PixelAt(png.surface.get(), x, y);
            seen.insert(c);
            if (c != background) ++painted;
        }
    colours = seen.size();
    covered = static_cast<double>(painted) / ((png.width + 1) / 2 * ((png.height + 1) / 2));
}

TEST(RenderTool, FullHdGardenIsPaintedAndReported) {
    ScratchFolder dir;
    const ToolResult r = RunTool(dir, {"--seed", "7", "--ticks", "300", "-o", "garden.png"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.rfind("seed 7\n", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("wrote " + (dir / "garden.png")), std::string::npos) << r.out;
    EXPECT_EQ(dir.Files(), std::vector<std::string>{"garden.png"});  // no temporary left
    const Png png = LoadPng(dir / "garden.png");
    ASSERT_EQ(png.width, 1920);
    ASSERT_EQ(png.height, 1080);
    std::size_t colours = 0;
    double covered = 0;
    Survey(png, Rgb(0, 0, 0), colours, covered);
    EXPECT_GT(colours, 100u);
    EXPECT_GT(covered, 0.5);
}

TEST(RenderTool, SameSeedSameBytesOtherSeedOtherPicture) {
    ScratchFolder dir;
    for (const char* name : {"a.png", "b.png"}) {
        ASSERT_EQ(RunTool(dir, {"--seed", "42", "--ticks", "60", "--size", "640x360", "-o", name}).exitCode, 0);
    }
    ASSERT_EQ(RunTool(dir, {"--seed", "43", "--ticks", "60", "--size", "640x360", "-o", "c.png"}).exitCode, 0);
    const std::string a = ReadFile(dir / "a.png");
    EXPECT_FALSE(a.empty());
    EXPECT_EQ(a, ReadFile(dir / "b.png"));
    EXPECT_NE(a, ReadFile(dir / "c.png"));
}

TEST(RenderTool, WithoutSeedTheTimeIsUsedAndPrinted) {
    ScratchFolder dir;
    const ToolResult r = RunTool(dir, {"--ticks", "1", "--size", "100x100", "-o", "g.png"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_EQ(r.out.rfind("seed ", 0), 0u);
    EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(r.out[5])));
}

TEST(RenderTool, LogicalSizeOutputAndAntialiasing) {
    ScratchFolder dir;
    ASSERT_EQ(RunTool(dir, {"--seed", "3", "--ticks", "20", "--size", "1400x1000", "-o", "g.png"}).exitCode, 0);
    ASSERT_EQ(RunTool(dir, {"--seed", "3", "--ticks", "20", "--size", "1400x1000", "--antialias", "-o", "s.png"})
                  .exitCode, 0);
    const Png exact = LoadPng(dir / "g.png");
    const Png smooth = LoadPng(dir / "s.png");
    EXPECT_EQ(exact.width, 1400);
    EXPECT_EQ(exact.height, 1000);
    std::size_t exactColours = 0, smoothColours = 0;
    double covered = 0;
    Survey(exact, Rgb(0, 0, 0), exactColours, covered);
    Survey(smooth, Rgb(0, 0, 0), smoothColours, covered);
    // Anti-aliased edges blend colours the palette never drew.
    EXPECT_GT(smoothColours, 2 * exactColours);
}

// Element names and attributes of an SVG, read with a real XML parser.
struct SvgSurvey {
    std::map<std::string, int> elements;
    std::map<std::string, std::string> root;
    bool pointsAreIntegers = true;
    bool coloursWellFormed = true;
};

bool IsColour(const std::string& c) {
    if (c == "none") return true;
    if (c.size() != 7 || c[0] != '#') return false;
    for (std::size_t i = 1; i < 7; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(c[i])) || std::isupper(static_cast<unsigned char>(c[i])))
            return false;
    return true;
}

void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
    auto* survey = static_cast<SvgSurvey*>(data);
    ++survey->elements[name];
    for (int i = 0; attributes[i] != nullptr; i += 2) {
        const std::string key = attributes[i], value = attributes[i + 1];
        if (std::string(name) == "svg") survey->root[key] = value;
        if (key == "points") {
            for (char c : value)
                if (!(std::isdigit(static_cast<unsigned char>(c)) || c == ',' || c == ' ' || c == '-'))
                    survey->pointsAreIntegers = false;
        }
        if ((key == "fill" || key == "stroke") && !IsColour(value)) survey->coloursWellFormed = false;
    }
}

bool ParseSvg(const std::string& text, SvgSurvey& survey) {
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetUserData(parser, &survey);
    XML_SetStartElementHandler(parser, OnStart);
    const bool ok = XML_Parse(parser, text.data(), static_cast<int>(text.size()), 1) == XML_STATUS_OK;
    XML_ParserFree(parser);
    return ok;
}

TEST(RenderTool, SvgIsByteIdenticalAndWellFormed) {
    ScratchFolder dir;
    for (const char* name : {"a.svg", "b.svg"}) {
        ASSERT_EQ(RunTool(dir, {"--seed", "11", "--ticks", "40", "--cycle-length", "1", "-o", name}).exitCode, 0);
    }
    const std::string svg = ReadFile(dir / "a.svg");
    EXPECT_EQ(svg, ReadFile(dir / "b.svg"));
    SvgSurvey survey;
    ASSERT_TRUE(ParseSvg(svg, survey));
    EXPECT_EQ(survey.root["viewBox"], "0 0 1400 1000");
    EXPECT_EQ(survey.root["width"], "1920");
    EXPECT_EQ(survey.root["height"], "1080");
    EXPECT_EQ(survey.elements["svg"], 1);
    EXPECT_EQ(survey.elements["rect"], 1);  // the black background
    // 39 basal-leaf flowers and a narrow-leaf one: stems, leaves, petals and discs.
    EXPECT_GT(survey.elements["polyline"], 0);
    EXPECT_GT(survey.elements["polygon"], survey.elements["polyline"]);
    EXPECT_GT(survey.elements["ellipse"], 0);
    EXPECT_TRUE(survey.pointsAreIntegers);
    EXPECT_TRUE(survey.coloursWellFormed);
}

TEST(RenderTool, StepByStepSvgHasOneElementPerTick) {
    ScratchFolder dir;
    ASSERT_EQ(RunTool(dir, {"--seed", "5", "--ticks", "25", "--build", "1", "-o", "g.svg"}).exitCode, 0);
    SvgSurvey survey;
    ASSERT_TRUE(ParseSvg(ReadFile(dir / "g.svg"), survey));
    EXPECT_EQ(survey.elements["polygon"] + survey.elements["polyline"] + survey.elements["ellipse"], 25);
}

// The first figure's points, as the SVG gives them, and its stroke colour.
struct FirstFigure {
    std::string element;
    std::vector<Point> points;
    std::string stroke;
};

void XMLCALL OnFirstStart(void* data, const XML_Char* name, const XML_Char** attributes) {
    auto* figure = static_cast<FirstFigure*>(data);
    const std::string element = name;
    if (!figure->element.empty() || (element != "polygon" && element != "polyline")) return;
    figure->element = element;
    for (int i = 0; attributes[i] != nullptr; i += 2) {
        const std::string key = attributes[i];
        if (key == "stroke") figure->stroke = attributes[i + 1];
        if (key != "points") continue;
        std::istringstream in(attributes[i + 1]);
        Point p;
        char comma;
        while (in >> p.x >> comma >> p.y) figure->points.push_back(p);
    }
}

TEST(RenderTool, AtLogicalSizeSvgPointsArePngPixels) {
    // One tick with build 1 draws exactly one figure; at 1400x1000 every
    // vertex that starts a segment is a pixel of the pen's colour.
    ScratchFolder dir;
    const std::vector<std::string> common{"--seed", "21", "--ticks", "1", "--build", "1", "--size", "1400x1000"};
    std::vector<std::string> svgArgs = common, pngArgs = common;
    svgArgs.insert(svgArgs.end(), {"-o", "g.svg"});
    ASSERT_EQ(RunTool(dir, svgArgs).exitCode, 0);
    FirstFigure figure;
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetUserData(parser, &figure);
    XML_SetStartElementHandler(parser, OnFirstStart);
    const std::string svg = ReadFile(dir / "g.svg");
    ASSERT_EQ(XML_Parse(parser, svg.data(), static_cast<int>(svg.size()), 1), XML_STATUS_OK);
    XML_ParserFree(parser);
    ASSERT_GE(figure.points.size(), 2u) << figure.element;
    const ColourRef pen = figure.stroke == "#ffffff" ? Rgb(255, 255, 255) : Rgb(0, 0, 0);
    ASSERT_TRUE(figure.stroke == "#ffffff" || figure.stroke == "#000000") << figure.stroke;
    // On a background of the other stock colour, so that only the pen can pass.
    pngArgs.insert(pngArgs.end(), {"--background", pen == Rgb(0, 0, 0) ? "white" : "black", "-o", "g.png"});
    ASSERT_EQ(RunTool(dir, pngArgs).exitCode, 0);
    const Png png = LoadPng(dir / "g.png");
    const bool closed = figure.element == "polygon";
    int checked = 0;
    for (std::size_t i = 0; i < figure.points.size(); ++i) {
        const bool last = i + 1 == figure.points.size();
        if (last && !closed) break;  // a polyline leaves its end point out
        const Point p = figure.points[i], q = figure.points[last ? 0 : i + 1];
        if (p == q || p.x < 0 || p.y < 0 || p.x >= 1400 || p.y >= 1000) continue;
        EXPECT_EQ(PixelAt(png.surface.get(), p.x, p.y), pen) << p.x << "," << p.y;
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

TEST(RenderTool, PdfIsWritten) {
    ScratchFolder dir;
    ASSERT_EQ(RunTool(dir, {"--seed", "5", "--ticks", "3", "-o", "g.pdf"}).exitCode, 0);
    const std::string pdf = ReadFile(dir / "g.pdf");
    EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
    EXPECT_NE(pdf.find("%%EOF"), std::string::npos);
}

TEST(RenderTool, BadOptionsExitWithUsageErrorAndWriteNothing) {
    ScratchFolder dir;
    const std::vector<std::vector<std::string>> bad = {
        {"--bogus"}, {"--ticks", "x"}, {"--size", "0x0"}, {"--build", "3"},
        {"--cycle-length", "0"}, {"-o", "g.jpg"}, {"--seed"},
    };
    for (auto args : bad) {
        args.insert(args.end(), {"--ticks", "1"});
        if (std::find(args.begin(), args.end(), "-o") == args.end()) args.insert(args.end(), {"-o", "g.png"});
        const ToolResult r = RunTool(dir, args);
        EXPECT_EQ(r.exitCode, 2) << args[0];
        EXPECT_EQ(r.err.rfind("tessaly-render: ", 0), 0u) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
    EXPECT_TRUE(dir.Files().empty());
}

TEST(RenderTool, UnwritableOutputIsAnIoError) {
    ScratchFolder dir;
    ToolResult r = RunTool(dir, {"--ticks", "1", "-o", "no-such-folder/g.png"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("no-such-folder/g.png"), std::string::npos) << r.err;
    std::filesystem::create_directory(dir / "taken.png");
    r = RunTool(dir, {"--ticks", "1", "-o", "taken.png"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(dir.Files(), std::vector<std::string>{"taken.png"});
    EXPECT_TRUE(std::filesystem::is_empty(dir / "taken.png"));
}

TEST(RenderTool, UnreadableBackgroundIsAnIoErrorAndLeavesNoFile) {
    ScratchFolder dir;
    ToolResult r = RunTool(dir, {"--ticks", "1", "--background", "missing.png", "-o", "g.png"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("missing.png"), std::string::npos);
    std::ofstream(dir / "fake.png") << "not a picture";
    r = RunTool(dir, {"--ticks", "1", "--background", "fake.png", "-o", "g.svg"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_EQ(dir.Files(), std::vector<std::string>{"fake.png"});

    // Hostile backgrounds are refused at once: a FIFO is not waited on, and
    // a tiny file declaring 23000x23000 pixels is not decoded.
    ASSERT_EQ(mkfifo((dir / "fifo.png").c_str(), 0600), 0);
    const std::string bomb = std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x59\xd8\0\0\x59\xd8\x08\x02", 26);
    std::ofstream(dir / "bomb.png", std::ios::binary) << bomb;
    const std::map<std::string, std::string> refused = {
        {"fifo.png", "fifo.png: not a regular file"},
        {"bomb.png", "bomb.png: it is 23000x23000 pixels; tessaly draws in at most 67108864 pixels"},
        {"/dev/zero", "not a regular file"}};
    for (const auto& [background, message] : refused) {
        r = RunTool(dir, {"--ticks", "1", "--size", "64x64", "--background", background, "-o", "g.png"});
        EXPECT_EQ(r.exitCode, 1) << background;
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "g.png"));
}

TEST(RenderTool, PngHeaderLimitsThePictureBeforeDecoding) {
    unsigned char header[kPngHeaderBytes] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13,
                                             'I', 'H', 'D', 'R', 0, 0, 0x20, 0, 0, 0, 0x20, 0};
    int w = 0, h = 0;
    std::string problem;
    EXPECT_TRUE(CheckPngHeader(header, sizeof header, w, h, problem)) << problem;  // 8192x8192, just within
    EXPECT_EQ(w * h, 8192 * 8192);
    header[23] = 1;  // 8192x8193
    EXPECT_FALSE(CheckPngHeader(header, sizeof header, w, h, problem));
    EXPECT_NE(problem.find("8192x8193 pixels"), std::string::npos);
    header[18] = 0x80, header[22] = 0, header[23] = 1;  // 32768x1: few pixels, but wider than Cairo's limit
    EXPECT_FALSE(CheckPngHeader(header, sizeof header, w, h, problem));
}

TEST(RenderTool, BackgroundsLieUnderTheGarden) {
    ScratchFolder dir;
    ASSERT_EQ(RunTool(dir, {"--ticks", "0", "--size", "30x20", "--background", "white", "-o", "w.png"}).exitCode, 0);
    EXPECT_EQ(CountColour(LoadPng(dir / "w.png").surface.get(), Rgb(255, 255, 255)), 600);

    // A 2x1 picture, red then blue, covers 40x10 scaled by 20 and cropped top and bottom.
    CairoSurface source(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 2, 1));
    cairo_surface_flush(source.get());
    auto* px = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(source.get()));
    px[0] = 0xFF0000;
    px[1] = 0x0000FF;
    cairo_surface_mark_dirty(source.get());
    std::string error;
    ASSERT_TRUE(WritePng(source.get(), dir / "bg.png", error)) << error;
    ASSERT_EQ(RunTool(dir, {"--ticks", "0", "--size", "40x10", "--background", "bg.png", "-o", "p.png"}).exitCode, 0);
    const Png picture = LoadPng(dir / "p.png");
    ASSERT_EQ(picture.width, 40);
    EXPECT_EQ(PixelAt(picture.surface.get(), 2, 5), Rgb(255, 0, 0));
    EXPECT_EQ(PixelAt(picture.surface.get(), 37, 5), Rgb(0, 0, 255));

    // The garden is painted over the background, never erasing it all.
    ASSERT_EQ(RunTool(dir, {"--seed", "9", "--ticks", "3", "--size", "200x100", "--background", "white", "-o", "g.png"})
                  .exitCode, 0);
    const Png garden = LoadPng(dir / "g.png");
    const int white = CountColour(garden.surface.get(), Rgb(255, 255, 255));
    EXPECT_GT(white, 0);
    EXPECT_LT(white, 200 * 100);
    // The SVG carries the same background, embedded.
    ASSERT_EQ(RunTool(dir, {"--ticks", "0", "--size", "40x10", "--background", "bg.png", "-o", "p.svg"}).exitCode, 0);
    EXPECT_NE(ReadFile(dir / "p.svg").find("data:image/png;base64,iVBORw0KGgo"), std::string::npos);
}

TEST(RenderTool, FramesAreOnePngPerPaint) {
    ScratchFolder dir;
    const ToolResult r =
        RunTool(dir, {"--seed", "2", "--ticks", "6", "--build", "1", "--size", "140x100", "--frames", "frames",
                      "-o", "g.png"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> frames;
    for (const auto& e : std::filesystem::directory_iterator(dir / "frames")) frames.push_back(e.path().filename());
    std::sort(frames.begin(), frames.end());
    ASSERT_EQ(frames.size(), 6u);
    EXPECT_EQ(frames.front(), "frame-000001.png");
    EXPECT_EQ(frames.back(), "frame-000006.png");
    // The last frame is the finished picture.
    EXPECT_EQ(ReadFile(dir / "frames/frame-000006.png"), ReadFile(dir / "g.png"));
    EXPECT_NE(ReadFile(dir / "frames/frame-000001.png"), ReadFile(dir / "g.png"));

    std::ofstream(dir / "plain") << "x";
    EXPECT_EQ(RunTool(dir, {"--ticks", "1", "--frames", "plain", "-o", "h.png"}).exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "h.png"));
}

// Starts an endless render under `sh -c script` (which execs it) and waits
// until it is under way: it prints the seed first.
pid_t StartEndlessRender(const ScratchFolder& dir, const ScratchFolder& logs, const std::string& script,
                         const std::string& output) {
    std::filesystem::remove(logs / "out");
    const pid_t pid = StartProgram("/bin/sh", dir, {"-c", script, TESSALY_RENDER_BINARY, "--ticks", "2000000000",
                                                    "--size", "64x64", "-o", output},
                                   logs / "out", logs / "err");
    for (int i = 0; i < 500 && ReadFile(logs / "out").empty(); ++i) usleep(10000);
    return pid;
}

TEST(RenderTool, EverySignalThatEndsARunLeavesNoFile) {
    ScratchFolder dir, logs;
    for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGUSR1, SIGUSR2, SIGALRM, SIGXCPU, SIGRTMIN}) {
        for (const char* output : {"g.svg", "g.png", "g.pdf"}) {
            const pid_t pid = StartEndlessRender(dir, logs, "exec \"$0\" \"$@\"", output);
            ASSERT_FALSE(ReadFile(logs / "out").empty());
            kill(pid, signal);
            EXPECT_EQ(WaitTool(pid), 128 + signal);
            EXPECT_TRUE(dir.Files().empty()) << strsignal(signal) << " " << output;
        }
    }
    // Signals ignored from the start (nohup, trap '') stay ignored: the
    // hang-up goes unnoticed, the later SIGTERM ends the run.
    pid_t pid = StartEndlessRender(dir, logs, "trap '' HUP INT; exec \"$0\" \"$@\"", "g.png");
    kill(pid, SIGHUP);
    kill(pid, SIGINT);
    kill(pid, SIGTERM);
    EXPECT_EQ(WaitTool(pid), 128 + SIGTERM);
    EXPECT_TRUE(dir.Files().empty());
    // A time-lapse under way goes too, with the folder the run made for it;
    // in a folder of earlier frames, only what the run added goes.
    for (const bool earlier : {false, true}) {
        const std::vector<std::string> left = {"frame-000001.png", "frame-000002.png", "notes.txt"};
        if (earlier) {
            std::filesystem::create_directory(dir / "frames");
            for (const std::string& name : left) std::ofstream(dir / "frames/" + name) << "kept";
        }
        pid = StartEndlessRender(dir, logs, "exec \"$0\" \"$@\" --build 1 --frames frames", "g.png");
        for (int i = 0; i < 3000 && !std::filesystem::exists(dir / "frames/frame-000004.png"); ++i) usleep(10000);
        kill(pid, SIGTERM);
        EXPECT_EQ(WaitTool(pid), 128 + SIGTERM);
        auto names = testing::FileNames(dir / "frames");
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, earlier ? left : std::vector<std::string>{});
        EXPECT_EQ(dir.Files(), earlier ? std::vector<std::string>{"frames"} : std::vector<std::string>{});
    }
}

TEST(RenderTool, WriteFailuresNameTheOutputAndTheReason) {
    // Beyond the file size limit every write fails (SIGXFSZ is not fatal).
    ScratchFolder dir;
    for (const char* output : {"g.png", "g.pdf", "g.svg"}) {
        const ToolResult r = RunProgram("/bin/sh", dir, {"-c", "ulimit -f 4; exec \"$0\" \"$@\"",
                                                         TESSALY_RENDER_BINARY, "--seed", "1", "--size", "640x360",
                                                         "--ticks", "60", "-o", output});
        EXPECT_EQ(r.exitCode, 1) << output;
        EXPECT_EQ(r.err, std::string("tessaly-render: cannot write ") + output + ": File too large\n");
        EXPECT_TRUE(dir.Files().empty()) << output;
    }
    // Frames that fill the disk do not stay: neither they nor their folder.
    const ToolResult frames = RunProgram("/bin/sh", dir, {"-c", "ulimit -f 16; exec \"$0\" \"$@\"",
                                                          TESSALY_RENDER_BINARY, "--seed", "3", "--size", "640x360", "--ticks",
                                                          "100", "--frames", "frames", "-o", "g.png"});
    EXPECT_EQ(frames.exitCode, 1);
    EXPECT_NE(frames.err.find("frames/frame-0000"), std::string::npos) << frames.err;
    EXPECT_TRUE(dir.Files().empty());
    // Help that cannot be written is a failure too.
    const ToolResult help = RunProgram("/bin/sh", dir, {"-c", "exec \"$0\" --help >/dev/full", TESSALY_RENDER_BINARY});
    EXPECT_EQ(help.exitCode, 1);
    EXPECT_EQ(help.err, "tessaly-render: cannot write the help: No space left on device\n");

    // Names are shown escaped: no control byte reaches the terminal.
    const ToolResult wrote = RunTool(dir, {"--ticks", "1", "--size", "64x64", "-o", "z\x1b[1m.png"});
    EXPECT_NE(wrote.out.find("/z\\x1b[1m.png"), std::string::npos) << wrote.out;
    std::filesystem::remove(dir / "z\x1b[1m.png");
    std::ofstream(dir / "f\x1b") << "a file";
    for (const auto& args : std::vector<std::vector<std::string>>{{"--frames", "f\x1b"}, {"-o", "\x1b.jpg"}}) {
        const ToolResult refused = RunTool(dir, args);
        EXPECT_NE(refused.err.find("\\x1b"), std::string::npos) << refused.err;
        EXPECT_EQ(refused.err.find('\x1b'), std::string::npos) << "a raw escape: " << refused.err;
    }
    std::filesystem::remove(dir / "f\x1b");
    // A reader that went away: the info lines fail, the picture is written.
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    close(ends[0]);
    const pid_t pid = StartProgram(TESSALY_RENDER_BINARY, dir, {"--ticks", "5", "--size", "64x64", "-o", "g.png"},
                                   dir / "unused", "/dev/null", ends[1]);
    close(ends[1]);
    EXPECT_EQ(WaitTool(pid), 0);
    EXPECT_EQ(LoadPng(dir / "g.png").width, 64);
    EXPECT_EQ(dir.Files(), std::vector<std::string>{"g.png"});
}

TEST(RenderTool, OutputThroughALinkReplacesARegularTargetAndWritesIntoAnyOther) {
    ScratchFolder dir, reader;
    std::filesystem::create_directory(dir / "kept");
    std::ofstream(dir / "kept/g.png") << "old";
    ASSERT_EQ(chmod((dir / "kept/g.png").c_str(), 0640), 0);
    uid_t uid = geteuid();
    gid_t gid = getegid();
    if (testing::Nobody(uid, gid)) {
        ASSERT_EQ(chown((dir / "kept/g.png").c_str(), uid, gid), 0);
    }
    std::filesystem::create_symlink("kept/g.png", dir / "g.png");
    ASSERT_EQ(RunTool(dir, {"--ticks", "3", "--size", "64x64", "-o", "g.png"}).exitCode, 0);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "g.png"));
    EXPECT_EQ(LoadPng(dir / "kept/g.png").width, 64);
    struct stat kept {};
    ASSERT_EQ(stat((dir / "kept/g.png").c_str(), &kept), 0);
    EXPECT_EQ(kept.st_mode & 07777, 0640u);
    EXPECT_EQ(kept.st_uid, uid) << "the replaced file lost its owner";
    EXPECT_EQ(kept.st_gid, gid);
    EXPECT_EQ(testing::FileNames(dir / "kept"), std::vector<std::string>{"g.png"});

    // A pipe and a device behind the name are written into, never replaced.
    ASSERT_EQ(mkfifo((dir / "kept/fifo").c_str(), 0600), 0);
    std::filesystem::create_symlink("kept/fifo", dir / "fifo.png");
    // (A reader bounded in time: a pipe replaced by a file would keep it waiting.)
    const pid_t cat = StartProgram("/usr/bin/timeout", dir, {"60", "cat", "kept/fifo"}, reader / "read.png", reader / "err");
    EXPECT_EQ(RunTool(dir, {"--ticks", "3", "--size", "64x64", "-o", "fifo.png"}).exitCode, 0);
    EXPECT_EQ(WaitTool(cat), 0);
    EXPECT_EQ(LoadPng(reader / "read.png").width, 64) << "the pipe's reader got no picture";
    EXPECT_TRUE(std::filesystem::is_fifo(dir / "kept/fifo"));
    std::filesystem::create_symlink(testing::NullDevice(dir), dir / "null.png");
    EXPECT_EQ(RunTool(dir, {"--ticks", "3", "--size", "64x64", "-o", "null.png"}).exitCode, 0);
    EXPECT_TRUE(std::filesystem::is_character_file(dir / "null.png")) << "the device was replaced";
}

TEST(RenderTool, HelpAndVersion) {
    ScratchFolder dir;
    ToolResult r = RunTool(dir, {"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("Usage: tessaly-render"), std::string::npos);
    EXPECT_NE(r.out.find("--background"), std::string::npos);
    r = RunTool(dir, {"--version"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.rfind("tessaly-render ", 0), 0u);
    EXPECT_TRUE(dir.Files().empty());
}

}  // namespace
}  // namespace tessaly
