// The full-screen saver on a real X server: it starts from the screen as it
// was, draws, and ends on a key, a button, a move after the first, or focus
// loss, but not on the first move or the wheel.
#include <signal.h>

#include <cstdlib>
#include <memory>
#include <random>

#include "E2eFixture.h"  // GoogleTest before X11's None
#include "device/PortableGdiObjects.h"
#include "x11/OffscreenCanvas.h"

using namespace e2e;

namespace {
// The saver must still be running after input that should not end it.
constexpr double kGraceSeconds = 1.0;
}  // namespace

TEST_F(TessalyE2e, SaverCoversTheScreenStartingFromItsPictureAndDraws) {
    auto saver = StartSaver();
    const Image shot = client->Grab(client->Root());
    Save(shot);
    const size_t total = shot.pixels.size();
    // Drawings are there, on top of the desktop that was grabbed, not on black.
    EXPECT_GT(total - shot.CountOf(kDesktop), 50u);
    EXPECT_GT(shot.CountOf(kDesktop), total / 4);
    EXPECT_TRUE(saver->Running());
    saver->Signal(SIGTERM);
    EXPECT_TRUE(EndedBySignal(*saver, SIGTERM));
    // Its window is gone with it, once the server has seen the connection close.
    EXPECT_TRUE(WaitUntil([&] { return client->WaitForSaverWindows(1, 0).empty(); }, kEndSeconds));
}

TEST_F(TessalyE2e, SaverEndsOnAKey) {
    auto saver = StartSaver();
    ASSERT_EQ(Xdotool({"key", "a"}), 0);
    EXPECT_TRUE(EndedCleanly(*saver));
}

TEST_F(TessalyE2e, SaverEndsOnASystemKey) {
    auto saver = StartSaver();
    ASSERT_EQ(Xdotool({"key", "alt"}), 0);
    EXPECT_TRUE(EndedCleanly(*saver));
}

TEST_F(TessalyE2e, SaverEndsOnEachButtonButNotTheWheel) {
    for (const char* button : {"1", "2", "3", "8"}) {
        auto saver = StartSaver();
        for (const char* wheel : {"4", "5", "6", "7"}) ASSERT_EQ(Xdotool({"click", wheel}), 0);
        Sleep(kGraceSeconds);
        EXPECT_TRUE(saver->Running()) << "the wheel ended the saver";
        ASSERT_EQ(Xdotool({"click", button}), 0);
        EXPECT_TRUE(EndedCleanly(*saver)) << "button " << button;
    }
}

TEST_F(TessalyE2e, SaverIgnoresTheFirstMoveAndEndsOnTheNext) {
    auto saver = StartSaver();
    ASSERT_EQ(Xdotool({"mousemove", "100", "100"}), 0);
    Sleep(kGraceSeconds);
    ASSERT_TRUE(saver->Running()) << "the first move ended the saver";
    // One pixel away from the first reported position is enough.
    ASSERT_EQ(Xdotool({"mousemove", "101", "100"}), 0);
    EXPECT_TRUE(EndedCleanly(*saver));
}

TEST_F(TessalyE2e, SaverEndsWhenAnotherWindowTakesTheFocus) {
    auto saver = StartSaver();
    const Window other = client->CreateWindow(50, 50, 0xFFFFFF);
    XSetInputFocus(client->Dpy(), other, RevertToParent, CurrentTime);
    XSync(client->Dpy(), False);
    EXPECT_TRUE(EndedCleanly(*saver));
}

TEST_F(TessalyE2e, SaverStaysOnTopOfWindowsThatAppearLater) {
    auto saver = StartSaver();
    const Window other = client->CreateWindow(200, 200, 0xFFFFFF);
    // Had the new window stayed on top, this corner would stay plain white.
    const auto white = [](const Image& shot) {
        size_t n = 0;
        for (int y = 10; y < 210; ++y)
            for (int x = 10; x < 210; ++x) n += shot.At(x, y) == 0xFFFFFF;
        return n;
    };
    const Image shot = client->WaitFor(client->Root(), [&](const Image& i) { return white(i) < 200u * 200u / 2; }, kStartSeconds);
    Save(shot);
    EXPECT_LT(white(shot), 200u * 200u / 2);
    client->Destroy(other);
    saver->Signal(SIGTERM);
    EXPECT_TRUE(EndedBySignal(*saver, SIGTERM));
}

