#pragma once

#include <functional>
#include <thread>

#include "framework/core/event.h"
#include "framework/core/gate.h"
#include "framework/core/object.h"

enum class unaThreadStatus { stopped, stopping, running, starting };

// Scheduling priority of a worker. timeCritical asks for real-time scheduling
// (SCHED_FIFO) when the process may use it; a refusal is remembered, never fatal.
namespace unaThreadPriority {
constexpr int normal = 0;
constexpr int aboveNormal = 1;
constexpr int timeCritical = 15;
}  // namespace unaThreadPriority

// A worker thread with a guarded start/stop life cycle.
//
// The OS thread never holds a pointer to this object: it holds the index of a
// record in a process-wide registry and "claims" the record for every call into
// the object. Destruction refuses new claims and waits until the worker has left
// the object, however long that takes, so a worker never touches freed memory.
//
// Subclasses whose execute() uses their own members must call shutdownWorker()
// first thing in their destructor, because the base destructor runs after the
// subclass's members are gone.
class unaThread : public unaObject {
  public:
    using ExecuteHandler = std::function<int(unaThread& thread, unsigned recordIndex)>;

    static constexpr int kDefaultStopTimeoutMs = 3000;
    static constexpr unsigned kMaxThreads = 1025;

    // Throws unaSilentAbort when no thread record is free.
    explicit unaThread(bool autoStart = false, int priority = unaThreadPriority::normal);
    ~unaThread() override;

    // True when the worker is running or starting afterwards.
    bool start(int timeoutMs = 10000);
    // -1 takes stopTimeout. True when stopped or stopping afterwards: check
    // status() to know that the worker has ended. From the worker itself it
    // only asks the worker to end.
    bool stop(int timeoutMs = -1);
    unaThreadStatus status() const;
    // True once stop() has asked the worker to end.
    bool shouldStop() const;

    // Waits on the wake event; true when woken.
    bool sleep(int timeoutMs);
    void wakeUp() { wake_.setState(true); }

    bool setPriority(int priority);
    int priority() const;
    // True when the last real-time priority request was refused by the system.
    bool priorityRefused() const;
    std::thread::id threadId() const;

    // The thread's own gate: serialises start/stop and subclass reconfiguration.
    bool enter(int timeoutMs) { return gate_.enter(timeoutMs); }
    void leave() { gate_.leave(); }

    void setOnExecute(ExecuteHandler handler) { onExecute_ = std::move(handler); }
    int stopTimeout = kDefaultStopTimeoutMs;

    virtual bool isPaused() const { return false; }
    virtual bool isRunning() const { return status() == unaThreadStatus::running; }

    // How many thread records are in use now (for tests of the registry).
    static unsigned recordsInUse();

  protected:
    // The worker's body; runs once per start. A looping body checks
    // shouldStop() on every pass and waits with sleep() or its own events.
    virtual int execute(unsigned recordIndex);
    virtual bool onStartQuery() { return true; }
    virtual bool onStopQuery() { return true; }
    virtual void onWorkerStart() {}
    virtual void onWorkerEnd() {}

    // Stops the worker and waits until it has left this object. Idempotent.
    void shutdownWorker();

  private:
    friend struct unaThreadRunner;

    unsigned record_;
    ExecuteHandler onExecute_;
    unaInProcessGate gate_;
    unaEvent stopped_{true, false};
    unaEvent handleReady_{false, false};
    unaEvent started_{false, false};
    unaEvent wake_{false, false};
    bool shutDown_ = false;
};

// Greatest common divisor by Euclid; 1 when either value is 0.
unsigned gcd(unsigned a, unsigned b);
