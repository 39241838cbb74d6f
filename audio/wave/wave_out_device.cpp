#include "audio/wave/wave_out_device.h"

#include <memory>
#include <vector>

#include "audio/format/format_chooser.h"

using namespace platform;

unaWaveOutDevice::unaWaveOutDevice(int deviceId, bool mapped, bool direct, unsigned overflowLimit)
    : unaWaveSystemDevice(WaveDirection::playback, deviceId, mapped, direct, overflowLimit) {}

unaWaveOutDevice::~unaWaveOutDevice() {
    close(10000);
}

MMRESULT unaWaveOutDevice::chooseFormat(FormatPtr& format, const std::string& title) {
    return chooseFormatFor(format, title, formatEnumOutput);
}

std::string unaWaveOutDevice::getErrorText(MMRESULT code) const {
    const std::string text = waveDriver()->errorText(code);
    if (text.empty()) {
        return mmErrorTextWithCode(code);
    }
    return std::to_string(code) + " (" + text + ")";
}

MMRESULT unaWaveOutDevice::doOpen(unsigned flags) {
    if ((caps().support & WAVECAPS_SYNC) != 0) {
        flags |= WAVE_ALLOWSYNC;
    }
    return unaWaveSystemDevice::doOpen(flags);
}

void unaWaveOutDevice::onWorkerEnd() {
    unaWaveSystemDevice::onWorkerEnd();
    if (WaveStream* s = stream()) {
        s->pause();
        s->reset();  // every queued buffer comes back done
        streamReset_.store(true);
    }
}

MMRESULT unaWaveOutDevice::afterOpen() {
    const MMRESULT result = unaWaveSystemDevice::afterOpen();
    if (result == MMSYSERR_NOERROR) {
        setQueuedHeaders(0);
        underruns_.store(0);
    }
    return result;
}

bool unaWaveOutDevice::flush(bool) {
    if (!isOpen()) {
        return false;
    }
    std::vector<uint8_t> scratch(chunkSize());
    while (status() == unaThreadStatus::running && getStreamSize(true) > int(chunkSize()) &&
           readInput(scratch.data(), int(scratch.size())) > 0) {
    }
    return true;
}

unaWaveHeader* unaWaveOutDevice::reusableHeader(unaWaveHeader* given) {
    unaWaveHeader* header =
        given != nullptr ? given : static_cast<unaWaveHeader*>(findDoneHeader(true, false));
    if (header != nullptr && header->capacity() == chunkSize() &&
        header->bufferLength() == chunkSize()) {
        return header;
    }
    if (header != nullptr) {
        headers().remove(header, unaListReleaseMode::freeItem);
    }
    auto created = std::make_unique<unaWaveHeader>(this, nullptr, chunkSize());
    if (headers().add(created.get()) < 0) {
        return nullptr;
    }
    created->prepare();
    return created.release();  // the header list owns it
}

bool unaWaveOutDevice::serviceHeader(unaWaveHeader* header, bool signalled) {
    if (header != nullptr) {
        if (onChunkPlayed_) {
            onChunkPlayed_(*this, header->data(), int(header->bufferLength()));
        }
        if (queuedHeaders() > 0) {
            addQueuedHeaders(-1);
        }
    }
    int available = getStreamSize(true);
    const int chunk = int(chunkSize());
    const int queued = queuedHeaders();
    const bool write = queued < kMinQueue ? available >= (kMinQueue - queued) * chunk
                                          : queued < kMaxQueue && available >= chunk;
    if (!write || shouldStop()) {
        if (queuedHeaders() == 0) {
            ++underruns_;
        }
        return write;
    }
    unaWaveHeader* target = reusableHeader(header);
    if (target == nullptr) {
        return false;
    }
    target->rearm();
    const int read = readInput(target->data(), chunk);
    available -= read;
    // A short read can only happen while a close drains the input: play what
    // was read, whole frames of it, and let the next reuse test replace it.
    const WAVEFORMATEX* format = srcFormat();
    const int frame = format != nullptr && format->nBlockAlign != 0 ? format->nBlockAlign : 1;
    target->setBufferLength(uint32_t(read / frame * frame));
    if (target->bufferLength() == 0) {
        return false;
    }
    const bool queuedOk = queueHeader(target) == MMSYSERR_NOERROR;
    if (queuedOk) {
        addQueuedHeaders(1);
        if (onChunkQueued_) {
            onChunkQueued_(*this, target->data(), read);
        }
        if (!shouldStop() && queuedHeaders() <= kMinQueue && available >= chunk) {
            serviceHeader(nullptr, signalled);
        }
    }
    return queuedOk;
}
