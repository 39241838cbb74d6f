#pragma once

#include <atomic>
#include <memory>

#include "audio/wave/wave_device.h"
#include "framework/timer/multimedia_timer.h"

// A wave device without sound hardware. In real time a multimedia timer paces
// it: every tick counts one pending tick and wakes the worker, which consumes
// at most one tick per wake-up, so ticks that arrive while it is busy are
// worked off on later wake-ups instead of in a burst. Free-running, it works
// whenever input arrives. Its main format is the source format.
//
// Subclasses do their work in serviceHeader() when the software step
// (this class's serviceHeader) returns true.
class unaWaveSoftwareDevice : public unaWaveDevice {
  public:
    static constexpr unsigned kDefaultDataWaitMs = 20;

    unaWaveSoftwareDevice(bool realTime, bool isInput, unsigned overflowLimit);
    ~unaWaveSoftwareDevice() override;

    bool applyFormat(bool isSource, const WAVEFORMATEX& format) override;
    MMRESULT prepareHeader(unaMsAcmDeviceHeader* header) override;
    MMRESULT unprepareHeader(unaMsAcmDeviceHeader* header) override;
    bool formatIsSource() const override { return true; }
    // Sets the timer up again: a timer only in real time.
    void setRealTime(bool on) override;

    int pendingTicks() const { return pendingTicks_.load(); }
    // The pacing timer's interval in ms, 0 without a timer.
    uint32_t timerInterval();

    // ms to wait for input when free-running.
    std::atomic<unsigned> dataWait{kDefaultDataWaitMs};

  protected:
    // No system device: opening only marks the handle so that isOpen() holds.
    MMRESULT doOpen(unsigned flags) override;
    MMRESULT afterOpen() override;
    void afterClose(MMRESULT result) override;
    MMRESULT queueHeader(unaWaveHeader* header) override;
    // The software step: true when this wake-up should produce a chunk.
    bool serviceHeader(unaWaveHeader* header, bool signalled) override;

    // One tick of the pacing timer (the timer's thread).
    void onTimerTick();
    // Bytes of input that make one unit of work.
    virtual unsigned inputChunkSize() const { return chunkSize(); }

  private:
    void setUpTimer();
    void updateTimerInterval();
    bool takePendingTick();

    std::atomic<int> pendingTicks_{0};
    std::unique_ptr<unaMMTimer> timer_;
};
