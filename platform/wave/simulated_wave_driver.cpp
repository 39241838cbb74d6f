#include "platform/wave/simulated_wave_driver.h"

#include <algorithm>

#include "platform/wave/queued_wave_stream.h"
#include "platform/wave/simulated_wave_port.h"

namespace platform {

SimulatedWaveDriver::SimulatedWaveDriver() = default;
SimulatedWaveDriver::~SimulatedWaveDriver() = default;

int SimulatedWaveDriver::addDevice(WaveDirection direction, SimulatedDeviceConfig config) {
    auto device = std::make_shared<Device>();
    device->direction = direction;
    if (!config.signal) {
        config.signal = makeSilence();
    }
    device->config = std::move(config);
    std::lock_guard lock(mutex_);
    auto& list = direction == WaveDirection::capture ? capture_ : playback_;
    list.push_back(std::move(device));
    return static_cast<int>(list.size()) - 1;
}

void SimulatedWaveDriver::removeDevice(WaveDirection direction, int deviceId) {
    MmResult result = MMSYSERR_NOERROR;
    if (auto device = find(direction, deviceId, result)) {
        device->removed = true;
    }
}

std::vector<PlayedBuffer> SimulatedWaveDriver::played(int deviceId) const {
    MmResult result = MMSYSERR_NOERROR;
    auto device = find(WaveDirection::playback, deviceId, result);
    if (!device) {
        return {};
    }
    std::lock_guard lock(device->playedMutex);
    return device->played;
}

int SimulatedWaveDriver::deviceCount(WaveDirection direction) {
    std::lock_guard lock(mutex_);
    return static_cast<int>((direction == WaveDirection::capture ? capture_ : playback_).size());
}

std::shared_ptr<SimulatedWaveDriver::Device> SimulatedWaveDriver::find(WaveDirection direction,
                                                                       int deviceId,
                                                                       MmResult& result) const {
    std::lock_guard lock(mutex_);
    const auto& list = direction == WaveDirection::capture ? capture_ : playback_;
    if (deviceId == WAVE_MAPPER && list.empty()) {
        result = MMSYSERR_NODRIVER;
        return nullptr;
    }
    const int index = deviceId == WAVE_MAPPER ? 0 : deviceId;
    if (index < 0 || index >= static_cast<int>(list.size())) {
        result = MMSYSERR_BADDEVICEID;
        return nullptr;
    }
    if (list[index]->removed) {
        result = MMSYSERR_NODRIVER;
        return nullptr;
    }
    result = MMSYSERR_NOERROR;
    return list[index];
}

MmResult SimulatedWaveDriver::deviceCaps(WaveDirection direction, int deviceId,
                                         WaveDeviceCaps& caps) {
    MmResult result = MMSYSERR_NOERROR;
    const auto device = find(direction, deviceId, result);
    if (!device) {
        return result;
    }
    caps = {};
    caps.productName =
        cutProductName(deviceId == WAVE_MAPPER ? "Simulated default device" : device->config.name);
    caps.formats = 0xFFFFF;
    caps.channels = 2;
    caps.support = direction == WaveDirection::playback ? device->config.support : 0;
    return MMSYSERR_NOERROR;
}

MmResult SimulatedWaveDriver::open(const WaveOpenRequest& request,
                                   std::unique_ptr<WaveStream>& stream) {
    stream.reset();
    MmResult result = MMSYSERR_NOERROR;
    const auto device = find(request.direction, request.deviceId, result);
    if (!device) {
        return result;
    }
    const auto& rates = device->config.rates;
    if (!request.format.isCarried() ||
        (!rates.empty() &&
         std::find(rates.begin(), rates.end(), request.format.samplesPerSec) == rates.end())) {
        return WAVERR_BADFORMAT;
    }
    if (request.flags & WAVE_FORMAT_QUERY) {
        return MMSYSERR_NOERROR;
    }
    if (device->config.openResult != MMSYSERR_NOERROR) {
        return device->config.openResult;
    }
    if (device->inUse.exchange(true)) {
        return MMSYSERR_ALLOCATED;
    }
    stream = std::make_unique<QueuedWaveStream>(
        request.direction, request.format, request.callback,
        std::make_unique<SimulatedWavePort>(device, request.format), device->config.faults);
    return MMSYSERR_NOERROR;
}

}  // namespace platform
