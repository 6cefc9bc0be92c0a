// The one loop of a run of the Linux program, on sd-event: the display's
// connection and the signal pipe as watched descriptors, timers on the
// monotonic clock, and the run's own work after every round of events. One
// wait for all of them; with nothing armed the process sleeps until an event.
#pragma once

#include <systemd/sd-event.h>

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>

namespace tessaly {

class EventLoop;

// One source of a loop, removed from it with the object.
class EventSource {
public:
    EventSource() = default;
    ~EventSource();
    EventSource(const EventSource&) = delete;
    EventSource& operator=(const EventSource&) = delete;

protected:
    sd_event_source* source_ = nullptr;
};

// Fires once at the time it is set to, on the monotonic clock (ns, as
// linux/Clock.h counts); set again to fire again.
class Timer final : public EventSource {
public:
    // `slackNs`: how much later it may fire, so that wake-ups can coincide.
    void Attach(EventLoop& loop, int64_t slackNs, std::function<void()> fire);
    void At(int64_t ns);
    void Off();
    bool Armed() const;

private:
    static int OnTime(sd_event_source*, uint64_t, void* self);
    std::function<void()> fire_;
};

// A descriptor watched for readiness (EPOLLIN, EPOLLOUT).
class Watch final : public EventSource {
public:
    void Attach(EventLoop& loop, int fd, uint32_t events, std::function<void(uint32_t revents)> ready);
    // Work before every wait: writes still buffered go out, events read
    // already are handled, so that the wait never sleeps on them.
    void BeforeWait(std::function<void()> prepare);
    void Events(uint32_t events);

private:
    static int OnReady(sd_event_source*, int, uint32_t revents, void* self);
    static int OnPrepare(sd_event_source*, void* self);
    std::function<void(uint32_t)> ready_;
    std::function<void()> prepare_;
};

// A child process, heard of once when it has ended (and reaped then). SIGCHLD
// must be blocked from before the child is made.
class ChildWatch final : public EventSource {
public:
    // `ended` gets the wait status, as waitpid gives it.
    void Attach(EventLoop& loop, pid_t pid, std::function<void(int status)> ended);

private:
    static int OnEnded(sd_event_source*, const siginfo_t* info, void* self);
    std::function<void(int)> ended_;
};

class EventLoop {
public:
    EventLoop();
    ~EventLoop();
    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;

    // False with the reason when sd-event could not be set up.
    bool Ok(std::string& error) const;
    sd_event* Get() const { return event_; }

    // Runs after every round of events that dispatched anything: the run
    // looks at what the events did (an end, a window gone) in one place.
    void AfterEvents(std::function<void()> work);
    // Waits and dispatches until Quit or Fail; false with Fail's reason.
    bool Run(std::string& error);
    void Quit();
    void Fail(const std::string& reason);

    // Where a source could not be made, the loop fails with the reason.
    void Check(int result, const char* what);

private:
    static int OnPost(sd_event_source*, void* self);
    sd_event* event_ = nullptr;
    sd_event_source* post_ = nullptr;
    std::function<void()> afterEvents_;
    std::string failure_;
};

}  // namespace tessaly
