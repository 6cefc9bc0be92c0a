#include "canvas/FullScreenWindow.h"

namespace tessaly {

namespace {
const Point kNoMouseMoveYet{-1, -1};
}  // namespace

FullScreenWindow::FullScreenWindow(GardenState& gardenState, GdiObjects& objects, Point* sharedMousePoint)
    : CanvasWindow(gardenState, objects),
      mousePoint_(sharedMousePoint != nullptr ? sharedMousePoint : &lastMousePoint) {
    lastMousePoint = kNoMouseMoveYet;
}

FullScreenWindow::FullScreenWindow(GardenState& gardenState, GdiObjects& objects, SaverRun& run)
    : FullScreenWindow(gardenState, objects, &run.FirstMousePoint()) {
    run_ = &run;
}

FullScreenWindow::~FullScreenWindow() = default;

void FullScreenWindow::Close() {
    if (run_ != nullptr) run_->Close();
    else if (Host() != nullptr) Host()->RequestClose();
}

void FullScreenWindow::OnMouseMove(int x, int y) {
    // The system sends one move when the window appears under the pointer:
    // that first one only records where the pointer is.
    Point& first = *mousePoint_;
    if (first == kNoMouseMoveYet) {
        first = Point{x, y};
        return;
    }
    if (x != first.x || y != first.y) Close();
}

void FullScreenWindow::OnButtonOrKeyDown() { Close(); }

void FullScreenWindow::OnDeactivate() { Close(); }

}  // namespace tessaly
