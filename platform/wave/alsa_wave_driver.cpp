#include "platform/wave/alsa_wave_driver.h"

#include "platform/wave/alsa_wave_port.h"
#include "platform/wave/queued_wave_stream.h"

namespace platform {
namespace {

constexpr const char* kDefaultPcm = "default";

std::size_t slot(WaveDirection direction) {
    return direction == WaveDirection::capture ? 0 : 1;
}

}  // namespace

AlsaWaveDriver::AlsaWaveDriver(std::vector<std::string> extraNames)
    : extraNames_(std::move(extraNames)) {}

const std::vector<AlsaDeviceEntry>& AlsaWaveDriver::listFor(WaveDirection direction) {
    const auto s = slot(direction);
    if (!scanned_[s]) {
        lists_[s] = listAlsaDevices(direction, extraNames_);
        scanned_[s] = true;
    }
    return lists_[s];
}

int AlsaWaveDriver::deviceCount(WaveDirection direction) {
    std::lock_guard lock(mutex_);
    scanned_[slot(direction)] = false;
    return static_cast<int>(listFor(direction).size());
}

std::string AlsaWaveDriver::pcmNameFor(WaveDirection direction, int deviceId, bool direct,
                                       MmResult& result) {
    std::lock_guard lock(mutex_);
    result = MMSYSERR_NOERROR;
    if (deviceId == WAVE_MAPPER) {
        return kDefaultPcm;
    }
    const auto& list = listFor(direction);
    if (deviceId < 0 || deviceId >= static_cast<int>(list.size())) {
        result = MMSYSERR_BADDEVICEID;
        return {};
    }
    return direct ? list[deviceId].directName : list[deviceId].pcmName;
}

MmResult AlsaWaveDriver::deviceCaps(WaveDirection direction, int deviceId, WaveDeviceCaps& caps) {
    std::lock_guard lock(mutex_);
    std::string productName;
    if (deviceId == WAVE_MAPPER) {
        productName = "Default device";
    } else {
        const auto& list = listFor(direction);
        if (deviceId < 0 || deviceId >= static_cast<int>(list.size())) {
            return MMSYSERR_BADDEVICEID;
        }
        productName = list[deviceId].productName;
    }
    caps = {};
    caps.productName = cutProductName(productName);
    caps.formats = 0xFFFFF;  // the plug layer converts any standard format
    caps.channels = 2;
    return MMSYSERR_NOERROR;
}

MmResult AlsaWaveDriver::open(const WaveOpenRequest& request, std::unique_ptr<WaveStream>& stream) {
    stream.reset();
    MmResult result = MMSYSERR_NOERROR;
    const auto pcmName = pcmNameFor(request.direction, request.deviceId,
                                    (request.flags & WAVE_FORMAT_DIRECT) != 0, result);
    if (result != MMSYSERR_NOERROR) {
        return result;
    }
    std::unique_ptr<AlsaWavePort> port;
    const bool queryOnly = (request.flags & WAVE_FORMAT_QUERY) != 0;
    const auto outcome =
        AlsaWavePort::open(pcmName, request.direction, request.format, queryOnly, port);
    if (outcome.result != MMSYSERR_NOERROR) {
        std::lock_guard lock(mutex_);
        reasons_[outcome.result] = outcome.reason;
        return outcome.result;
    }
    if (!queryOnly) {
        stream = std::make_unique<QueuedWaveStream>(request.direction, request.format,
                                                    request.callback, std::move(port));
    }
    return MMSYSERR_NOERROR;
}

std::string AlsaWaveDriver::errorText(MmResult code) const {
    std::string text = waveResultText(code);
    std::lock_guard lock(mutex_);
    const auto reason = reasons_.find(code);
    if (!text.empty() && reason != reasons_.end()) {
        text += " (ALSA: " + reason->second + ")";
    }
    return text;
}

std::shared_ptr<WaveDriver> makeAlsaWaveDriver() {
    return std::make_shared<AlsaWaveDriver>();
}

}  // namespace platform
