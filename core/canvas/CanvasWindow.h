// The window the garden is painted in, without the platform: it owns the
// current scene, the pen and brushes, and drives everything from its tick.
// A platform creates the real window, binds itself as the WindowHost, and
// forwards create / tick / paint / destroy to these handlers. The platform
// owns the canvas; several canvases may share one GardenState.
#pragma once

#include <cstdint>
#include <memory>

#include "base/Geometry.h"
#include "canvas/WindowHost.h"
#include "device/DrawingDevice.h"
#include "device/GdiObjects.h"
#include "device/PenBrushSet.h"
#include "scene/Scene.h"
#include "state/GardenState.h"

namespace tessaly {

// Timer period for a speed setting: 505 - 5 x speed milliseconds.
unsigned TimerPeriodForSpeed(int speed);

// The drawing part of a paint: the logical canvas mapped onto a client area
// of `client` pixels, the scene's colours, the pen, then figures from the
// oldest end of the queue, each drawn and deleted; only one when `oneFigure`.
void PaintFigures(Scene& scene, DrawingDevice& dc, CPen& pen, PenBrushSet& brushes, Size client, bool oneFigure);

class CanvasWindow {
public:
    CanvasWindow(GardenState& state, GdiObjects& objects);
    virtual ~CanvasWindow();
    CanvasWindow(const CanvasWindow&) = delete;
    CanvasWindow& operator=(const CanvasWindow&) = delete;

    // The platform binds its window before OnCreate and unbinds it when gone.
    void AttachHost(WindowHost* host) { host_ = host; }

    // The window exists: starts ticking at the speed setting.
    int OnCreate();
    // One tick: the scene cycle, then a paint request.
    void OnTick();
    // A paint of the whole client area.
    void OnPaint(DrawingDevice& dc);
    // After the window is gone: drains the queue and deletes the scene. A
    // canvas whose window is created again starts over with a new scene.
    void OnWindowDestroyed();
    // The window changed size: the next paint that draws maps the canvas
    // onto the new client area. What was painted stays as it is.
    void ClientAreaChanged() { clientRectRead = 0; }

    void SetSpeed(int speed);
    void SetCycleLength(int length);

    // Whether anybody can see the window. A canvas nobody can see (its
    // display off, a lock screen over it) does no work: it stops ticking,
    // and when it is seen again it ticks on, growing the same garden.
    void SetVisible(bool visible);
    bool Visible() const { return visible_; }

    // The garden this canvas grows (the settings dialog sets its build flag).
    GardenState& State() { return state; }

protected:
    GardenState& state;
    int32_t lastCycleLength = 0;
    int32_t clientRectRead = 0;
    Size clientRect{};
    CPen pen;
    PenBrushSet brushes;
    int32_t sceneCounter = 0;
    std::unique_ptr<Scene> scene;

private:
    void StepSceneCycle();
    WindowHost* host_ = nullptr;
    bool visible_ = true;
};

}  // namespace tessaly
