#include "framework/core/thread.h"

#include <pthread.h>
#include <sched.h>

#include <array>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace {

struct ThreadRecord {
    // All fields but status and stopRequest are guarded by Registry::mutex.
    int refCount = 0;
    std::atomic<unaThreadStatus> status{unaThreadStatus::stopped};
    std::atomic<bool> stopRequest{false};
    int priority = 0;
    bool priorityRefused = false;
    std::thread::id threadId;
    pthread_t nativeHandle{};
    std::shared_ptr<una_detail::EventState> stopped, handleReady, started;
    unaThread* object = nullptr;
    bool claimed = false;
    bool destroyed = true;
};

struct Registry {
    std::mutex mutex;
    std::condition_variable claimReleased;
    std::array<ThreadRecord, unaThread::kMaxThreads> records;
    std::array<bool, unaThread::kMaxThreads> inUse{};
};

// Never destroyed: detached workers may still be on their way out at exit.
Registry& registry() {
    static auto* instance = new Registry();
    return *instance;
}

void dropReference(Registry& reg, unsigned index) {
    ThreadRecord& rec = reg.records[index];
    if (--rec.refCount == 0) {
        rec.stopped.reset();
        rec.handleReady.reset();
        rec.started.reset();
        rec.object = nullptr;
        reg.inUse[index] = false;
    }
}

// Applies a priority to a running thread. True when the system accepted it.
bool applyPriority(pthread_t handle, int priority) {
    sched_param param{};
    if (priority >= unaThreadPriority::timeCritical) {
        param.sched_priority = sched_get_priority_min(SCHED_FIFO) + 10;
        return pthread_setschedparam(handle, SCHED_FIFO, &param) == 0;
    }
    // Normal scheduling; finer steps have no unprivileged meaning for one thread.
    param.sched_priority = 0;
    return pthread_setschedparam(handle, SCHED_OTHER, &param) == 0;
}

}  // namespace

// The OS thread's side: it reaches the object only through claims.
struct unaThreadRunner {
    static unaThread* claim(unsigned index) {
        Registry& reg = registry();
        std::lock_guard lock(reg.mutex);
        ThreadRecord& rec = reg.records[index];
        if (rec.claimed || rec.destroyed || rec.object == nullptr) {
            return nullptr;
        }
        rec.claimed = true;
        return rec.object;
    }

    static void release(unsigned index) {
        Registry& reg = registry();
        std::lock_guard lock(reg.mutex);
        reg.records[index].claimed = false;
        reg.claimReleased.notify_all();
    }

    static void run(unsigned index) {
        Registry& reg = registry();
        ThreadRecord& rec = reg.records[index];
        std::shared_ptr<una_detail::EventState> stopped, handleReady, started;
        int priority;
        {
            std::lock_guard lock(reg.mutex);
            stopped = rec.stopped;
            handleReady = rec.handleReady;
            started = rec.started;
            priority = rec.priority;
        }
        if (rec.status.load() == unaThreadStatus::starting) {
            handleReady->wait(2000);
            const bool accepted = applyPriority(pthread_self(), priority);
            {
                std::lock_guard lock(reg.mutex);
                rec.priorityRefused = !accepted && priority != 0;
            }
            auto expected = unaThreadStatus::starting;
            rec.status.compare_exchange_strong(expected, unaThreadStatus::running);

            if (unaThread* self = claim(index)) {
                self->onWorkerStart();
                release(index);
            }
            started->set(true);

            if (unaThread* self = claim(index)) {
                try {
                    self->execute(index);
                } catch (const unaException&) {
                    // ends the worker; the object stays usable
                }
                release(index);
            }
            if (unaThread* self = claim(index)) {
                self->onWorkerEnd();
                release(index);
            }
        }
        rec.status.store(unaThreadStatus::stopped);
        {
            std::lock_guard lock(reg.mutex);
            dropReference(reg, index);
        }
        stopped->set(true);
    }
};

unaThread::unaThread(bool autoStart, int priority) {
    Registry& reg = registry();
    {
        std::lock_guard lock(reg.mutex);
        unsigned index = 0;
        while (index < kMaxThreads && reg.inUse[index]) {
            ++index;
        }
        if (index == kMaxThreads) {
            throw unaSilentAbort();
        }
        reg.inUse[index] = true;
        ThreadRecord& rec = reg.records[index];
        rec.refCount = 1;
        rec.status.store(unaThreadStatus::stopped);
        rec.stopRequest.store(false);
        rec.priority = priority;
        rec.priorityRefused = false;
        rec.threadId = {};
        rec.stopped = stopped_.state();
        rec.handleReady = handleReady_.state();
        rec.started = started_.state();
        rec.object = this;
        rec.claimed = false;
        rec.destroyed = false;
        record_ = index;
    }
    if (autoStart) {
        start(10000);
    }
}

unaThread::~unaThread() {
    shutdownWorker();
}

