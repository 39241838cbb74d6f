#include "audio/wave/wave_device.h"

#include <chrono>
#include <thread>

#include "audio/format/format_chooser.h"

using namespace platform;

unaWaveDevice::unaWaveDevice(int deviceId, bool mapped, bool direct, bool isInput,
                             unsigned overflowLimit)
    : unaMsAcmStreamDevice(!isInput, isInput, overflowLimit, overflowLimit, false),
      deviceId(deviceId),
      mapped(mapped),
      direct(direct) {}

bool unaWaveDevice::setFormat(const WAVEFORMATEX& format) {
    return applyFormat(formatIsSource(), format);
}

bool unaWaveDevice::setPcmSampling(unsigned samplesPerSec, unsigned bitsPerSample,
                                   unsigned channels) {
    WAVEFORMATEX format{};
    buildPcmFormat(format, samplesPerSec, uint16_t(bitsPerSample), uint16_t(channels));
    return setFormat(format);
}

bool unaWaveDevice::setPcmSampling(const PcmSampling& sampling) {
    return setPcmSampling(sampling.samplesPerSec, sampling.bitsPerSample, sampling.channels);
}

MMRESULT unaWaveDevice::open(bool query, int timeoutMs, unsigned flags) {
    if (flags == 0) {
        flags = CALLBACK_EVENT | (mapped ? WAVE_MAPPED : 0) | (direct ? WAVE_FORMAT_DIRECT : 0) |
                (query ? WAVE_FORMAT_QUERY : 0);
    }
    return unaMsAcmStreamDevice::open(query, timeoutMs, flags);
}

