#include "X11Idle.h"

#include <sys/epoll.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "shell/Printable.h"

namespace tessaly {

namespace {

constexpr const char* kIdleCounter = "IDLETIME";
// XScreenSaver's daemon marks a top-level window of its own with this while it runs.
constexpr const char* kXScreenSaverMark = "_SCREENSAVER_VERSION";
constexpr uint32_t kAlarmFields = XCB_SYNC_CA_COUNTER | XCB_SYNC_CA_VALUE_TYPE | XCB_SYNC_CA_VALUE |
                                  XCB_SYNC_CA_TEST_TYPE | XCB_SYNC_CA_DELTA | XCB_SYNC_CA_EVENTS;
// The alarms, in the order of alarms_: what crossing the wait each way means.
constexpr uint32_t kTests[2] = {XCB_SYNC_TESTTYPE_POSITIVE_TRANSITION, XCB_SYNC_TESTTYPE_NEGATIVE_TRANSITION};

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;
template <typename T>
Reply<T> Own(T* reply) {
    return Reply<T>(reply, &std::free);
}

int64_t ToInt64(xcb_sync_int64_t value) {
    return static_cast<int64_t>((static_cast<uint64_t>(static_cast<uint32_t>(value.hi)) << 32) | value.lo);
}
xcb_sync_int64_t FromInt64(int64_t value) {
    return {static_cast<int32_t>(value >> 32), static_cast<uint32_t>(value & 0xffffffffu)};
}

// The system counter of that name, read from the reply itself: libxcb's
// iterator (1.15) steps over the names' padding wrongly and misreads them.
// Each entry is the counter (4 bytes), its resolution (8), the name's length
// (2) and the name, padded to 4 bytes.
xcb_sync_counter_t FindCounter(const xcb_sync_list_system_counters_reply_t& reply, const std::string& wanted) {
    constexpr std::size_t kHead = 14, kLengthAt = 12;
    const auto* at = reinterpret_cast<const uint8_t*>(&reply + 1);
    const uint8_t* end = at + reply.length * 4u;
    for (uint32_t i = 0; i < reply.counters_len && at + kHead <= end; ++i) {
        uint32_t counter = 0;
        uint16_t length = 0;
        std::memcpy(&counter, at, sizeof counter);
        std::memcpy(&length, at + kLengthAt, sizeof length);
        if (at + kHead + length > end) break;
        if (std::string(reinterpret_cast<const char*>(at) + kHead, length) == wanted) return counter;
        at += (kHead + length + 3) & ~std::size_t{3};
    }
    return 0;
}

// An alarm on `counter` at `value` (create and change take the same fields).
template <typename Values>
Values AlarmAt(xcb_sync_counter_t counter, int64_t value, uint32_t test) {
    Values values{};
    values.counter = counter;
    values.valueType = XCB_SYNC_VALUETYPE_ABSOLUTE;
    values.value = FromInt64(value);
    values.testType = test;
    values.delta = FromInt64(0);  // a transition alarm with no delta stays armed for every crossing
    values.events = 1;
    return values;
}

}  // namespace

X11Idle::~X11Idle() {
    if (connection_ != nullptr) xcb_disconnect(connection_);
}

bool X11Idle::Connect(const char* display, std::string& error) {
    const char* name = display != nullptr ? display : std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') {
        error = "no X display: DISPLAY is not set (or give --display NAME)";
        return false;
    }
    int screen = 0;
    connection_ = xcb_connect(name, &screen);
    if (xcb_connection_has_error(connection_)) {
        error = "cannot open X display '" + Printable(name) + "'";
        return false;
    }
    xcb_screen_iterator_t roots = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; i < screen && roots.rem > 0; ++i) xcb_screen_next(&roots);
    root_ = roots.data->root;

    const xcb_query_extension_reply_t* sync = xcb_get_extension_data(connection_, &xcb_sync_id);
    auto version = Own(xcb_sync_initialize_reply(
        connection_, xcb_sync_initialize(connection_, XCB_SYNC_MAJOR_VERSION, XCB_SYNC_MINOR_VERSION), nullptr));
    auto counters = Own(sync != nullptr && sync->present && version
                            ? xcb_sync_list_system_counters_reply(
                                  connection_, xcb_sync_list_system_counters(connection_), nullptr)
                            : nullptr);
    if (counters) counter_ = FindCounter(*counters, kIdleCounter);
    if (counter_ == 0) {
        error = "the X server '" + Printable(name) + "' does not count idle time (no SYNC IDLETIME counter)";
        return false;
    }
    firstEvent_ = sync->first_event;
    return true;
}

