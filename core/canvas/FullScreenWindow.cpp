#include "canvas/FullScreenWindow.h"

namespace tessaly {

namespace {
const Point kNoMouseMoveYet{-1, -1};
}  // namespace

FullScreenWindow::FullScreenWindow(GardenState& gardenState, GdiObjects& objects, SaverRun& run)
    : CanvasWindow(gardenState, objects), run_(run) {}

FullScreenWindow::~FullScreenWindow() = default;

void FullScreenWindow::OnMouseMove(int x, int y) {
    // The system sends one move when the window appears under the pointer:
    // that first one only records where the pointer is.
    Point& first = run_.FirstMousePoint();
    if (first == kNoMouseMoveYet) {
        first = Point{x, y};
        return;
    }
    if (x != first.x || y != first.y) run_.Close();
}

void FullScreenWindow::OnButtonOrKeyDown() { run_.Close(); }

void FullScreenWindow::OnDeactivate() { run_.Close(); }

}  // namespace tessaly
