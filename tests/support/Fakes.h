// Test doubles shared by every test of the garden: scripted random draws, a
// window host that records what the canvas asks of it, and a drawing device
// that records every call.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <set>

#include "canvas/WindowHost.h"
#include "device/GdiObjects.h"
#include "device/DrawingDevice.h"
#include "random/Random.h"

namespace tessaly::testing {

// The generator's own formula, run here so the test sees every value it
// hands out; single draws can be replaced by index. Scripts `random` for its
// lifetime.
class ScriptedRandom {
public:
    explicit ScriptedRandom(Random& random, uint32_t seed = 1) : random_(random), state_(seed) {
        random_.SetSource([this] { return Next(); });
    }
    ~ScriptedRandom() { random_.SetSource({}); }
    ScriptedRandom(const ScriptedRandom&) = delete;
    ScriptedRandom& operator=(const ScriptedRandom&) = delete;

    void Override(std::size_t index, int value) { overrides_[index] = value; }
    const std::vector<int>& Drawn() const { return drawn_; }
    std::size_t Count() const { return drawn_.size(); }

private:
    int Next() {
        state_ = state_ * 214013u + 2531011u;
        int value = static_cast<int>((state_ >> 16) & 0x7FFF);
        auto it = overrides_.find(drawn_.size());
        if (it != overrides_.end()) value = it->second;
        drawn_.push_back(value);
        return value;
    }
    Random& random_;
    uint32_t state_;
    std::map<std::size_t, int> overrides_;
    std::vector<int> drawn_;
};

// Raw draws for tests: the listed values first, then `rest` for every later
// draw, counting the draws taken. Scripts `random` for its lifetime.
class ScriptedDraws {
public:
    ScriptedDraws(Random& random, std::vector<int> opening, int rest = 0)
        : random_(random), queue_(opening.begin(), opening.end()), rest_(rest) {
        random_.SetSource([this] {
            ++used;
            if (queue_.empty()) return rest_;
            const int r = queue_.front();
            queue_.pop_front();
            return r;
        });
    }
    ~ScriptedDraws() { random_.SetSource(nullptr); }
    ScriptedDraws(const ScriptedDraws&) = delete;
    ScriptedDraws& operator=(const ScriptedDraws&) = delete;

    int used = 0;

private:
    Random& random_;
    std::deque<int> queue_;
    int rest_;
};

// The smallest raw draw r with r * n / 32768 == value.
inline int DrawFor(int value, int n) { return (value * 32768 + n - 1) / n; }

class FakeHost : public WindowHost {
public:
    void StartTicking(unsigned periodMs) override {
        periods.push_back(periodMs);
        Log("StartTicking " + std::to_string(periodMs));
    }
    void StopTicking() override {
        ++stops;
        Log("StopTicking");
    }
    void RequestPaint() override { Log("RequestPaint"); }
    void RepaintNow() override {
        ++repaints;
        Log("RepaintNow");
    }
    Size ClientSize() override {
        ++clientRectReads;
        return clientSize;
    }

    void Log(const std::string& call) { calls.push_back(call); }

    Size clientSize{700, 500};
    std::vector<unsigned> periods;  // every StartTicking, in order
    int stops = 0;
    int repaints = 0;
    int clientRectReads = 0;
    std::vector<std::string> calls;
};

// Wraps GDI objects of any kind (portable records, real GDI) and records
// every creation and deletion: which, in what order, which are still alive.
template <class Inner>
class RecordingObjects final : public GdiObjects {
public:
    struct Call {
        char op;  // 'C' create, 'D' delete
        GdiHandle handle;
        ColourRef colour;  // of a created brush
    };

    GdiHandle GetStockObject(int index) override { return inner.GetStockObject(index); }
    GdiHandle CreateSolidBrush(ColourRef colour) override {
        GdiHandle brush = failCreate ? nullptr : inner.CreateSolidBrush(colour);
        log.push_back({'C', brush, colour});
        if (brush != nullptr) live.insert(brush);
        return brush;
    }
    bool DeleteObject(GdiHandle object) override {
        log.push_back({'D', object, 0});
        const bool ours = live.erase(object) > 0;
        const bool deleted = inner.DeleteObject(object);
        if (ours && !deleted) ++failedDeletes;
        if (ours) everDeleted.insert(object);
        return deleted;
    }
    std::vector<ColourRef> Created() const {
        std::vector<ColourRef> colours;
        for (const Call& call : log)
            if (call.op == 'C') colours.push_back(call.colour);
        return colours;
    }

    Inner inner;
    std::vector<Call> log;
    std::set<GdiHandle> live;         // created here and not deleted yet
    std::set<GdiHandle> everDeleted;  // created here and deleted since
    long failedDeletes = 0;
    bool failCreate = false;  // every creation fails, as when GDI runs out
};

class RecordingDevice : public DrawingDevice {
public:
    struct Call {
        Call(std::string op_, GdiHandle handle_ = nullptr, int a_ = 0, int b_ = 0, int c_ = 0, int d_ = 0,
             std::vector<Point> points_ = {})
            : op(std::move(op_)), handle(handle_), a(a_), b(b_), c(c_), d(d_), points(std::move(points_)) {}
        std::string op;
        GdiHandle handle;  // for selections
        int a, b, c, d;    // extents, origin, ellipse bounds, point count
        std::vector<Point> points;
    };

    GdiHandle SelectObject(GdiHandle object) override {
        calls.push_back({"Select", object});
        return nullptr;
    }
    void SetMapModeAnisotropic() override { calls.push_back({"MapMode"}); }
    void SetWindowExt(int cx, int cy) override { calls.push_back({"WindowExt", nullptr, cx, cy}); }
    void SetViewportExt(int cx, int cy) override { calls.push_back({"ViewportExt", nullptr, cx, cy}); }
    void SetViewportOrg(int x, int y) override { calls.push_back({"ViewportOrg", nullptr, x, y}); }
    bool Polygon(const Point* points, int count) override { return Shape("Polygon", points, count); }
    bool Polyline(const Point* points, int count) override { return Shape("Polyline", points, count); }
    bool Ellipse(int left, int top, int right, int bottom) override {
        calls.push_back({"Ellipse", nullptr, left, top, right, bottom});
        return true;
    }

    int CountOf(const std::string& op) const {
        int n = 0;
        for (const Call& call : calls) n += call.op == op;
        return n;
    }
    int Shapes() const { return CountOf("Polygon") + CountOf("Polyline") + CountOf("Ellipse"); }

    std::vector<Call> calls;

private:
    bool Shape(const char* op, const Point* points, int count) {
        calls.push_back({op, nullptr, 0, 0, 0, count, std::vector<Point>(points, points + count)});
        return true;
    }
};

}  // namespace tessaly::testing