// Unseen, the saver makes no ticks and no wake-ups at all: while the X
// server blanks the screen (as DPMS turning the monitors off makes it do),
// and while a window covers it whole (a lock screen); seen again, it ticks on.
TEST_F(TessalyE2e, SaverRestsWhileTheServerBlanksOrAWindowCoversIt) {
    auto saver = StartSaver({"--stats"});
    const auto stats = [&] {
        const std::string log = saver->Output();
        size_t lines = 0;
        for (size_t at = log.find("stats ticks/s "); at != std::string::npos; at = log.find("stats ticks/s ", at + 1)) ++lines;
        return lines;
    };
    const auto wakeUps = [&] {
        const std::string status = ReadFile("/proc/" + std::to_string(saver->Pid()) + "/status");
        const size_t at = status.find("voluntary_ctxt_switches:");
        return at == std::string::npos ? -1L : std::atol(status.c_str() + at + 24);
    };
    // Resting: two seconds without a statistics line, then ten without a wake-up.
    const auto quiet = [&] {
        const size_t lines = stats();
        Sleep(2);
        return stats() == lines;
    };
    const auto rests = [&](const std::string& why) {
        if (!WaitUntil(quiet, kStartSeconds)) {
            ADD_FAILURE() << why << ": the statistics go on\n" << saver->Output();
            return;
        }
        const size_t lines = stats();
        const long before = wakeUps();
        Sleep(10);
        EXPECT_LE(wakeUps() - before, 1) << why << ": woke " << wakeUps() - before << " times in 10 s, expected none";
        EXPECT_EQ(stats(), lines) << why << ": ticked meanwhile\n" << saver->Output();
    };
    const auto ticksAgain = [&](const std::string& why) {
        const size_t lines = stats();
        EXPECT_TRUE(WaitUntil([&] { return stats() >= lines + 2; }, kStartSeconds)) << why << ": no ticks\n" << saver->Output();
    };
    XForceScreenSaver(client->Dpy(), ScreenSaverActive);
    XSync(client->Dpy(), False);
    rests("blanked by the server");
    XForceScreenSaver(client->Dpy(), ScreenSaverReset);
    XSync(client->Dpy(), False);
    ticksAgain("the server's blanking over");
    const Window cover = client->CreateWindow(640, 480, 0xFFFFFF, 0, 0);
    rests("covered by a window");
    client->Destroy(cover);
    ticksAgain("the window gone");
    saver->Signal(SIGTERM);
    EXPECT_TRUE(EndedBySignal(*saver, SIGTERM));
}

