#include "FreshSeed.h"

#include <time.h>
#include <unistd.h>

namespace tessaly {

namespace {

// Every bit of both inputs reaches every bit of the seed.
uint32_t MixSeed(uint64_t clockNs, uint64_t processId) {
    // A 64-bit finaliser (multiply-xorshift): nearby clocks and ids land far apart.
    uint64_t z = clockNs ^ (processId * 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<uint32_t>(z ^ (z >> 32));
}

}  // namespace

uint32_t FreshSeed() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const uint64_t ns = static_cast<uint64_t>(now.tv_sec) * 1000000000ull + static_cast<uint64_t>(now.tv_nsec);
    return MixSeed(ns, static_cast<uint64_t>(getpid()));
}

}  // namespace tessaly
