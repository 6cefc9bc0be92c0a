// The Cairo device against real GDI: the same shape scripts drawn by a small
// Windows program under Wine and by CairoDevice, compared pixel by pixel; and
// how tessaly-render.exe writes its file. Needs wine and the MinGW-built
// gdi-probe.exe; without them it skips (exit 77), except under CI=true, where
// a missing tool is a failure.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cairo/CairoDevice.h"
#include "cairo/CairoImage.h"
#include "cairo/GdiRaster.h"
#include "ToolRunner.h"
#include "support/Tools.h"
#include "device/PortableGdiObjects.h"
#include "shell/Printable.h"

namespace tessaly {
namespace {

std::string wineProgram;
ScratchFolder* winePrefix = nullptr;

// Draws a script with the Cairo device; pixels as B, G, R, x like a DIB.
std::vector<unsigned char> DrawWithCairo(const std::string& script, int& width, int& height) {
    std::istringstream in(script);
    std::string word;
    in >> word >> width >> height;
    CairoSurface image = CreateFilledImage(width, height, Rgb(128, 128, 128));
    CairoContext cr(cairo_create(image.get()));
    CairoDevice device(cr.get());
    PortableGdiObjects objects;
    GdiHandle brush = nullptr;
    while (in >> word) {
        if (word == "map") {
            int wx, wy, vx, vy;
            in >> wx >> wy >> vx >> vy;
            device.SetMapModeAnisotropic();
            device.SetWindowExt(wx, wy);
            device.SetViewportExt(vx, vy);
            device.SetViewportOrg(0, 0);
        } else if (word == "pen") {
            int white;
            in >> white;
            device.SelectObject(objects.GetStockObject(white ? kStockWhitePen : kStockBlackPen));
        } else if (word == "brush") {
            int r, g, b;
            in >> r >> g >> b;
            GdiHandle made = objects.CreateSolidBrush(Rgb(r, g, b));
            device.SelectObject(made);
            if (brush != nullptr) objects.DeleteObject(brush);
            brush = made;
        } else if (word == "polygon" || word == "polyline") {
            int count;
            in >> count;
            std::vector<Point> points(count);
            for (Point& p : points) in >> p.x >> p.y;
            if (word == "polygon") {
                device.Polygon(points.data(), count);
            } else {
                device.Polyline(points.data(), count);
            }
        } else if (word == "ellipse") {
            int l, t, r, b;
            in >> l >> t >> r >> b;
            device.Ellipse(l, t, r, b);
        }
    }
    if (brush != nullptr) objects.DeleteObject(brush);
    cairo_surface_flush(image.get());
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
    const unsigned char* data = cairo_image_surface_get_data(image.get());
    const int stride = cairo_image_surface_get_stride(image.get());
    for (int y = 0; y < height; ++y) std::copy(data + y * stride, data + y * stride + width * 4, &pixels[y * width * 4]);
    return pixels;
}

// Runs a probe under Wine on `input` (written to a scratch file); returns
// what it wrote, or "" after reporting a failure.
std::string RunProbe(const char* probe, const std::string& input) {
    ScratchFolder work;
    std::ofstream(work / "input.txt") << input;
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("WINEPREFIX", winePrefix->Path().c_str(), 1);
        setenv("WINEDEBUG", "-all", 1);
        setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);
        unsetenv("DISPLAY");
        const std::string in = work / "input.txt", out = work / "output";
        execlp(wineProgram.c_str(), wineProgram.c_str(), probe, in.c_str(), out.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    const int status = WaitTool(pid);
    if (status != 0) {
        ADD_FAILURE() << probe << " under wine exited with " << status;
        return {};
    }
    return ReadFile(work / "output");
}

std::vector<unsigned char> DrawWithGdi(const std::string& script) {
    const std::string raw = RunProbe(TESSALY_GDI_PROBE, script);
    return std::vector<unsigned char>(raw.begin(), raw.end());
}

// Pixels (of width x height) whose colour differs. With boxes, GDI's pixels
// count only inside them: GDI paints each ellipse inside its box, so what
// Wine paints outside every box is a fault of Wine's, reported but not
// counted, while the Cairo device must leave all of that grey. Wine's fault
// smears a row from inside a box out to the bitmap's edge: a row where it
// painted outside every box is not compared at all (each box has rows of
// its own), and at most `smearedRows` such rows are taken for Wine's.
int CountDifferences(const std::string& script, const std::vector<Rect>& boxes = {}, int smearedRows = 0) {
    int width = 0, height = 0;
    const std::vector<unsigned char> cairo = DrawWithCairo(script, width, height);
    const std::vector<unsigned char> gdi = DrawWithGdi(script);
    if (gdi.size() != cairo.size()) {
        ADD_FAILURE() << "gdi-probe wrote " << gdi.size() << " bytes, expected " << cairo.size();
        return width * height;
    }
    std::vector<bool> inside(gdi.size() / 4, boxes.empty());
    for (const Rect& b : boxes)
        for (int y = b.top; y < b.bottom; ++y) std::fill_n(inside.begin() + y * width + b.left, b.right - b.left, true);
    const unsigned char grey[] = {128, 128, 128};
    const auto painted = [&](std::size_t p) { return !std::equal(&gdi[4 * p], &gdi[4 * p] + 3, grey); };
    std::vector<bool> smeared(height, false);
    for (std::size_t p = 0; p < inside.size(); ++p) smeared[p / width] = smeared[p / width] || (!inside[p] && painted(p));
    const int wineRows = static_cast<int>(std::count(smeared.begin(), smeared.end(), true));
    if (wineRows > 0) std::printf("Wine smeared %d rows out of their boxes (not compared)\n", wineRows);
    EXPECT_LE(wineRows, smearedRows) << "rows where Wine painted outside every box";
    int differences = 0;
    for (std::size_t p = 0; p < inside.size(); ++p) {
        if (smeared[p / width]) continue;
        const unsigned char* truth = inside[p] ? &gdi[4 * p] : grey;
        if (std::equal(truth, truth + 3, &cairo[4 * p])) continue;
        if (differences++ < 10)
            std::printf("differ at %zu,%zu: GDI %d %d %d, Cairo %d %d %d\n", p % width, p / width, gdi[4 * p],
                        gdi[4 * p + 1], gdi[4 * p + 2], cairo[4 * p], cairo[4 * p + 1], cairo[4 * p + 2]);
    }
    return differences;
}

enum class Shape { Polygon, Polyline, Ellipse, Mixed };

// Random shapes in the logical canvas (mapped) or in device pixels.
std::string Script(Shape shape, unsigned seed, int width, int height, bool mapped, int count) {
    std::mt19937 random(seed);
    auto below = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    std::ostringstream s;
    s << "size " << width << ' ' << height << '\n';
    if (mapped) s << "map 1400 1000 " << width << ' ' << height << '\n';
    const int spanX = mapped ? 1400 : width, spanY = mapped ? 1000 : height;
    const int scales[] = {5, 20, 60, 150};
    for (int i = 0; i < count; ++i) {
        s << "brush " << below(256) << ' ' << below(256) << ' ' << below(256) << "\npen " << below(2) << '\n';
        const int cx = below(spanX), cy = below(spanY), scale = scales[below(4)];
        Shape kind = shape == Shape::Mixed ? static_cast<Shape>(below(3)) : shape;
        if (kind == Shape::Ellipse) {
            const int radius = 1 + below(scale);  // discs, as the garden draws them
            s << "ellipse " << cx - radius << ' ' << cy - radius << ' ' << cx + radius << ' ' << cy + radius << '\n';
            continue;
        }
        const int n = kind == Shape::Polygon ? 3 + below(6) : 2 + below(10);
        s << (kind == Shape::Polygon ? "polygon " : "polyline ") << n;
        for (int k = 0; k < n; ++k) s << ' ' << cx + below(2 * scale + 1) - scale << ' ' << cy + below(2 * scale + 1) - scale;
        s << '\n';
    }
    return s.str();
}

TEST(WineGdi, PolylinesMatchExactly) {
    EXPECT_EQ(CountDifferences(Script(Shape::Polyline, 1, 400, 300, false, 60)), 0);
    EXPECT_EQ(CountDifferences(Script(Shape::Polyline, 2, 1920, 1080, true, 200)), 0);
}

TEST(WineGdi, EllipsesMatchExactly) {
    EXPECT_EQ(CountDifferences(Script(Shape::Ellipse, 3, 400, 300, false, 60)), 0);
    EXPECT_EQ(CountDifferences(Script(Shape::Ellipse, 4, 1920, 1080, true, 300)), 0);
    // Every small box, where GDI's special cases live, each in rows of its
    // own: Wine's region code smears the top and bottom interior rows of a
    // few boxes (which ones varies from machine to machine and run to run)
    // out to the left edge of the bitmap; those rows are left out, a few
    // dozen at the most of the 8360.
    std::ostringstream script;
    std::vector<Rect> boxes;
    script << "size 40 8360\nbrush 200 30 10\npen 1\n";
    for (int w = 1, y = 2; w <= 24; ++w)
        for (int h = 1; h <= 24; y += h + 2, ++h) {
            boxes.push_back({8, y, 8 + w, y + h});
            script << "ellipse 8 " << y << ' ' << 8 + w << ' ' << y + h << '\n';
        }
    EXPECT_EQ(CountDifferences(script.str(), boxes, 48), 0);
}

TEST(WineGdi, PolygonsMatchExactly) {
    // Self-intersecting ones too: the ALTERNATE rule and GDI's edge rules.
    EXPECT_EQ(CountDifferences(Script(Shape::Polygon, 5, 400, 300, false, 60)), 0);
    EXPECT_EQ(CountDifferences(Script(Shape::Polygon, 6, 1920, 1080, true, 300)), 0);
}

TEST(WineGdi, AGardenOfEverythingMatchesExactly) {
    EXPECT_EQ(CountDifferences(Script(Shape::Mixed, 7, 1920, 1080, true, 1500)), 0);
}

TEST(WineGdi, HalfPixelMappingsMatchExactly) {
    // At 1366 x 900 the logical x 350 and 1050 and every y ending in 5 map
    // onto exact half pixels; here every vertex and box edge lies on one.
    std::ostringstream ties;
    ties << "size 1366 900\nmap 1400 1000 1366 900\nbrush 10 200 30\n";
    for (int y = 5; y <= 985; y += 20) {
        ties << "pen " << (y / 20) % 2 << '\n';
        ties << "polygon 3 350 " << y << " 1050 " << y + 10 << " 700 " << y + 10 << '\n';
        ties << "polyline 3 -350 " << y + 10 << " 350 " << y << " 1050 " << y << '\n';
        ties << "ellipse 1050 " << y << " 1350 " << y + 10 << '\n';
    }
    EXPECT_EQ(CountDifferences(ties.str()), 0);
    EXPECT_EQ(CountDifferences(Script(Shape::Mixed, 8, 1440, 900, true, 600)), 0);
    EXPECT_EQ(CountDifferences(Script(Shape::Mixed, 9, 1366, 768, true, 600)), 0);
}

// One line of map-probe.exe's input: both axes and a range of logical values.
struct MapCase {
    AxisMapping x, y;
    int first, last;
};

TEST(WineGdi, MappingMatchesLPtoDP) {
    std::vector<MapCase> cases;
    auto axis = [](int windowExt, int viewportExt, int windowOrg = 0, int viewportOrg = 0) {
        return AxisMapping{windowOrg, windowExt, viewportOrg, viewportExt};
    };
    // Small extents of both signs, where every kind of half pixel turns up.
    std::vector<int> extents{-10, -7, -3, -2, -1};
    for (int e = 1; e <= 40; ++e) extents.push_back(e);
    for (int w : extents)
        for (int v : extents) cases.push_back({axis(w, v), axis(v, w), -200, 200});
    // The canvas on the client sizes of real screens, and past its edges.
    const int clients[][2] = {{1366, 768}, {1440, 900}, {1600, 900}, {1920, 1080}, {1400, 1000}, {1280, 1024},
                              {800, 600},  {683, 450},  {2560, 1440}, {3840, 2160}, {1024, 768}, {1360, 768}};
    for (const auto& [cx, cy] : clients) cases.push_back({axis(1400, cx), axis(1000, cy), -2000, 3000});
    // Window and viewport origins: the offset is stored as a float too.
    for (int windowOrg : {-7, 0, 5, 13})
        for (int viewportOrg : {-3, 0, 4})
            cases.push_back({axis(10, 9, windowOrg, viewportOrg), axis(1000, 900, windowOrg, viewportOrg), -300, 300});

    std::ostringstream input;
    for (const MapCase& c : cases) {
        input << c.x.windowExt << ' ' << c.y.windowExt << ' ' << c.x.viewportExt << ' ' << c.y.viewportExt << ' '
              << c.x.windowOrg << ' ' << c.y.windowOrg << ' ' << c.x.viewportOrg << ' ' << c.y.viewportOrg << ' '
              << c.first << ' ' << c.last << '\n';
    }
    std::istringstream output(RunProbe(TESSALY_MAP_PROBE, input.str()));
    long checked = 0, halves = 0, wrong = 0;
    for (const MapCase& c : cases) {
        for (int v = c.first; v <= c.last; ++v) {
            long gdiX = 0, gdiY = 0;
            ASSERT_TRUE(output >> gdiX >> gdiY) << "map-probe.exe wrote too little";
            for (const auto& [axisMapping, gdi] : {std::pair{c.x, gdiX}, std::pair{c.y, gdiY}}) {
                ++checked;
                // 2 (v - org) vExt / wExt odd: the exact value is a half.
                const long long twice = 2LL * (v - axisMapping.windowOrg) * axisMapping.viewportExt;
                if (twice % axisMapping.windowExt == 0 && (twice / axisMapping.windowExt) % 2 != 0) ++halves;
                if (axisMapping.ToDevice(v) != gdi && ++wrong <= 5) {
                    ADD_FAILURE() << v << " at " << axisMapping.viewportExt << "/" << axisMapping.windowExt
                                  << " origins " << axisMapping.windowOrg << ", " << axisMapping.viewportOrg
                                  << ": GDI " << gdi << ", Cairo device " << axisMapping.ToDevice(v);
                }
            }
        }
    }
    std::printf("LPtoDP: %ld coordinates, %ld of them exact halves, %ld differ\n", checked, halves, wrong);
    EXPECT_EQ(wrong, 0) << "of " << checked;
    EXPECT_GT(halves, 50000) << "too few exact halves to tell the rounding rules apart";
}

// tessaly-render.exe under Wine, run in `folder`.
ToolResult RunGdiRender(const ScratchFolder& folder, std::vector<std::string> args) {
    setenv("WINEPREFIX", winePrefix->Path().c_str(), 1);
    setenv("WINEDEBUG", "-all", 1);
    unsetenv("DISPLAY");
    args.insert(args.begin(), TESSALY_GDI_RENDER);
    return RunProgram(wineProgram, folder, args);
}

// Wine's name for a file of this machine.
std::string WindowsPath(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return "Z:" + path;
}

TEST(WineGdiRender, WritesItsFileWholeOrSaysWhyAndLeavesNothingBehind) {
    if (access(TESSALY_GDI_RENDER, R_OK) != 0) {
        if (testing::InCi()) {
            FAIL() << TESSALY_GDI_RENDER << " is missing";
        }
        GTEST_SKIP() << TESSALY_GDI_RENDER << " is missing (scripts/build-windows.sh builds it)";
    }
    ScratchFolder dir;
    std::ofstream(dir / "g.png") << "an earlier file";
    std::filesystem::create_directory(dir / "folder.png");
    const std::vector<std::string> render{"--ticks", "3", "--size", "64x48", "-o"};
    auto args = [&](const std::string& name) {
        std::vector<std::string> all = render;
        all.push_back(WindowsPath(dir / name));
        return all;
    };
    ToolResult r = RunGdiRender(dir, args("g.png"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadFile(dir / "g.png").substr(0, 8), "\x89PNG\r\n\x1a\n") << "the earlier file, replaced";

    // A missing folder, a folder by that name (the temporary was written and
    // is removed), a name Windows does not take: one line each, with the path
    // escaped and the system's reason.
    for (const std::string name : {"missing/g.png", "folder.png", "bad\x01.png"}) {
        r = RunGdiRender(dir, args(name));
        EXPECT_EQ(r.exitCode, 1) << name;
        const std::string start = "tessaly-render: cannot write " + Printable(WindowsPath(dir / name)) + ": ";
        const std::string line = r.err.substr(0, r.err.find_first_of("\r\n"));
        const std::string reason = line.size() > start.size() ? line.substr(start.size()) : "";
        EXPECT_EQ(line.rfind(start, 0), 0u) << "expected " << start << "REASON, saw " << r.err;
        EXPECT_EQ(r.err.find_first_not_of("\r\n", line.size()), std::string::npos) << "one line, saw " << r.err;
        EXPECT_FALSE(reason.empty() || reason.rfind("error ", 0) == 0) << "the system's reason, saw " << r.err;
        if (name == "folder.png") {
            EXPECT_EQ(reason, "it is a folder");
        }
    }
    std::vector<std::string> files = dir.Files();
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"folder.png", "g.png"})) << "no temporary left";
    EXPECT_TRUE(testing::FileNames(dir / "folder.png").empty());
}

}  // namespace
}  // namespace tessaly

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const char* hint = "install wine and g++-mingw-w64-x86-64-posix";
    if (const int code = tessaly::testing::MissingToolsExitCode({"wine"}, hint)) return code;
    for (const char* probe : {TESSALY_GDI_PROBE, TESSALY_MAP_PROBE}) {
        if (access(probe, R_OK) != 0) {
            std::fprintf(stderr, "%s: %s is missing (%s)\n", tessaly::testing::InCi() ? "FAIL" : "SKIP", probe, hint);
            return tessaly::testing::InCi() ? 1 : 77;
        }
    }
    const std::string wine = tessaly::testing::FindOnPath("wine");
    tessaly::wineProgram = wine;
    tessaly::ScratchFolder prefix;
    tessaly::winePrefix = &prefix;
    const int result = RUN_ALL_TESTS();
    // Stop this prefix's wineserver before its folder goes away.
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("WINEPREFIX", prefix.Path().c_str(), 1);
        const std::string server = wine.substr(0, wine.rfind('/')) + "/wineserver";
        execl(server.c_str(), server.c_str(), "-k", static_cast<char*>(nullptr));
        _exit(127);
    }
    tessaly::WaitTool(pid);
    return result;
}
