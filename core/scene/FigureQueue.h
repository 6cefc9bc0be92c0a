// First-in, first-out queue of figure pointers. It never creates, copies or
// deletes a figure: its consumer (the canvas) deletes each one it takes.
#pragma once

#include <cstdint>
#include <deque>

namespace tessaly {

class Figure;

class FigureQueue {
public:
    void Push(Figure* figure) { items_.push_back(figure); }
    Figure* Newest() const { return items_.back(); }
    Figure* Oldest() const { return items_.front(); }
    void PopOldest() { items_.pop_front(); }
    uint32_t Size() const { return static_cast<uint32_t>(items_.size()); }

private:
    std::deque<Figure*> items_;
};

}  // namespace tessaly
