#include "random/Random.h"

#include <utility>

namespace tessaly {

namespace {
uint32_t state = 1;
std::function<int()> scripted;
}  // namespace

void SeedRandom(uint32_t seed) { state = seed; }

int Rand() {
    if (scripted) return scripted();
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
}

void SetRandomSource(std::function<int()> source) { scripted = std::move(source); }

}  // namespace tessaly
