#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <vector>

#include "framework/core/thread.h"

namespace {

// A worker that loops until asked to stop, reacting within reactMs.
class LoopingWorker : public unaThread {
  public:
    explicit LoopingWorker(int reactMs = 10) : reactMs_(reactMs) {}
    ~LoopingWorker() override { shutdownWorker(); }

    std::atomic<int> passes{0};
    unaEvent inside{true, false};
    unaEvent release{true, false};
    bool holdUntilReleased = false;

  protected:
    int execute(unsigned) override {
        inside.setState(true);
        while (!shouldStop() || (holdUntilReleased && !release.waitFor(0))) {
            ++passes;
            sleep(reactMs_);
        }
        return 0;
    }

  private:
    int reactMs_;
};

TEST(Thread, StartRunsWorkerOnceAndStopEndsIt) {
    LoopingWorker worker;
    ASSERT_TRUE(worker.start());
    ASSERT_TRUE(worker.inside.waitFor(10000));
    const auto id = worker.threadId();
    EXPECT_TRUE(worker.start());  // already running: no second OS thread
    EXPECT_EQ(worker.threadId(), id);
    EXPECT_TRUE(worker.stop(10000));
    EXPECT_EQ(worker.status(), unaThreadStatus::stopped);
    // and it can start again
    worker.inside.setState(false);
    ASSERT_TRUE(worker.start());
    EXPECT_TRUE(worker.inside.waitFor(10000));
}

TEST(Thread, StopWithShortTimeoutLeavesStoppingButTrue) {
    LoopingWorker worker;
    worker.holdUntilReleased = true;
    ASSERT_TRUE(worker.start());
    ASSERT_TRUE(worker.inside.waitFor(10000));
    EXPECT_TRUE(worker.stop(0));
    EXPECT_EQ(worker.status(), unaThreadStatus::stopping);
    worker.release.setState(true);
    EXPECT_TRUE(worker.stop(10000));
    EXPECT_EQ(worker.status(), unaThreadStatus::stopped);
}

TEST(Thread, StopFromInsideExecuteDoesNotWait) {
    unaThread thread;
    unaEvent returned(true, false);
    thread.setOnExecute([&](unaThread& self, unsigned) {
        EXPECT_TRUE(self.stop(10000));
        EXPECT_TRUE(self.shouldStop());
        returned.setState(true);
        return 0;
    });
    thread.start();  // a worker this short may have ended before start() returns
    EXPECT_TRUE(returned.waitFor(10000));
}

TEST(Thread, ExceptionOfFrameworkEndsWorkerAndObjectStaysUsable) {
    unaThread thread;
    std::atomic<int> runs{0};
    unaEvent ran;
    thread.setOnExecute([&](unaThread&, unsigned) -> int {
        ++runs;
        ran.setState(true);
        throw unaException("boom");
    });
    for (int i = 0; i < 2; ++i) {
        thread.start();  // may already have ended when start() looks
        ASSERT_TRUE(ran.waitFor(10000));
        thread.stop(10000);
        EXPECT_EQ(thread.status(), unaThreadStatus::stopped);
    }
    EXPECT_EQ(runs, 2);
}

TEST(Thread, DestroyingWhileWorkerIsStuckWaitsUntilItLeaves) {
    auto worker = std::make_unique<LoopingWorker>();
    worker->holdUntilReleased = true;
    worker->stopTimeout = 50;  // much shorter than the worker takes
    ASSERT_TRUE(worker->start());
    ASSERT_TRUE(worker->inside.waitFor(10000));
    unaEvent& release = worker->release;
    LoopingWorker* raw = worker.get();  // alive until its destructor returns
    std::thread releaser([&release, raw] {
        // Destruction has begun once the stop request is visible.
        while (!raw->shouldStop()) {
            std::this_thread::yield();
        }
        release.setState(true);
    });
    worker.reset();  // must wait for the worker to leave execute
    releaser.join();
}

TEST(Thread, RecordsAreReturnedAndRegistryHasAFixedSize) {
    const unsigned before = unaThread::recordsInUse();
    std::vector<std::unique_ptr<unaThread>> threads;
    bool aborted = false;
    try {
        while (threads.size() <= unaThread::kMaxThreads) {
            threads.push_back(std::make_unique<unaThread>());
        }
    } catch (const unaSilentAbort&) {
        aborted = true;
    }
    EXPECT_TRUE(aborted);
    EXPECT_EQ(threads.size() + before, unaThread::kMaxThreads);
    threads.clear();
    EXPECT_EQ(unaThread::recordsInUse(), before);
}

TEST(Thread, RealTimePriorityNeverFailsAStart) {
    unaThread thread(false, unaThreadPriority::timeCritical);
    unaEvent ran;
    thread.setOnExecute([&](unaThread&, unsigned) {
        ran.setState(true);
        return 0;
    });
    thread.start();
    EXPECT_TRUE(ran.waitFor(10000));
    EXPECT_EQ(thread.priority(), unaThreadPriority::timeCritical);
}

TEST(Gcd, Table) {
    struct Case {
        unsigned a, b, expect;
    };
    for (const Case c :
         {Case{44100, 48000, 300}, Case{12, 18, 6}, Case{7, 0, 1}, Case{0, 5, 1}, Case{17, 5, 1}}) {
        EXPECT_EQ(gcd(c.a, c.b), c.expect) << c.a << "," << c.b;
    }
}

}  // namespace
