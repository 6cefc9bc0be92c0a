// The window the garden is painted in, without the platform: it owns the
// current scene, the pen and brushes, and drives everything from timer 1.
// A platform creates the real window, binds itself as the WindowHost, and
// forwards create / timer / paint / final-destroy to these handlers.
#pragma once

#include <cstdint>
#include <memory>

#include "base/Geometry.h"
#include "canvas/WindowHost.h"
#include "device/DrawingDevice.h"
#include "device/GdiObjects.h"
#include "scene/PenBrushSet.h"
#include "scene/Scene.h"

namespace tessaly {

constexpr int kCanvasTimerId = 1;

// The client rectangle of the process's one canvas, read at its first drawing paint.
extern Rect canvasClientRect;

// Timer period for a speed setting: 505 - 5 x speed milliseconds.
unsigned TimerPeriodForSpeed(int speed);

// The drawing part of a paint: the logical canvas mapped onto `client`, the
// scene's colours, the pen, then figures from the oldest end of the queue,
// each drawn and deleted; only one when `oneFigure`.
void PaintFigures(Scene& scene, DrawingDevice& dc, CPen& pen, PenBrushSet& brushes, const Rect& client,
                  bool oneFigure);

class CanvasWindow {
public:
    CanvasWindow(int autoDelete, GdiObjects& objects);
    virtual ~CanvasWindow();
    CanvasWindow(const CanvasWindow&) = delete;
    CanvasWindow& operator=(const CanvasWindow&) = delete;

    // The platform binds its window before WM_CREATE and unbinds it when gone.
    void AttachHost(WindowHost* host) { host_ = host; }
    WindowHost* Host() const { return host_; }

    // WM_CREATE after the default handling succeeded: starts timer 1.
    int OnCreate();
    // WM_TIMER: returns false for ids other than 1 (default handling).
    bool OnTimer(uintptr_t id);
    // WM_PAINT, between BeginPaint and EndPaint.
    void OnPaint(DrawingDevice& dc);
    // After the window's last message: drains the queue, deletes the scene,
    // and deletes this object when autoDelete is nonzero.
    void PostNcDestroy();

    void SetSpeed(int speed);
    void SetCycleLength(int length);

    // Read access for hosts, tests and tools. A canvas always has a scene
    // while its window lives; one that outlived its window has none.
    bool HasScene() const { return scene != nullptr; }
    Scene& CurrentScene() { return *scene; }
    int32_t SceneCounter() const { return sceneCounter; }
    bool ClientRectRead() const { return clientRectRead != 0; }
    const PenBrushSet& Brushes() const { return brushes; }
    const CPen& Pen() const { return pen; }

protected:
    int32_t lastCycleLength = 0;
    int32_t autoDelete;
    int32_t clientRectRead = 0;
    CPen pen;
    PenBrushSet brushes;
    int32_t sceneCounter = 0;
    std::unique_ptr<Scene> scene;

private:
    void StepSceneCycle();
    WindowHost* host_ = nullptr;
};

}  // namespace tessaly
