// The random generator of the garden, yielding 0 to 32767:
//   state = state * 214013 + 2531011 (mod 2^32), result = (state >> 16) & 0x7FFF.
// A seed therefore means the same garden on every platform. A process has one,
// in its GardenState, shared by every canvas it shows.
#pragma once

#include <cstdint>
#include <functional>

namespace tessaly {

class Random {
public:
    void Seed(uint32_t seed) { state_ = seed; }
    int Rand();  // 0..32767

    // Tests can script the draws: while a source is set, Rand() returns its
    // values instead of stepping the generator. Pass an empty function to go back.
    void SetSource(std::function<int()> source);

    // The draw forms the scenes are written in. Each is exactly one Rand()
    // call, made as its own statement so that the order of draws is fixed.
    int R(int n) {  // 0 .. n-1
        const int r = Rand();
        return r * n / 32768;
    }
    int Q(int n) {  // 0 .. n, n only for 32767
        const int r = Rand();
        return r * n / 32767;
    }
    double F(double a, double b) {  // b up to b + a
        const int r = Rand();
        return r * a / 32768.0 + b;
    }
    bool Coin() {
        const int r = Rand();
        return r >= 16384;
    }

private:
    uint32_t state_ = 1;
    std::function<int()> scripted_;
};

}  // namespace tessaly
