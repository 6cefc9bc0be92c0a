#include "canvas/CanvasWindow.h"

#include <cstdint>

#include "scene/SceneCycle.h"

namespace tessaly {

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

CanvasWindow::CanvasWindow(GardenState& gardenState, GdiObjects& objects)
    : state(gardenState), pen(objects), brushes(objects), scene(std::make_unique<Scene>(gardenState)) {}

CanvasWindow::~CanvasWindow() = default;

int CanvasWindow::OnCreate() {
    SetSpeed(state.speedSetting);
    return 0;
}

void CanvasWindow::OnTick() {
    StepSceneCycle();
    if (host_ != nullptr) host_->RequestPaint();
}

void CanvasWindow::StepSceneCycle() {
    // A scene is replaced only once the paints have taken all its figures.
    if (scene != nullptr && scene->figures.Size() >= 1) return;
    ++sceneCounter;
    // Start-up keeps the setting at 1 or more; held there so a divisor of 0
    // can never occur, and widened so no product can overflow.
    const int64_t cycleLength = state.cycleLengthSetting < 1 ? 1 : state.cycleLengthSetting;
    const int64_t scenesPerSlot = cycleLength * kScenesPerCycleLength;
    const int32_t cycleSlot = static_cast<int32_t>(sceneCounter / scenesPerSlot);
    scene.reset();
    const SceneKind kind = SceneKindForSlot(cycleSlot);
    scene = CreateScene(kind, state);
    if (kind == SceneKind::Snow && cycleSlot > kLastSnowSlot) sceneCounter = 0;
}

void CanvasWindow::OnPaint(DrawingDevice& dc) {
    if (scene == nullptr || scene->figures.Size() == 0) return;
    if (clientRectRead == 0) {
        clientRectRead = 1;
        if (host_ != nullptr) clientRect = host_->ClientSize();
    }
    PaintFigures(*scene, dc, pen, brushes, clientRect, state.buildSetting == kStepByStepBuild);
}

void PaintFigures(Scene& scene, DrawingDevice& dc, CPen& pen, PenBrushSet& brushes, Size client, bool oneFigure) {
    dc.SetMapModeAnisotropic();
    dc.SetWindowExt(logicalWidth, logicalHeight);
    dc.SetViewportExt(client.width, client.height);
    dc.SetViewportOrg(0, 0);
    scene.SetColours(&pen, &brushes);
    dc.SelectObject(pen.GetSafeHandle());
    FigureQueue& queue = scene.figures;
    while (queue.Size() > 0) {
        queue.Oldest()->Draw(dc, brushes);
        queue.PopOldest();
        if (oneFigure) break;
    }
}

void CanvasWindow::SetSpeed(int speed) {
    if (host_ != nullptr) host_->StopTicking();
    if (speed >= kMinSpeed && speed <= kMaxSpeed) state.speedSetting = speed;
    if (host_ != nullptr && visible_) host_->StartTicking(TimerPeriodForSpeed(state.speedSetting));
}

void CanvasWindow::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    // Hidden: the timer stops; seen again: it starts at the speed setting.
    SetSpeed(state.speedSetting);
}

void CanvasWindow::SetCycleLength(int length) {
    if (length < 1) length = 1;
    if (length == lastCycleLength) return;
    lastCycleLength = length;
    if (host_ != nullptr) host_->RepaintNow();
}

void CanvasWindow::OnWindowDestroyed() {
    // The queue deletes its figures oldest first, then the scene goes.
    if (scene != nullptr) {
        while (scene->figures.Size() > 0) scene->figures.PopOldest();
    }
    scene.reset();
}

}  // namespace tessaly
