#include "EventLoop.h"

#include <sys/wait.h>

#include <cstring>

namespace tessaly {

namespace {

constexpr int64_t kNsPerUs = 1000;

// sd-event counts microseconds; a deadline is never brought forward.
uint64_t Microseconds(int64_t ns) { return ns <= 0 ? 1 : static_cast<uint64_t>((ns + kNsPerUs - 1) / kNsPerUs); }

}  // namespace

EventSource::~EventSource() { sd_event_source_disable_unref(source_); }

void Timer::Attach(EventLoop& loop, int64_t slackNs, std::function<void()> fire) {
    fire_ = std::move(fire);
    loop.Check(sd_event_add_time(loop.Get(), &source_, CLOCK_MONOTONIC, 0, Microseconds(slackNs), OnTime, this),
               "a timer");
    if (source_ != nullptr) sd_event_source_set_enabled(source_, SD_EVENT_OFF);
}

void Timer::At(int64_t ns) {
    if (source_ == nullptr) return;
    sd_event_source_set_time(source_, Microseconds(ns));
    sd_event_source_set_enabled(source_, SD_EVENT_ONESHOT);
}

void Timer::Off() {
    if (source_ != nullptr) sd_event_source_set_enabled(source_, SD_EVENT_OFF);
}

bool Timer::Armed() const {
    int state = SD_EVENT_OFF;
    return source_ != nullptr && sd_event_source_get_enabled(source_, &state) >= 0 && state != SD_EVENT_OFF;
}

int Timer::OnTime(sd_event_source*, uint64_t, void* self) {
    static_cast<Timer*>(self)->fire_();
    return 0;
}

void Watch::Attach(EventLoop& loop, int fd, uint32_t events, std::function<void(uint32_t)> ready) {
    ready_ = std::move(ready);
    loop.Check(sd_event_add_io(loop.Get(), &source_, fd, events, OnReady, this), "a descriptor watch");
}

void Watch::BeforeWait(std::function<void()> prepare) {
    prepare_ = std::move(prepare);
    if (source_ != nullptr) sd_event_source_set_prepare(source_, OnPrepare);
}

void Watch::Events(uint32_t events) {
    if (source_ != nullptr) sd_event_source_set_io_events(source_, events);
}

int Watch::OnReady(sd_event_source*, int, uint32_t revents, void* self) {
    static_cast<Watch*>(self)->ready_(revents);
    return 0;
}

int Watch::OnPrepare(sd_event_source*, void* self) {
    static_cast<Watch*>(self)->prepare_();
    return 0;
}

void ChildWatch::Attach(EventLoop& loop, pid_t pid, std::function<void(int)> ended) {
    ended_ = std::move(ended);
    sd_event_source_disable_unref(source_);
    source_ = nullptr;
    loop.Check(sd_event_add_child(loop.Get(), &source_, pid, WEXITED, OnEnded, this), "a child's watch");
}

int ChildWatch::OnEnded(sd_event_source*, const siginfo_t* info, void* self) {
    // As waitpid's status: an exit code, or the signal that killed it.
    const int status = info->si_code == CLD_EXITED ? (info->si_status & 0xff) << 8
                                                   : (info->si_status & 0x7f) | (info->si_code == CLD_DUMPED ? 0x80 : 0);
    static_cast<ChildWatch*>(self)->ended_(status);
    return 0;
}

EventLoop::EventLoop() { Check(sd_event_new(&event_), "the event loop"); }

EventLoop::~EventLoop() {
    sd_event_source_disable_unref(post_);
    sd_event_unref(event_);
}

bool EventLoop::Ok(std::string& error) const {
    if (failure_.empty()) return true;
    error = failure_;
    return false;
}

void EventLoop::Check(int result, const char* what) {
    if (result < 0 && failure_.empty()) failure_ = std::string("cannot set up ") + what + ": " + std::strerror(-result);
}

void EventLoop::AfterEvents(std::function<void()> work) {
    afterEvents_ = std::move(work);
    if (post_ == nullptr && event_ != nullptr) Check(sd_event_add_post(event_, &post_, OnPost, this), "the event loop");
}

int EventLoop::OnPost(sd_event_source*, void* self) {
    static_cast<EventLoop*>(self)->afterEvents_();
    return 0;
}

bool EventLoop::Run(std::string& error) {
    if (!Ok(error)) return false;
    const int result = sd_event_loop(event_);
    if (!Ok(error)) return false;
    if (result < 0) {
        error = std::string("the event loop failed: ") + std::strerror(-result);
        return false;
    }
    return true;
}

void EventLoop::Quit() {
    if (event_ != nullptr) sd_event_exit(event_, 0);
}

void EventLoop::Fail(const std::string& reason) {
    if (failure_.empty()) failure_ = reason;
    Quit();
}

}  // namespace tessaly