// The X server fills GDI's pixel runs itself: the same pixels as Cairo's
// own fill of them, in every colour and at every edge.
TEST_F(TessalyE2e, TheServerFillsGdisPixelsAsCairoDoes) {
    Display* display = client->Dpy();
    const int screen = DefaultScreen(display);
    const int width = 320, height = 240;
    std::vector<std::unique_ptr<tessaly::OffscreenCanvas>> canvases;
    Window windows[2];
    tessaly::PortableGdiObjects objects;
    for (const bool server : {false, true}) {
        windows[server] = client->CreateWindow(width, height, 0, server ? width : 0, 0);
        canvases.push_back(std::make_unique<tessaly::OffscreenCanvas>(
            display, windows[server], DefaultVisual(display, screen), DefaultDepth(display, screen), width, height));
        tessaly::OffscreenCanvas& canvas = *canvases.back();
        ASSERT_EQ(canvas.Runs() != nullptr, true) << "a true-colour Xvfb has a server fill";
        tessaly::CairoDevice device(canvas.Context(), tessaly::CairoStyle::GdiPixels, server ? canvas.Runs() : nullptr);
        device.SetMapModeAnisotropic();
        device.SetWindowExt(1400, 1000);
        device.SetViewportExt(width, height);
        std::mt19937 random(7);
        for (int i = 0; i < 200; ++i) {
            const tessaly::GdiHandle brush = objects.CreateSolidBrush(tessaly::Rgb(random() % 256, random() % 256, random() % 256));
            device.SelectObject(brush);
            device.SelectObject(objects.GetStockObject(i % 2 ? tessaly::kStockWhitePen : tessaly::kStockBlackPen));
            tessaly::Point points[5];
            for (tessaly::Point& p : points) p = {static_cast<int>(random() % 1600) - 100, static_cast<int>(random() % 1200) - 100};
            if (i % 3 == 0) device.Polygon(points, 5);
            else if (i % 3 == 1) device.Polyline(points, 5);
            else device.Ellipse(points[0].x, points[0].y, points[1].x, points[1].y);
            objects.DeleteObject(brush);
        }
        canvas.CopyToWindow(tessaly::Rect{0, 0, width, height});
    }
    XSync(display, False);
    Image shots[2];
    for (int i = 0; i < 2; ++i) shots[i] = client->Grab(windows[i]);
    Save(shots[0], "-cairo");
    Save(shots[1], "-server");
    EXPECT_EQ(shots[0].CountDiffering(shots[1]), 0u) << "pixels differ between Cairo's fill and the server's";
    EXPECT_GT(shots[0].width * shots[0].height - shots[0].CountOf(0), 10000u) << "too little was drawn to compare";
}

#ifdef TESSALY_HAVE_XFIXES
#include <X11/extensions/Xfixes.h>

// The cursor the server shows: every pixel fully transparent.
TEST_F(TessalyE2e, SaverHidesThePointer) {
    int event = 0, error = 0;
    ASSERT_TRUE(XFixesQueryExtension(client->Dpy(), &event, &error));
    XFixesCursorImage* before = XFixesGetCursorImage(client->Dpy());
    ASSERT_NE(before, nullptr);
    size_t visibleBefore = 0;
    for (int i = 0; i < before->width * before->height; ++i) visibleBefore += (before->pixels[i] >> 24) != 0;
    XFree(before);
    ASSERT_GT(visibleBefore, 0u) << "the server's own cursor should be visible";

    auto saver = StartSaver();
    XFixesCursorImage* cursor = XFixesGetCursorImage(client->Dpy());
    ASSERT_NE(cursor, nullptr);
    size_t visible = 0;
    for (int i = 0; i < cursor->width * cursor->height; ++i) visible += (cursor->pixels[i] >> 24) != 0;
    XFree(cursor);
    EXPECT_EQ(visible, 0u);
    saver->Signal(SIGTERM);
    EXPECT_TRUE(EndedBySignal(*saver, SIGTERM));
}
#endif


// Two monitors as Xephyr's Xinerama heads: equal ones with RandR (which there
// describes only the first), unequal ones in swapped order (the first head on
// the right) with no RandR at all.
namespace {
const std::vector<XRectangle> kHeads[2] = {{{0, 0, 1280, 800}, {1280, 0, 1280, 800}},
                                           {{1024, 0, 1280, 800}, {0, 0, 1024, 768}}};

class SaverMonitors : public TessalyE2e {
protected:
    // The saver on layout 0 or 1; its windows in the heads' order, each with exactly its head's rectangle.
    std::vector<Window> StartOnHeads(int layout) {
        client.reset();
        xvfb = std::make_unique<Xvfb>(2560, 800, kHeads[layout], layout == 0);
        client = std::make_unique<XClient>(xvfb->Name());
        if (!client->Ok()) return {};
        client->SetRootColour(kDesktop);
        saver = Start({"/s", "--seed", "7", "--speed", "95"});
        std::vector<Window> windows, found = client->WaitForSaverWindows(2, kStartSeconds);
        for (const XRectangle& head : kHeads[layout])
            for (Window w : found) {
                XWindowAttributes a{};
                XGetWindowAttributes(client->Dpy(), w, &a);
                if (a.x == head.x && a.y == head.y && a.width == head.width && a.height == head.height)
                    windows.push_back(w);
            }
        EXPECT_TRUE(found.size() == 2 && windows.size() == 2) << "one window per head, exactly over it\n"
                                                              << saver->Output();
        return windows.size() == 2 ? windows : std::vector<Window>{};
    }

