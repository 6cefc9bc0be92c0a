#include "canvas/CanvasWindow.h"

#include <cstdint>

#include "figures/Figure.h"
#include "scene/SceneCycle.h"
#include "settings/Settings.h"

namespace tessaly {

Rect canvasClientRect{};

namespace {
constexpr int kMinSpeed = 0;
constexpr int kMaxSpeed = 100;
constexpr int kStepByStepBuild = 1;  // only this value paints one figure per paint
}  // namespace

unsigned TimerPeriodForSpeed(int speed) {
    // Out-of-range speeds never reach the timer (SetSpeed keeps the old one);
    // held to the range here so the period can never wrap around.
    if (speed < kMinSpeed) speed = kMinSpeed;
    if (speed > kMaxSpeed) speed = kMaxSpeed;
    return static_cast<unsigned>(505 - 5 * speed);
}

CanvasWindow::CanvasWindow(int autoDeleteArg, GdiObjects& objects)
    : autoDelete(autoDeleteArg), pen(objects), brushes(objects), scene(std::make_unique<Scene>()) {}

CanvasWindow::~CanvasWindow() = default;

int CanvasWindow::OnCreate() {
    SetSpeed(speedSetting);
    return 0;
}

bool CanvasWindow::OnTimer(uintptr_t id) {
    if (id != kCanvasTimerId) return false;
    StepSceneCycle();
    if (host_ != nullptr) host_->InvalidateRect(false);
    return true;
}

void CanvasWindow::StepSceneCycle() {
    // A scene is replaced only once the paints have taken all its figures.
    if (scene != nullptr && scene->figures.Size() >= 1) return;
    ++sceneCounter;
    // Start-up keeps the setting at 1 or more; held there so a divisor of 0
    // can never occur, and widened so no product can overflow.
    const int64_t cycleLength = cycleLengthSetting < 1 ? 1 : cycleLengthSetting;
    const int64_t scenesPerSlot = cycleLength * kScenesPerCycleLength;
    const int32_t cycleSlot = static_cast<int32_t>(sceneCounter / scenesPerSlot);
    scene.reset();
    const SceneKind kind = SceneKindForSlot(cycleSlot);
    scene = CreateScene(kind);
    if (kind == SceneKind::Snow && cycleSlot > kLastSnowSlot) sceneCounter = 0;
}

void CanvasWindow::OnPaint(DrawingDevice& dc) {
    if (scene == nullptr || scene->figures.Size() == 0) return;
    if (clientRectRead == 0) {
        clientRectRead = 1;
        if (host_ != nullptr) canvasClientRect = host_->GetClientRect();
    }
    PaintFigures(*scene, dc, pen, brushes, canvasClientRect, buildSetting == kStepByStepBuild);
}

void PaintFigures(Scene& scene, DrawingDevice& dc, CPen& pen, PenBrushSet& brushes, const Rect& client,
                  bool oneFigure) {
    dc.SetMapModeAnisotropic();
    dc.SetWindowExt(logicalWidth, logicalHeight);
    dc.SetViewportExt(client.right, client.bottom);
    dc.SetViewportOrg(0, 0);
    scene.SetColours(&pen, &brushes);
    dc.SelectObject(pen.GetSafeHandle());
    FigureQueue& queue = scene.figures;
    while (queue.Size() > 0) {
        Figure* figure = queue.Oldest();
        figure->Draw(dc, brushes);
        delete figure;
        queue.PopOldest();
        if (oneFigure) break;
    }
}

void CanvasWindow::SetSpeed(int speed) {
    if (host_ != nullptr) host_->KillTimer(kCanvasTimerId);
    if (speed >= kMinSpeed && speed <= kMaxSpeed) speedSetting = speed;
    if (host_ != nullptr) host_->SetTimer(kCanvasTimerId, TimerPeriodForSpeed(speedSetting));
}

void CanvasWindow::SetCycleLength(int length) {
    if (length < 1) length = 1;
    if (length == lastCycleLength) return;
    lastCycleLength = length;
    if (host_ != nullptr) {
        host_->InvalidateRect(true);
        host_->UpdateWindow();
    }
}

void CanvasWindow::PostNcDestroy() {
    if (scene != nullptr) {
        FigureQueue& queue = scene->figures;
        while (queue.Size() > 0) {
            delete queue.Oldest();
            queue.PopOldest();
        }
    }
    // A canvas that outlives its window (autoDelete 0) is left with no scene;
    // should its window be created again, the first tick builds a new one.
    scene.reset();
    if (autoDelete != 0) delete this;
}

}  // namespace tessaly
