#include "random/Random.h"

#include <utility>

namespace tessaly {

int Random::Rand() {
    if (scripted_) return scripted_();
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFF);
}

void Random::SetSource(std::function<int()> source) { scripted_ = std::move(source); }

}  // namespace tessaly