void unaThread::shutdownWorker() {
    if (shutDown_) {
        return;
    }
    shutDown_ = true;
    stop(stopTimeout);
    Registry& reg = registry();
    std::unique_lock lock(reg.mutex);
    ThreadRecord& rec = reg.records[record_];
    rec.destroyed = true;
    // A worker still inside a call into this object holds its claim; no new
    // claim succeeds from here on. Wait for it to leave, unless this is the
    // worker itself destroying its own object.
    if (rec.threadId != std::this_thread::get_id()) {
        reg.claimReleased.wait(lock, [&] { return !rec.claimed; });
    }
    rec.object = nullptr;
    dropReference(reg, record_);
}

unaThreadStatus unaThread::status() const {
    return registry().records[record_].status.load();
}

bool unaThread::shouldStop() const {
    return registry().records[record_].stopRequest.load();
}

int unaThread::execute(unsigned recordIndex) {
    return onExecute_ ? onExecute_(*this, recordIndex) : 0;
}

bool unaThread::start(int timeoutMs) {
    Registry& reg = registry();
    ThreadRecord& rec = reg.records[record_];
    switch (rec.status.load()) {
        case unaThreadStatus::stopped:
            if (!gate_.enter(timeoutMs)) {
                break;
            }
            if (rec.status.load() == unaThreadStatus::stopped && onStartQuery()) {
                rec.status.store(unaThreadStatus::starting);
                started_.setState(false);
                stopped_.setState(false);
                rec.stopRequest.store(false);
                handleReady_.setState(false);
                wake_.setState(false);
                {
                    std::lock_guard lock(reg.mutex);
                    ++rec.refCount;
                }
                try {
                    std::thread worker(&unaThreadRunner::run, record_);
                    {
                        std::lock_guard lock(reg.mutex);
                        rec.threadId = worker.get_id();
                        rec.nativeHandle = worker.native_handle();
                    }
                    worker.detach();
                    handleReady_.setState(true);
                    started_.waitFor(timeoutMs);
                } catch (const std::system_error&) {
                    std::lock_guard lock(reg.mutex);
                    dropReference(reg, record_);
                    rec.status.store(unaThreadStatus::stopped);
                    stopped_.setState(true);
                }
            }
            gate_.leave();
            break;
        case unaThreadStatus::stopping:
            stop(stopTimeout);
            if (rec.status.load() == unaThreadStatus::stopped) {
                start(10000);
            }
            break;
        case unaThreadStatus::running:
        case unaThreadStatus::starting:
            break;
    }
    const auto now = rec.status.load();
    return now == unaThreadStatus::running || now == unaThreadStatus::starting;
}

bool unaThread::stop(int timeoutMs) {
    if (timeoutMs < 0) {
        timeoutMs = stopTimeout;
    }
    Registry& reg = registry();
    ThreadRecord& rec = reg.records[record_];
    if (rec.status.load() != unaThreadStatus::stopped) {
        auto current = rec.status.load();
        // Only a live worker becomes "stopping"; one that has just ended stays stopped.
        while (current != unaThreadStatus::stopped &&
               !rec.status.compare_exchange_weak(current, unaThreadStatus::stopping)) {
        }
        if (onStopQuery()) {
            rec.stopRequest.store(true);
            wakeUp();
            if (std::this_thread::get_id() != threadId() && gate_.enter(timeoutMs)) {
                if (timeoutMs > 0 && stopped_.waitFor(timeoutMs)) {
                    rec.stopRequest.store(false);
                }
                gate_.leave();
            }
        }
    }
    const auto now = rec.status.load();
    return now == unaThreadStatus::stopped || now == unaThreadStatus::stopping;
}

bool unaThread::sleep(int timeoutMs) {
    return wake_.waitFor(timeoutMs);
}

bool unaThread::setPriority(int priority) {
    Registry& reg = registry();
    std::lock_guard lock(reg.mutex);
    ThreadRecord& rec = reg.records[record_];
    if (priority == rec.priority) {
        return true;
    }
    if (rec.status.load() == unaThreadStatus::running) {
        if (!applyPriority(rec.nativeHandle, priority)) {
            rec.priorityRefused = priority != 0;
            // Real-time scheduling refused: remember the wish, keep running normally.
            if (priority < unaThreadPriority::timeCritical) {
                return false;
            }
        }
    }
    rec.priority = priority;
    return true;
}

int unaThread::priority() const {
    Registry& reg = registry();
    std::lock_guard lock(reg.mutex);
    return reg.records[record_].priority;
}

bool unaThread::priorityRefused() const {
    Registry& reg = registry();
    std::lock_guard lock(reg.mutex);
    return reg.records[record_].priorityRefused;
}

std::thread::id unaThread::threadId() const {
    Registry& reg = registry();
    std::lock_guard lock(reg.mutex);
    return reg.records[record_].threadId;
}

unsigned unaThread::recordsInUse() {
    Registry& reg = registry();
    std::lock_guard lock(reg.mutex);
    unsigned n = 0;
    for (bool used : reg.inUse) {
        n += used ? 1 : 0;
    }
    return n;
}

unsigned gcd(unsigned a, unsigned b) {
    if (a == 0 || b == 0) {
        return 1;
    }
    while (b != 0) {
        const unsigned r = a % b;
        a = b;
        b = r;
    }
    return a;
}
