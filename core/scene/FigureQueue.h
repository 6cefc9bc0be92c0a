// First-in, first-out queue of the figures of one drawing. It owns them: a
// figure taken from the oldest end is deleted, and a queue destroyed with
// figures left deletes them, oldest first.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>

#include "figures/Figure.h"

namespace tessaly {

class FigureQueue {
public:
    FigureQueue() = default;
    FigureQueue(const FigureQueue&) = delete;
    FigureQueue& operator=(const FigureQueue&) = delete;
    ~FigureQueue() {
        while (Size() > 0) PopOldest();
    }

    void Push(std::unique_ptr<Figure> figure) { items_.push_back(std::move(figure)); }
    Figure* Newest() const { return items_.back().get(); }
    Figure* Oldest() const { return items_.front().get(); }
    // Deletes the oldest figure.
    void PopOldest() { items_.pop_front(); }
    uint32_t Size() const { return static_cast<uint32_t>(items_.size()); }

private:
    std::deque<std::unique_ptr<Figure>> items_;
};

}  // namespace tessaly