bool X11Idle::XScreenSaverRuns() {
    auto atom = Own(xcb_intern_atom_reply(
        connection_,
        xcb_intern_atom(connection_, 1, static_cast<uint16_t>(std::strlen(kXScreenSaverMark)), kXScreenSaverMark),
        nullptr));
    auto tree = Own(atom && atom->atom != XCB_NONE
                        ? xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root_), nullptr)
                        : nullptr);
    if (!tree) return false;
    // All asked at once, then the answers read: one round trip.
    const xcb_window_t* windows = xcb_query_tree_children(tree.get());
    std::vector<xcb_get_property_cookie_t> asked;
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i)
        asked.push_back(xcb_get_property(connection_, 0, windows[i], atom->atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 0));
    bool found = false;
    for (const xcb_get_property_cookie_t& cookie : asked) {
        auto property = Own(xcb_get_property_reply(connection_, cookie, nullptr));
        found = found || (property && property->type != XCB_NONE);
    }
    return found;
}

void X11Idle::SetAlarms(bool create) {
    for (int i = 0; i < 2; ++i) {
        if (create) {
            alarms_[i] = xcb_generate_id(connection_);
            const auto values = AlarmAt<xcb_sync_create_alarm_value_list_t>(counter_, waitMs_, kTests[i]);
            xcb_sync_create_alarm_aux(connection_, alarms_[i], kAlarmFields, &values);
        } else {
            const auto values = AlarmAt<xcb_sync_change_alarm_value_list_t>(counter_, waitMs_, kTests[i]);
            xcb_sync_change_alarm_aux(connection_, alarms_[i], kAlarmFields, &values);
        }
    }
    // Where the user is idle for the wait already, no crossing will come.
    auto now = Own(xcb_sync_query_counter_reply(connection_, xcb_sync_query_counter(connection_, counter_), nullptr));
    if (now) Report(ToInt64(now->counter_value));
}

bool X11Idle::Watch(EventLoop& loop, int64_t waitMs, IdleEvents events, std::string& error) {
    loop_ = &loop;
    events_ = std::move(events);
    waitMs_ = waitMs;
    socket_.Attach(loop, xcb_get_file_descriptor(connection_), EPOLLIN, [this](uint32_t) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) Dispatch(event);
        Lost();
    });
    // Replies read meanwhile may have queued events; requests go out before any wait.
    socket_.BeforeWait([this] {
        while (xcb_generic_event_t* event = xcb_poll_for_queued_event(connection_)) Dispatch(event);
        if (!Lost()) xcb_flush(connection_);
    });
    SetAlarms(true);
    return loop.Ok(error);
}

void X11Idle::SetWait(int64_t waitMs) {
    waitMs_ = waitMs;
    idle_ = false;
    SetAlarms(false);
}

void X11Idle::Report(int64_t idleMs) {
    const bool idle = idleMs >= waitMs_;
    if (idle == idle_) return;
    idle_ = idle;
    (idle ? events_.idle : events_.active)();
}

void X11Idle::Dispatch(xcb_generic_event_t* event) {
    if ((event->response_type & 0x7f) == firstEvent_ + XCB_SYNC_ALARM_NOTIFY) {
        const auto* alarm = reinterpret_cast<const xcb_sync_alarm_notify_event_t*>(event);
        if (alarm->alarm == alarms_[0] || alarm->alarm == alarms_[1]) Report(ToInt64(alarm->counter_value));
    }
    std::free(event);
}

bool X11Idle::Lost() {
    if (!xcb_connection_has_error(connection_)) return false;
    loop_->Fail("lost the connection to the X server");
    return true;
}

}  // namespace tessaly
