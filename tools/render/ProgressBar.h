// A one-line progress bar on stderr, redrawn in place; silent unless stderr
// is a terminal and the run is long enough to wait for.
#pragma once

#include <cstdint>
#include <cstdio>

namespace tessaly {

class ProgressBar {
public:
    ProgressBar(int64_t total, bool enabled) : total_(total), enabled_(enabled && total > 0) {}
    ~ProgressBar() { Clear(); }

    void Update(int64_t done) {
        if (!enabled_) return;
        const int percent = static_cast<int>(done * 100 / total_);
        if (percent == lastPercent_) return;
        lastPercent_ = percent;
        constexpr int kWidth = 40;
        char bar[kWidth + 1];
        const int filled = percent * kWidth / 100;
        for (int i = 0; i < kWidth; ++i) bar[i] = i < filled ? '#' : '.';
        bar[kWidth] = '\0';
        std::fprintf(stderr, "\r[%s] %3d%%  tick %lld of %lld", bar, percent, static_cast<long long>(done),
                     static_cast<long long>(total_));
        std::fflush(stderr);
        shown_ = true;
    }
    void Clear() {
        if (!shown_) return;
        std::fprintf(stderr, "\r%80s\r", "");
        std::fflush(stderr);
        shown_ = false;
    }

private:
    int64_t total_;
    bool enabled_;
    int lastPercent_ = -1;
    bool shown_ = false;
};

}  // namespace tessaly
