// Scripted random draws for tests: the listed raw values first, then `rest`
// for every later draw. Counts the draws taken; restores the generator on
// destruction.
#pragma once

#include <deque>
#include <vector>

#include "random/Random.h"

namespace tessaly {

class ScriptedDraws {
public:
    explicit ScriptedDraws(std::vector<int> opening, int rest = 0)
        : queue_(opening.begin(), opening.end()), rest_(rest) {
        SetRandomSource([this] {
            ++used;
            if (queue_.empty()) return rest_;
            const int r = queue_.front();
            queue_.pop_front();
            return r;
        });
    }
    ~ScriptedDraws() { SetRandomSource(nullptr); }
    ScriptedDraws(const ScriptedDraws&) = delete;
    ScriptedDraws& operator=(const ScriptedDraws&) = delete;

    int used = 0;

private:
    std::deque<int> queue_;
    int rest_;
};

// The smallest raw draw r with r * n / 32768 == value.
inline int DrawFor(int value, int n) { return (value * 32768 + n - 1) / n; }

}  // namespace tessaly
