#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "framework/core/event.h"
#include "framework/core/gate.h"

namespace {

using Clock = std::chrono::steady_clock;

// Holds a gate on another thread until released.
class GateHolder {
  public:
    explicit GateHolder(unaInProcessGate& gate) {
        worker_ = std::thread([&] {
            gate.enter(-1);
            held_.setState(true);
            release_.waitFor(-1);
            gate.leave();
            done_.setState(true);
        });
        held_.waitFor(-1);
    }
    ~GateHolder() {
        release();
        worker_.join();
    }
    void release() { release_.setState(true); }
    bool waitDone() { return done_.waitFor(10000); }

  private:
    unaEvent held_, release_{true, false}, done_{true, false};
    std::thread worker_;
};

TEST(Gate, TimedEnterFailsWhileAnotherThreadHoldsIt) {
    unaInProcessGate gate;
    GateHolder holder(gate);
    for (int timeout : {0, 30}) {
        const auto begin = Clock::now();
        EXPECT_FALSE(gate.enter(timeout)) << timeout;
        EXPECT_GE(Clock::now() - begin, std::chrono::milliseconds(timeout));
    }
}

TEST(Gate, UnlimitedEnterWaitsForTheOwner) {
    unaInProcessGate gate;
    GateHolder holder(gate);
    auto entered = std::async(std::launch::async, [&] {
        const bool ok = gate.enter(-1);
        gate.leave();
        return ok;
    });
    holder.release();
    ASSERT_EQ(entered.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_TRUE(entered.get());
}

TEST(Gate, IsReentrantAndLeaveFromAnotherThreadDoesNothing) {
    unaInProcessGate gate;
    ASSERT_TRUE(gate.enter(0));
    ASSERT_TRUE(gate.enter(0));
    std::thread([&] {
        gate.leave();  // not the owner: no effect
        EXPECT_FALSE(gate.enter(0));
    }).join();
    gate.leave();
    std::thread([&] { EXPECT_FALSE(gate.enter(0)); }).join();  // still held once
    gate.leave();
    std::thread([&] {
        EXPECT_TRUE(gate.enter(0));
        gate.leave();
    }).join();
}

TEST(Gate, EmptyGateReferenceCannotBeEntered) {
    EXPECT_FALSE(enterGate(nullptr, 0));
    unaAbstractGate open;
    EXPECT_TRUE(enterGate(&open, 0));
}

TEST(Event, AutoResetReleasesOneWaitManualResetStays) {
    unaEvent autoReset(false, true);
    EXPECT_TRUE(autoReset.waitFor(0));
    EXPECT_FALSE(autoReset.waitFor(0));

    unaEvent manual(true, true);
    EXPECT_TRUE(manual.waitFor(0));
    EXPECT_TRUE(manual.waitFor(0));
    manual.setState(false);
    EXPECT_FALSE(manual.waitFor(0));
}

TEST(Event, SignalFromAnotherThreadWakesWaiter) {
    unaEvent event;
    std::thread signaller([&] { event.setState(true); });
    EXPECT_TRUE(event.waitFor(10000));
    signaller.join();
}

TEST(Event, ForwardingLetsOneThreadWaitForAnyOfTwo) {
    unaEvent any, device, input;
    device.forwardTo(any);
    input.forwardTo(any);
    std::thread signaller([&] { input.setState(true); });
    ASSERT_TRUE(any.waitFor(10000));
    signaller.join();
    EXPECT_FALSE(device.waitFor(0));
    EXPECT_TRUE(input.waitFor(0));
}

TEST(Event, SameNameIsOneEvent) {
    unaEvent a(true, false, L"qv-test-event");
    unaEvent b(true, false, L"qv-test-event");
    unaEvent other(true, false, L"qv-other");
    a.setState(true);
    EXPECT_TRUE(b.waitFor(0));
    EXPECT_FALSE(other.waitFor(0));
}

}  // namespace
