#include "canvas/FullScreenWindow.h"

namespace tessaly {

namespace {
const Point kNoMouseMoveYet{-1, -1};
}  // namespace

FullScreenWindow::FullScreenWindow(GdiObjects& objects, Point* sharedMousePoint)
    : CanvasWindow(1, objects), mousePoint_(sharedMousePoint != nullptr ? sharedMousePoint : &lastMousePoint) {
    lastMousePoint = kNoMouseMoveYet;
}

FullScreenWindow::~FullScreenWindow() = default;

void FullScreenWindow::OnMouseMove(int x, int y) {
    // The system sends one move when the window appears under the pointer:
    // that first one only records where the pointer is.
    Point& first = *mousePoint_;
    if (first == kNoMouseMoveYet) {
        first = Point{x, y};
        return;
    }
    if (x != first.x || y != first.y) {
        if (Host() != nullptr) Host()->PostClose();
    }
}

void FullScreenWindow::OnButtonOrKeyDown() {
    if (Host() != nullptr) Host()->PostClose();
}

void FullScreenWindow::OnDeactivate() {
    if (Host() != nullptr) Host()->PostClose();
}

bool FullScreenWindow::OnSysCommand(unsigned command) const {
    // Compared whole, low four bits included, as the window receives it.
    return command == kScScreenSave || command == kScClose;
}

}  // namespace tessaly
