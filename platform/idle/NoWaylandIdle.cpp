// A build without the Wayland client library: there is no compositor to ask.
#include "WaylandIdle.h"

namespace tessaly {

WaylandIdle::~WaylandIdle() = default;

bool WaylandIdle::Connect(std::string& error) {
    error = "this build of tessaly has no Wayland support";
    return false;
}

void WaylandIdle::WatchConnection(EventLoop&) {}
bool WaylandIdle::Watch(EventLoop&, int64_t, IdleEvents, std::string& error) { return Connect(error); }
void WaylandIdle::SetWait(int64_t) {}
const char* WaylandIdle::Name() const { return "nothing"; }
void WaylandIdle::Global(wl_registry*, uint32_t, const char*, uint32_t) {}

}  // namespace tessaly
