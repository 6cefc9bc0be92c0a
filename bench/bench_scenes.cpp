// What one tick costs: building each kind of scene, painting it at 1920x1080
// through the Cairo device (GDI pixels and smooth), and the real canvas over
// a whole default pass. At Speed 100 a tick has 5 ms.
#include <benchmark/benchmark.h>

#include <sstream>

#include "cairo/CairoDevice.h"
#include "cairo/CairoImage.h"
#include "headless/HeadlessHost.h"
#include "svg/SvgDevice.h"
#include "canvas/CanvasWindow.h"
#include "device/PortableGdiObjects.h"
#include "figures/Figure.h"
#include "device/GdiHolders.h"
#include "device/PenBrushSet.h"
#include "scene/SceneCycle.h"
#include "settings/Settings.h"

namespace tessaly {
namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

void DeleteFigures(Scene& scene) {
    while (scene.figures.Size() > 0) scene.figures.PopOldest();
}

void BM_BuildScene(benchmark::State& state) {
    const auto kind = static_cast<SceneKind>(state.range(0));
    state.SetLabel(SceneKindName(kind));
    GardenState garden;
    garden.random.Seed(1);
    int64_t figures = 0;
    for (auto _ : state) {
        std::unique_ptr<Scene> scene = CreateScene(kind, garden);
        figures += scene->figures.Size();
        DeleteFigures(*scene);
    }
    state.counters["figures"] = benchmark::Counter(static_cast<double>(figures), benchmark::Counter::kAvgIterations);
}

// One kind of scene, built again and again from one garden, painted with
// its own pen and brushes.
struct ScenePainting {
    explicit ScenePainting(benchmark::State& state) : kind(static_cast<SceneKind>(state.range(0))) {
        state.SetLabel(SceneKindName(kind));
        garden.random.Seed(1);
    }
    void Paint(DrawingDevice& device) { PaintFigures(*scene, device, pen, brushes, Size{kWidth, kHeight}, false); }

    SceneKind kind;
    GardenState garden;
    PortableGdiObjects objects;
    CPen pen{objects};
    PenBrushSet brushes{objects};
    std::unique_ptr<Scene> scene;
};

template <CairoStyle Style>
void BM_PaintScene(benchmark::State& state) {
    ScenePainting painting(state);
    CairoSurface image = CreateFilledImage(kWidth, kHeight, Rgb(0, 0, 0));
    CairoContext cr(cairo_create(image.get()));
    CairoDevice device(cr.get(), Style);
    for (auto _ : state) {
        state.PauseTiming();
        painting.scene = CreateScene(painting.kind, painting.garden);
        device.ResetPaintState();
        state.ResumeTiming();
        painting.Paint(device);
        cairo_surface_flush(image.get());
    }
}

void BM_SvgScene(benchmark::State& state) {
    ScenePainting painting(state);
    for (auto _ : state) {
        state.PauseTiming();
        painting.scene = CreateScene(painting.kind, painting.garden);
        std::ostringstream out;
        SvgDevice device(out, kWidth, kHeight);
        state.ResumeTiming();
        painting.Paint(device);
        device.Finish();
    }
}

// The real canvas on the headless host: one default pass (1400 ticks, every
// kind of scene in its share) per iteration, reported per tick.
void BM_DefaultPassTicks(benchmark::State& state) {
    const int ticks = 7 * 40 * kSettingRules[kCycleLengthSetting].defaultValue;
    for (auto _ : state) {
        GardenState garden;
        LoadDefaults(garden);
        garden.random.Seed(7);
        CairoSurface image = CreateFilledImage(kWidth, kHeight, Rgb(0, 0, 0));
        CairoContext cr(cairo_create(image.get()));
        CairoDevice device(cr.get());
        PortableGdiObjects objects;
        HeadlessRun run(garden, objects, Size{kWidth, kHeight}, [&](CanvasWindow& canvas) {
            device.ResetPaintState();
            canvas.OnPaint(device);
        });
        run.Ticks(ticks);
    }
    state.SetItemsProcessed(state.iterations() * ticks);
}

void SceneKinds(benchmark::internal::Benchmark* b) {
    for (int kind = 0; kind <= static_cast<int>(SceneKind::Snow); ++kind) b->Arg(kind);
    b->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_BuildScene)->Apply(SceneKinds);
BENCHMARK(BM_PaintScene<CairoStyle::GdiPixels>)->Name("BM_PaintScene1920x1080")->Apply(SceneKinds);
BENCHMARK(BM_PaintScene<CairoStyle::Smooth>)->Name("BM_PaintScene1920x1080Smooth")->Apply(SceneKinds);
BENCHMARK(BM_SvgScene)->Apply(SceneKinds);
BENCHMARK(BM_DefaultPassTicks)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace tessaly

BENCHMARK_MAIN();
