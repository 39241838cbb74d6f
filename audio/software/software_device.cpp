#include "audio/software/software_device.h"

namespace {
// Any non-zero handle: a software device has no system handle, but isOpen()
// must hold while it is open.
constexpr uintptr_t kSoftwareHandle = 1;
constexpr uint32_t kInitialTimerInterval = 1000;
}  // namespace

unaWaveSoftwareDevice::unaWaveSoftwareDevice(bool realTime, bool isInput, unsigned overflowLimit)
    : unaWaveDevice(-1, false, false, isInput, overflowLimit) {
    setRealTime(realTime);
}

unaWaveSoftwareDevice::~unaWaveSoftwareDevice() {
    close(10000);
    shutdownWorker();
    timer_.reset();
}

void unaWaveSoftwareDevice::setRealTime(bool on) {
    unaWaveDevice::setRealTime(on);
    setUpTimer();
}

void unaWaveSoftwareDevice::setUpTimer() {
    if (!enter(kThreadGateTimeoutMs)) {
        return;
    }
    timer_.reset();
    if (realTime()) {
        timer_ = std::make_unique<unaMMTimer>(kInitialTimerInterval, 0);
        timer_->setOnTimer([this](unaAbstractTimer&) { onTimerTick(); });
        setPriority(unaThreadPriority::timeCritical);
        updateTimerInterval();
        if (isOpen()) {
            pendingTicks_.store(0);
            timer_->start();
        }
    } else {
        setPriority(unaThreadPriority::aboveNormal);
    }
    leave();
}

void unaWaveSoftwareDevice::updateTimerInterval() {
    const unsigned rate = chunksPerSecond();
    if (timer_ && rate != 0 && mainFormat() != nullptr) {
        timer_->setInterval(1000 / rate);
    }
}

uint32_t unaWaveSoftwareDevice::timerInterval() {
    if (!enter(kThreadGateTimeoutMs)) {
        return 0;
    }
    const uint32_t interval = timer_ ? timer_->interval() : 0;
    leave();
    return interval;
}

bool unaWaveSoftwareDevice::applyFormat(bool isSource, const WAVEFORMATEX& format) {
    if (!enter(kThreadGateTimeoutMs)) {
        return false;
    }
    const bool applied = unaWaveDevice::applyFormat(isSource, format);
    if (applied && isSource == formatIsSource()) {
        updateTimerInterval();
    }
    leave();
    return applied;
}

MMRESULT unaWaveSoftwareDevice::doOpen(unsigned flags) {
    const MMRESULT result = unaWaveDevice::doOpen(flags);
    if (result == mmresult::noError && (flags & platform::WAVE_FORMAT_QUERY) == 0) {
        // Before the worker starts, so that providers' chunks are accepted at once.
        setHandle(kSoftwareHandle);
    }
    return result;
}

MMRESULT unaWaveSoftwareDevice::afterOpen() {
    const MMRESULT result = unaWaveDevice::afterOpen();
    if (result == mmresult::noError && enter(kThreadGateTimeoutMs)) {
        if (timer_) {
            pendingTicks_.store(0);
            timer_->start();
        }
        leave();
    }
    return result;
}

void unaWaveSoftwareDevice::afterClose(MMRESULT result) {
    unaWaveDevice::afterClose(result);
    if (enter(kThreadGateTimeoutMs)) {
        if (timer_) {
            timer_->stop();
        }
        leave();
    }
}

MMRESULT unaWaveSoftwareDevice::prepareHeader(unaMsAcmDeviceHeader* header) {
    auto* wave = static_cast<unaWaveHeader*>(header);
    wave->setFlag(platform::WHDR_PREPARED, true);
    wave->setFlag(platform::WHDR_DONE, false);
    return mmresult::noError;
}

MMRESULT unaWaveSoftwareDevice::unprepareHeader(unaMsAcmDeviceHeader* header) {
    static_cast<unaWaveHeader*>(header)->setFlag(platform::WHDR_PREPARED, false);
    return mmresult::noError;
}

MMRESULT unaWaveSoftwareDevice::queueHeader(unaWaveHeader*) {
    return mmresult::noError;
}

void unaWaveSoftwareDevice::onTimerTick() {
    ++pendingTicks_;
    deviceEvent.setState(true);
}

bool unaWaveSoftwareDevice::takePendingTick() {
    int ticks = pendingTicks_.load();
    while (ticks > 0 && !pendingTicks_.compare_exchange_weak(ticks, ticks - 1)) {
    }
    if (ticks > 1) {
        // Ticks that fell into one wake-up (the worker was held up) each get a
        // wake-up of their own right away. Waiting for the next tick instead
        // would leave the extra tick pending for good: every hold-up would add
        // one chunk to the heard delay and starve the playback meanwhile.
        deviceEvent.setState(true);
    }
    return ticks > 0;
}

bool unaWaveSoftwareDevice::serviceHeader(unaWaveHeader* header, bool) {
    if (realTime()) {
        return takePendingTick();
    }
    if (header == nullptr) {
        unaAbstractStream* in = inputStream();
        const int available = in != nullptr ? in->getAvailableSize() : 0;
        const unsigned wait = dataWait.load();
        if (wait > 0 && unsigned(available) < inputChunkSize()) {
            inputEvent.waitFor(int(wait));
        } else {
            inputEvent.setState(true);  // more work waiting: run again at once
        }
    }
    return true;
}
