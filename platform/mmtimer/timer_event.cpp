#include <pthread.h>
#include <sched.h>
#include <sys/prctl.h>

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/clock/platform_clock.h"
#include "platform/mmtimer/mm_timer.h"

namespace platform {
namespace {

constexpr std::int64_t kMaxTicksBehind = 10;
constexpr int kTimerPriority = 10;

struct TimerEvent {
    std::uint32_t id = 0;
    PlatformClock::duration period{};
    PlatformClock::time_point firstDeadline{};  // counted from the set call
    bool periodic = false;
    TimerCallback callback;
    std::mutex mutex;
    std::condition_variable killed;
    bool stopping = false;
    std::thread thread;
};

void runEvent(const std::shared_ptr<TimerEvent>& event) {
    // Wake as close to each deadline as the kernel allows, and ahead of ordinary
    // work where the system lets us (root or an rtprio limit), as a system timer
    // thread would.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    sched_param param{};
    param.sched_priority = kTimerPriority;
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
    auto deadline = event->firstDeadline;
    while (true) {
        {
            std::unique_lock lock(event->mutex);
            if (PlatformClock::waitUntil(event->killed, lock, deadline,
                                         [&] { return event->stopping; })) {
                return;
            }
        }
        event->callback(event->id);
        if (!event->periodic) {
            return;
        }
        deadline += event->period;
        const auto behind = PlatformClock::now() - deadline;
        if (behind > event->period * kMaxTicksBehind) {
            // Too far behind (the machine stalled): drop the missed ticks, keep the phase.
            deadline += event->period * (behind / event->period);
        }
    }
}

class TimerService {
  public:
    ~TimerService() {
        std::map<std::uint32_t, std::shared_ptr<TimerEvent>> events;
        {
            std::lock_guard lock(mutex_);
            events.swap(events_);
        }
        for (auto& [id, event] : events) {
            stop(event);
        }
    }

    std::uint32_t add(std::shared_ptr<TimerEvent> event) {
        std::lock_guard lock(mutex_);
        do {
            event->id = nextId_++;
        } while (event->id == 0 || events_.count(event->id) != 0);
        events_[event->id] = event;
        // The thread's first wait takes this lock, so it sees its own handle set.
        std::lock_guard eventLock(event->mutex);
        event->thread = std::thread([event] { runEvent(event); });
        return event->id;
    }

    MmTimerResult kill(std::uint32_t id) {
        std::shared_ptr<TimerEvent> event;
        {
            std::lock_guard lock(mutex_);
            const auto it = events_.find(id);
            if (it == events_.end()) {
                return MMSYSERR_TIMER_INVALPARAM;
            }
            event = std::move(it->second);
            events_.erase(it);
        }
        stop(event);
        return TIMERR_NOERROR;
    }

  private:
    static void stop(const std::shared_ptr<TimerEvent>& event) {
        {
            std::lock_guard lock(event->mutex);
            event->stopping = true;
            event->killed.notify_all();
        }
        if (event->thread.get_id() == std::this_thread::get_id()) {
            // Killed from its own callback: the thread ends when the callback returns.
            event->thread.detach();
        } else if (event->thread.joinable()) {
            event->thread.join();
        }
    }

    std::mutex mutex_;
    std::map<std::uint32_t, std::shared_ptr<TimerEvent>> events_;
    std::uint32_t nextId_ = 1;
};

TimerService& service() {
    static TimerService instance;
    return instance;
}

}  // namespace

std::uint32_t timeSetEvent(std::uint32_t delayMs, std::uint32_t, TimerCallback callback,
                           std::uint32_t type) {
    TIMECAPS caps;
    timeGetDevCaps(caps);
    if (delayMs < caps.wPeriodMin || delayMs > caps.wPeriodMax || !callback ||
        (type != TIME_ONESHOT && type != TIME_PERIODIC)) {
        return 0;
    }
    auto event = std::make_shared<TimerEvent>();
    event->period = std::chrono::milliseconds(delayMs);
    event->firstDeadline = PlatformClock::now() + event->period;
    event->periodic = type == TIME_PERIODIC;
    event->callback = std::move(callback);
    return service().add(std::move(event));
}

MmTimerResult timeKillEvent(std::uint32_t timerId) {
    return service().kill(timerId);
}

}  // namespace platform
