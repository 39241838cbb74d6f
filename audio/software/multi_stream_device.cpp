#include "audio/software/multi_stream_device.h"

#include <memory>

#include "framework/stream/memory_stream.h"

unaWaveMultiStreamDevice::unaWaveMultiStreamDevice(bool realTime, bool addSilence,
                                                   unsigned overflowLimit)
    : unaWaveSoftwareDevice(realTime, true, overflowLimit), addSilence_(addSilence) {}

unaWaveMultiStreamDevice::~unaWaveMultiStreamDevice() {
    close(10000);
    shutdownWorker();
}

unaAbstractStream* unaWaveMultiStreamDevice::addStream(unaAbstractStream* stream) {
    std::unique_ptr<unaAbstractStream> created;
    if (stream == nullptr) {
        created = std::make_unique<unaMemoryStream>(kStreamGateTimeoutMs);
        stream = created.get();
    }
    if (!enter(kThreadGateTimeoutMs)) {
        return nullptr;  // a given stream stays the caller's
    }
    if (streams_.add(stream) < 0) {
        stream = nullptr;
    } else {
        created.release();  // the list owns it now
    }
    leave();
    return stream;
}

bool unaWaveMultiStreamDevice::removeStream(unaAbstractStream* stream) {
    if (stream == nullptr || !enter(kThreadGateTimeoutMs)) {
        return false;
    }
    const bool removed =
        streams_.indexOf(stream) >= 0 && streams_.remove(stream, unaListReleaseMode::freeItem);
    leave();
    return removed;
}

unaAbstractStream* unaWaveMultiStreamDevice::getStream(unsigned index) const {
    return static_cast<unaAbstractStream*>(streams_.get(index));
}
