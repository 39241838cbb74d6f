#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "platform/wave/wave_driver.h"
#include "platform/wave/wave_port.h"

namespace platform {

// The queue of caller-owned buffers and the driver thread that moves them
// through a WavePort, shared by every driver so that real and simulated
// devices behave alike. Commands (start, pause, reset...) are handed to the
// driver thread, which alone touches the port, and are acknowledged before
// the call returns.
class QueuedWaveStream final : public WaveStream {
  public:
    QueuedWaveStream(WaveDirection direction, const WaveFormat& format, WaveCallback callback,
                     std::unique_ptr<WavePort> port, WaveStreamFaults faults = {});
    ~QueuedWaveStream() override;

    MmResult prepare(WaveBuffer& buffer) override;
    MmResult unprepare(WaveBuffer& buffer) override;
    MmResult add(WaveBuffer& buffer) override;
    MmResult start() override;
    MmResult stop() override;
    MmResult pause() override;
    MmResult reset() override;
    MmResult position(std::uint64_t& samples) const override;
    MmResult close() override;
    MmResult status() const override;
    std::uint64_t xrunCount() const override;
    const WaveFormat& format() const override { return format_; }

  private:
    enum Command : unsigned { haltPort = 1, returnPartial = 2, returnAll = 4, quit = 8 };

    void run();
    void announceOpen(std::unique_lock<std::mutex>& lock);
    // Runs `commands` on the driver thread; returns once they are done.
    MmResult post(unsigned commands, bool run);
    void applyCommands(std::unique_lock<std::mutex>& lock);
    void moveData(std::unique_lock<std::mutex>& lock);
    void finishFront(std::unique_lock<std::mutex>& lock);
    // Playback: returns the moved buffers the device has played by now, and
    // sets when to look again.
    void retirePlayed(std::unique_lock<std::mutex>& lock);
    void complete(WaveBuffer* buffer);
    void returnBuffer(WaveBuffer* buffer);
    void returnEverything();
    void haltLost(MmResult why);
    // Calls the callback for every notice gathered, with the lock released.
    void flushNotices(std::unique_lock<std::mutex>& lock);
    bool onDriverThread() const { return std::this_thread::get_id() == thread_.get_id(); }

    const WaveDirection direction_;
    const WaveFormat format_;
    const WaveCallback callback_;
    const std::unique_ptr<WavePort> port_;
    const WaveStreamFaults faults_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable acknowledged_;
    std::deque<WaveBuffer*> queue_;
    // Playback buffers moved to the device but not heard yet, with the frame
    // count at their end: a player's queue holds what is still to be heard, so
    // these stay "in queue" like a sound card's own buffers would.
    struct Moved {
        WaveBuffer* buffer;
        std::uint64_t endFrame;
    };
    std::deque<Moved> moved_;
    std::optional<std::chrono::steady_clock::time_point> nextRetire_;
    std::size_t frontOffset_ = 0;
    WaveBuffer* heldBack_ = nullptr;
    std::optional<PlatformClock::time_point> openNoticeDue_;
    std::uint64_t completions_ = 0;
    std::uint64_t adds_ = 0;
    bool running_;
    bool portActive_ = false;
    bool closed_ = false;
    unsigned pendingCommands_ = 0;
    std::uint64_t commandSerial_ = 0;
    std::uint64_t doneSerial_ = 0;
    std::uint64_t frames_ = 0;
    std::uint64_t xruns_ = 0;
    MmResult status_ = MMSYSERR_NOERROR;
    std::vector<std::pair<WaveNotice, std::uintptr_t>> notices_;
    std::thread thread_;
};

}  // namespace platform
