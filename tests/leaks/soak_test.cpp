// Runs the real canvas for 100,000 ticks and checks that nothing piles up:
// live allocations stay bounded while it runs, live brushes never exceed the
// seven slots, and teardown gives back every allocation and brush.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdlib>
#include <new>

#include "canvas/CanvasWindow.h"
#include "device/PortableGdiObjects.h"
#include "headless/HeadlessHost.h"
#include "cairo/CairoDevice.h"
#include "session/CanvasBinding.h"
#include "settings/Settings.h"

namespace {
long liveAllocations = 0;
}

void* operator new(std::size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) throw std::bad_alloc();
    ++liveAllocations;
    return p;
}
void operator delete(void* p) noexcept {
    if (p == nullptr) return;
    --liveAllocations;
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete[](void* p, std::size_t) noexcept { operator delete(p); }
// The nothrow forms pair with the plain delete above (a library may allocate
// with one and free with the other), so they must come from here too.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try { return operator new(size); } catch (const std::bad_alloc&) { return nullptr; }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p, const std::nothrow_t&) noexcept { operator delete(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { operator delete(p); }

using namespace tessaly;

namespace {

// Portable pens and brushes, counted without allocating.
class CountedObjects final : public GdiObjects {
public:
    GdiHandle GetStockObject(int index) override { return inner_.GetStockObject(index); }
    GdiHandle CreateSolidBrush(ColourRef colour) override {
        ++live;
        ++created;
        return inner_.CreateSolidBrush(colour);
    }
    bool DeleteObject(GdiHandle object) override {
        if (object != nullptr && !PortableGdiObjects::Record(object)->stock) --live;
        return inner_.DeleteObject(object);
    }
    std::size_t live = 0, created = 0;

private:
    PortableGdiObjects inner_;
};

// The canvas, and how many figures its scene holds.
class SoakCanvas final : public CanvasWindow {
public:
    using CanvasWindow::CanvasWindow;
    uint32_t Queued() const { return scene != nullptr ? scene->figures.Size() : 0; }
};

struct SoakResult {
    long peakDuringRun = 0;
    long leftAfterTeardown = 0;
    std::size_t peakBrushes = 0;
    std::size_t brushesAfterTeardown = 0;
    std::size_t brushesCreated = 0;
    uint32_t queuedAtTeardown = 0;
};

SoakResult Soak(int ticks, int build, int cycleLength) {
    GardenState state;
    state.random.Seed(20261207);
    state.cycleLengthSetting = cycleLength;
    state.speedSetting = 100;
    state.buildSetting = build;

    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 192, 108);
    cairo_t* cr = cairo_create(surface);
    SoakResult result;
    {
        CountedObjects objects;
        const long baseline = liveAllocations;
        {
            // What HeadlessRun does, with a canvas that shows its queue.
            CairoDevice device(cr);
            HeadlessHost host(192, 108);
            CanvasBinding binding(std::make_unique<SoakCanvas>(state, objects));
            host.SetPaintHandler([&] {
                device.ResetPaintState();
                binding.Canvas().OnPaint(device);
            });
            binding.Bind(host);
            for (int i = 0; i < ticks; ++i) {
                host.Tick(binding.Canvas());
                if (liveAllocations - baseline > result.peakDuringRun)
                    result.peakDuringRun = liveAllocations - baseline;
                if (objects.live > result.peakBrushes) result.peakBrushes = objects.live;
            }
            result.queuedAtTeardown = static_cast<SoakCanvas&>(binding.Canvas()).Queued();
        }  // the window goes: the queued figures, the scene and the canvas are deleted
        result.leftAfterTeardown = liveAllocations - baseline;
        result.brushesAfterTeardown = objects.live;
        result.brushesCreated = objects.created;
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return result;
}

}  // namespace

TEST(Soak, HundredThousandTicksOfWholeDrawings) {
    const SoakResult r = Soak(100000, 0, 1);  // cycle length 1: 357 passes through every kind
    EXPECT_EQ(r.leftAfterTeardown, 0);
    EXPECT_EQ(r.brushesAfterTeardown, 0u);
    EXPECT_LE(r.peakBrushes, 7u);
    EXPECT_GT(r.brushesCreated, 100000u);  // one brush per loaded slot per paint
    // One scene with its figures, palette and queue at a time: a few hundred
    // allocations, never a growing heap.
    EXPECT_LT(r.peakDuringRun, 1000);
}

TEST(Soak, FigureByFigureAndTeardownWithFiguresQueued) {
    // 20,001 ticks end in the middle of a scene, so teardown finds figures queued.
    const SoakResult r = Soak(20001, 1, 1);
    ASSERT_GT(r.queuedAtTeardown, 0u);
    EXPECT_EQ(r.leftAfterTeardown, 0);
    EXPECT_EQ(r.brushesAfterTeardown, 0u);
    EXPECT_LE(r.peakBrushes, 7u);
    EXPECT_LT(r.peakDuringRun, 1000);
}