    // Both heads painted, drawings reaching each one's right and bottom edges
    // (its garden mapped onto its own size), and the two gardens different.
    void ExpectAGardenOnEachHead(const std::vector<Window>& windows) {
        Image shots[2];
        for (int i = 0; i < 2; ++i) {
            size_t right = 0, bottom = 0;
            shots[i] = client->WaitFor(windows[i], [&](const Image& shot) {
                right = bottom = 0;
                for (int y = 0; y < shot.height; ++y)
                    for (int x = 0; x < shot.width; ++x)
                        if (shot.At(x, y) != kDesktop) {
                            right += x >= shot.width * 9 / 10;
                            bottom += y >= shot.height * 9 / 10;
                        }
                return right >= 100 && bottom >= 100;
            }, kStartSeconds);
            Save(shots[i], "-head" + std::to_string(i));
            EXPECT_TRUE(right >= 100 && bottom >= 100) << "head " << i << " drawn to its right and bottom edges";
        }
        size_t differing = 0;  // over the part both heads have
        for (int y = 0; y < 768; ++y)
            for (int x = 0; x < 1024; ++x) differing += shots[0].At(x, y) != shots[1].At(x, y);
        EXPECT_GT(differing, 1024u * 768 / 100) << "the two gardens differ";
    }

    void ExpectAllGone() {
        EXPECT_TRUE(EndedCleanly(*saver));
        EXPECT_TRUE(WaitUntil([&] { return client->WaitForSaverWindows(1, 0).empty(); }, kEndSeconds)) << "every window is gone";
    }
    std::unique_ptr<Process> saver;
};
}  // namespace

// Equal heads end on a second move after a first one on the second head,
// unequal heads on a key after a first move on the first head.
TEST_F(SaverMonitors, EachMonitorGrowsItsOwnGardenAndTheFirstMoveOnEitherIsIgnored) {
    for (int layout = 0; layout < 2; ++layout) {
        const std::vector<Window> windows = StartOnHeads(layout);
        ASSERT_FALSE(windows.empty());
        ExpectAGardenOnEachHead(windows);
        const XRectangle& head = kHeads[layout][1 - layout];
        const int x = head.x + head.width / 2, y = head.y + head.height / 2;
        ASSERT_EQ(Xdotool({"mousemove", std::to_string(x), std::to_string(y)}), 0);
        Sleep(kGraceSeconds);
        ASSERT_TRUE(saver->Running()) << "the first move ended the saver (layout " << layout << ")";
        if (layout == 0) ASSERT_EQ(Xdotool({"mousemove", std::to_string(x + 1), std::to_string(y)}), 0);
        else ASSERT_EQ(Xdotool({"key", "a"}), 0);
        ExpectAllGone();
    }
}

TEST_F(SaverMonitors, AClickOrAnotherProgramTakingTheFocusEndsEveryWindow) {
    ASSERT_FALSE(StartOnHeads(1).empty());
    ASSERT_EQ(Xdotool({"click", "1"}), 0);
    ExpectAllGone();
    ASSERT_FALSE(StartOnHeads(0).empty());
    Sleep(kGraceSeconds);  // focus moving among the saver's own windows is no reason to end
    ASSERT_TRUE(saver->Running());
    XSetInputFocus(client->Dpy(), client->CreateWindow(50, 50, 0xFFFFFF), RevertToParent, CurrentTime);
    XSync(client->Dpy(), False);
    ExpectAllGone();
}