int unaWaveDevice::execute(unsigned) {
    const unsigned rate = chunksPerSecond();
    const int interval = rate != 0 ? int(1000 / rate) : 40;
    setChunkInterval(interval);
    while (!shouldStop()) {
        bool came = deviceOrInputEvent.waitFor(interval);
        bool fromDevice = false;
        if (came) {
            fromDevice = deviceEvent.waitFor(0);
            const bool fromInput = inputEvent.waitFor(0);
            came = fromDevice || fromInput;  // a stale wake-up counts as a time-out
        }
        try {
            const bool winding = isClosing() && !flushing();
            if (winding || !came) {
                if (!winding && queuedHeaders() == 0) {
                    serviceHeader(nullptr, false);
                }
            } else {
                unaMsAcmDeviceHeader* header;
                do {
                    header = findDoneHeader(false, false);
                    if (header != nullptr) {
                        header->setHandled(true);
                    }
                    serviceHeader(static_cast<unaWaveHeader*>(header), fromDevice);
                } while (!shouldStop() && header != nullptr && !(isClosing() && !flushing()));
            }
            if (isClosing() && !flushing()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        } catch (...) {
            // one bad pass must not end the device's worker
        }
    }
    return 0;
}

// ---- devices backed by the platform layer ----

unaWaveSystemDevice::unaWaveSystemDevice(WaveDirection direction, int deviceId, bool mapped,
                                         bool direct, unsigned overflowLimit)
    : unaWaveDevice(deviceId, mapped, direct, direction == WaveDirection::capture, overflowLimit),
      direction_(direction) {
    queryDeviceCaps(direction, deviceId, caps_);
}

unaWaveSystemDevice::~unaWaveSystemDevice() {
    close(10000);
    shutdownWorker();
    headers().clear(unaListReleaseMode::freeItem);
    if (stream_) {
        stream_->close();
    }
}

int unaWaveSystemDevice::getDeviceCount(WaveDirection direction) {
    return waveDriver()->deviceCount(direction);
}

bool unaWaveSystemDevice::queryDeviceCaps(WaveDirection direction, int deviceId,
                                          WaveDeviceCaps& caps) {
    return waveDriver()->deviceCaps(direction, deviceId, caps) == MMSYSERR_NOERROR;
}

MMRESULT unaWaveSystemDevice::doOpen(unsigned flags) {
    unaMsAcmStreamDevice::doOpen(flags);
    const WAVEFORMATEX* main = mainFormat();
    if (main == nullptr) {
        return WAVERR_BADFORMAT;
    }
    WaveOpenRequest request;
    request.direction = direction_;
    request.deviceId = deviceId;
    request.format.formatTag = main->wFormatTag;
    request.format.channels = main->nChannels;
    request.format.samplesPerSec = main->nSamplesPerSec;
    request.format.bitsPerSample = main->wBitsPerSample;
    request.flags = flags;
    request.callback = [this](WaveNotice notice, std::uintptr_t) {
        if (notice == WaveNotice::opened || notice == WaveNotice::closed) {
            openCloseEvent.setState(true);
        }
        deviceEvent.setState(true);
    };
    std::unique_ptr<WaveStream> opened;
    const MMRESULT result = waveDriver()->open(request, opened);
    if (result != MMSYSERR_NOERROR || (flags & WAVE_FORMAT_QUERY) != 0) {
        return result;
    }
    stream_ = std::move(opened);
    streamReset_.store(false);
    setHandle(reinterpret_cast<uintptr_t>(stream_.get()));
    return MMSYSERR_NOERROR;
}

MMRESULT unaWaveSystemDevice::doClose(int timeoutMs) {
    MMRESULT result = MMSYSERR_NOERROR;
    if (stream_) {
        result = stream_->close();
        streamReset_.store(true);
        stream_.reset();
    }
    unaMsAcmStreamDevice::doClose(timeoutMs);
    return result;
}

void unaWaveSystemDevice::onWorkerStart() {
    unaMsAcmStreamDevice::onWorkerStart();
    setPriority(unaThreadPriority::timeCritical);
}

bool unaWaveSystemDevice::backendMayTouchHeaders() const {
    return !streamReset_.load();
}

std::string unaWaveSystemDevice::getErrorText(MMRESULT code) const {
    const std::string text = waveDriver()->errorText(code);
    return text.empty() ? mmErrorTextWithCode(code) : text;
}

int64_t unaWaveSystemDevice::getPosition() const {
    uint64_t samples = 0;
    if (!isOpen() || !stream_ || stream_->position(samples) != MMSYSERR_NOERROR) {
        return 0;
    }
    return int64_t(samples);
}

MMRESULT unaWaveSystemDevice::prepareHeader(unaMsAcmDeviceHeader* header) {
    auto* wave = static_cast<unaWaveHeader*>(header);
    wave->buffer().flags.store(0);
    return stream_ ? stream_->prepare(wave->buffer()) : MMSYSERR_INVALHANDLE;
}

MMRESULT unaWaveSystemDevice::unprepareHeader(unaMsAcmDeviceHeader* header) {
    auto* wave = static_cast<unaWaveHeader*>(header);
    return stream_ ? stream_->unprepare(wave->buffer()) : MMSYSERR_INVALHANDLE;
}

MMRESULT unaWaveSystemDevice::queueHeader(unaWaveHeader* header) {
    return stream_ ? stream_->add(header->buffer()) : MMSYSERR_INVALHANDLE;
}

MMRESULT unaWaveSystemDevice::streamStatus() const {
    return stream_ ? stream_->status() : MMSYSERR_NOERROR;
}

uint64_t unaWaveSystemDevice::xrunCount() const {
    return stream_ ? stream_->xrunCount() : 0;
}

MMRESULT unaWaveSystemDevice::chooseFormatFor(FormatPtr& format, const std::string& title,
                                              uint32_t enumFlags) {
    FormatChoiceOptions options;
    options.title = title;
    options.style = formatChooseInitFromRecord;
    options.enumFlags = enumFlags | formatEnumHardware;
    const MMRESULT result = chooseFormatDialog(format, options);
    if (result == mmresult::noError && format) {
        setFormat(*format);
    }
    return result;
}
