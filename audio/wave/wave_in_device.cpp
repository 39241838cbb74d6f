#include "audio/wave/wave_in_device.h"

#include <memory>

#include "audio/format/format_chooser.h"

using namespace platform;

unaWaveInDevice::unaWaveInDevice(int deviceId, bool mapped, bool direct, unsigned overflowLimit)
    : unaWaveSystemDevice(WaveDirection::capture, deviceId, mapped, direct, overflowLimit) {}

unaWaveInDevice::~unaWaveInDevice() {
    close(10000);
}

MMRESULT unaWaveInDevice::chooseFormat(FormatPtr& format, const std::string& title) {
    return chooseFormatFor(format, title, formatEnumInput);
}

void unaWaveInDevice::onWorkerEnd() {
    unaWaveSystemDevice::onWorkerEnd();
    if (WaveStream* s = stream()) {
        s->stop();
        s->reset();  // every queued buffer comes back done
        streamReset_.store(true);
    }
}

MMRESULT unaWaveInDevice::afterOpen() {
    MMRESULT result = unaWaveSystemDevice::afterOpen();
    if (result != MMSYSERR_NOERROR) {
        return result;
    }
    setQueuedHeaders(0);
    addHeaders(nullptr);
    return stream() != nullptr ? stream()->start() : MMSYSERR_INVALHANDLE;
}

bool unaWaveInDevice::addHeaders(unaWaveHeader* header) {
    bool first = true;
    bool queuedFirst = false;
    while (true) {
        if (shouldStop() || queuedHeaders() >= kQueuedBuffers) {
            return queuedFirst;
        }
        if (header == nullptr) {
            auto created = std::make_unique<unaWaveHeader>(this, nullptr, chunkSize());
            header = created.get();
            if (headers().add(created.get()) < 0) {
                return queuedFirst;
            }
            created.release();  // the header list owns it
            header->prepare();
        }
        header->rearm();
        if (queueHeader(header) != MMSYSERR_NOERROR) {
            return queuedFirst;  // stays prepared in the list until the next completion
        }
        addQueuedHeaders(1);
        queuedFirst = queuedFirst || first;
        first = false;
        header = nullptr;  // top the queue up with new headers
    }
}

bool unaWaveInDevice::serviceHeader(unaWaveHeader* header, bool signalled) {
    if (header != nullptr) {
        deliver(header->data(), int(header->bytesRecorded()));
        if (queuedHeaders() > 0) {
            addQueuedHeaders(-1);
        }
    }
    if (signalled) {
        addHeaders(header);
    }
    return true;
}
