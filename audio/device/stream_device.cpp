#include "audio/device/stream_device.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <mutex>
#include <vector>

#include "audio/format/format_text.h"
#include "audio/format/pcm_samples.h"
#include "framework/stream/memory_stream.h"

namespace {

// Buffers the system never returned while it could still write into them.
// Held here for the rest of the process instead of being freed under it.
struct HeaderGraveyard {
    std::mutex mutex;
    std::vector<std::unique_ptr<unaObject>> headers;
};

HeaderGraveyard& graveyard() {
    static auto* instance = new HeaderGraveyard();
    return *instance;
}

}  // namespace

unaMsAcmStreamDevice::unaMsAcmStreamDevice(bool createInputStream, bool createOutputStream,
                                           unsigned inOverflowChunks, unsigned outOverflowChunks,
                                           bool meteringOn)
    : unaThread(false, unaThreadPriority::normal) {
    deviceEvent.forwardTo(deviceOrInputEvent);
    inputEvent.forwardTo(deviceOrInputEvent);
    if (createInputStream) {
        inputStream_.store(new unaMemoryStream(kStreamGateTimeoutMs));
        inIsMemory_ = true;
    }
    if (createOutputStream) {
        outputStream_.store(new unaMemoryStream(kStreamGateTimeoutMs));
        outIsMemory_ = true;
    }
    setInputOverflow(inOverflowChunks);
    setOutputOverflow(outOverflowChunks);
    meteringOn_.store(meteringOn);
}

unaMsAcmStreamDevice::~unaMsAcmStreamDevice() {
    close(10000);
    for (unsigned i = providers_.count(); i > 0; --i) {
        static_cast<unaMsAcmStreamDevice*>(providers_.get(i - 1))->unlinkConsumer(this);
    }
    for (unsigned i = 0; i < consumers_.count(); ++i) {
        static_cast<unaMsAcmStreamDevice*>(consumers_.get(i))->providers_.remove(this);
    }
    shutdownWorker();
    bool dummy = false;
    replaceStream(inputStream_, inOwned_, nullptr, false, dummy);
    replaceStream(outputStream_, outOwned_, nullptr, false, dummy);
    headers_.clear(unaListReleaseMode::freeItem);
}

// ---- open and close ----

MMRESULT unaMsAcmStreamDevice::open(bool query, int timeoutMs, unsigned flags) {
    unaGateLock gate(openCloseGate_, kOpenCloseGateTimeoutMs);
    if (!gate.ok()) {
        return mmresult::handleBusy;
    }
    if (isOpen()) {
        return mmresult::noError;
    }
    openCloseEvent.setState(false);
    MMRESULT result = doOpen(flags);
    if (result != mmresult::noError) {
        setHandle(0);
        return result;
    }
    if (query) {
        return mmresult::noError;
    }
    if (openCloseEvent.waitFor(timeoutMs)) {
        headers_.clear(unaListReleaseMode::freeItem);
        result = afterOpen();
        if (result == mmresult::noError) {
            start(10000);
        }
    } else {
        close(10000);
        result = mmresult::handleBusy;
    }
    return result;
}

MMRESULT unaMsAcmStreamDevice::close(int timeoutMs) {
    unaGateLock gate(openCloseGate_, kOpenCloseGateTimeoutMs);
    if (!gate.ok()) {
        return mmresult::handleBusy;
    }
    if (!isOpen()) {
        return mmresult::noError;
    }
    closing_.store(true);
    flush(false);
    stop(timeoutMs);
    releaseHeaders();
    openCloseEvent.setState(false);
    MMRESULT result = doClose(timeoutMs);
    if (result == mmresult::noError) {
        result = openCloseEvent.waitFor(timeoutMs) ? mmresult::noError : mmresult::handleBusy;
        setHandle(0);
    }
    afterClose(result);
    closing_.store(false);
    return result;
}

MMRESULT unaMsAcmStreamDevice::doOpen(unsigned) {
    headerCounter_.store(0);
    lastDoneHeader_.store(0);
    inOverflowBytes_.store(0);
    if (auto* in = inputStream()) {
        in->clear();
    }
    if (auto* out = outputStream()) {
        out->clear();
    }
    openCloseEvent.setState(true);
    return mmresult::noError;
}

MMRESULT unaMsAcmStreamDevice::doClose(int) {
    openCloseEvent.setState(true);
    return mmresult::noError;
}

MMRESULT unaMsAcmStreamDevice::afterOpen() {
    inBytes_.store(0);
    outBytes_.store(0);
    return mmresult::noError;
}

void unaMsAcmStreamDevice::afterClose(MMRESULT) {
    for (auto& level : levels_) {
        level.store(0);
    }
}

void unaMsAcmStreamDevice::onWorkerStart() {
    unaThread::onWorkerStart();
    inputEvent.setState(false);
    outputEvent.setState(false);
}

std::string unaMsAcmStreamDevice::getErrorText(MMRESULT code) const {
    return mmErrorText(code);
}

int64_t unaMsAcmStreamDevice::getPosition() const {
    const WAVEFORMATEX* dst = dstFormat();
    if (dst == nullptr || dst->wBitsPerSample < 8 || dst->nChannels == 0) {
        return 0;
    }
    const int64_t bytes = formatIsSource() ? inBytes() : outBytes();
    return bytes / (dst->wBitsPerSample / 8) / dst->nChannels;
}

// ---- formats ----

unsigned unaMsAcmStreamDevice::chunkRateFor(unsigned& bytesPerSecond) {
    unsigned rate = kDefaultChunksPerSecond;
    if (bytesPerSecond % rate == 0) {
        return rate;
    }
    if (bytesPerSecond % 5 != 0) {
        bytesPerSecond += 5 - bytesPerSecond % 5;
    }
    while (rate > 5 && (bytesPerSecond % rate != 0 || 1000 % rate != 0)) {
        --rate;
    }
    return rate;
}

bool unaMsAcmStreamDevice::applyFormat(bool isSource, const WAVEFORMATEX& format) {
    if (!enter(kThreadGateTimeoutMs)) {
        return false;
    }
    FormatPtr copy = duplicateFormat(&format);
    (isSource ? srcFormatText_ : dstFormatText_) = formatToText(format);
    (isSource ? srcFormat_ : dstFormat_) = std::move(copy);

    const bool isPcm = format.wFormatTag == WAVE_FORMAT_PCM;
    unsigned bytesPerSecond;
    if (!isPcm && format.nAvgBytesPerSec != 0) {
        bytesPerSecond = format.nAvgBytesPerSec;
    } else {
        bytesPerSecond = std::max(1000u, unsigned(format.nSamplesPerSec)) *
                         std::max(1u, unsigned(format.nChannels)) *
                         std::max(8u, unsigned(format.wBitsPerSample)) / 8;
    }
    const bool isMain = isSource == formatIsSource();
    unsigned rate = kDefaultChunksPerSecond;
    if (isMain && isPcm) {
        rate = chunkRateFor(bytesPerSecond);
    }
    if (isMain) {
        chunksPerSecond_.store(rate);
    }
    const unsigned align = format.nBlockAlign != 0 ? format.nBlockAlign : 512;
    unsigned size = bytesPerSecond / rate;
    size = (size + align - 1) / align * align;
    (isMain ? chunkSize_ : otherChunkSize_).store(size);
    if (isSource) {
        inLimitBytes_.store(inOverflowChunks_.load() * size);
    } else {
        outLimitBytes_.store(outOverflowChunks_.load() * size);
    }
    leave();
    return true;
}

// ---- links and streams ----

int unaMsAcmStreamDevice::linkConsumer(unaMsAcmStreamDevice* node, bool dropOutputStream) {
    if (!enter(kThreadGateTimeoutMs)) {
        return -1;
    }
    int index = -1;
    if (node != nullptr && consumers_.indexOf(node) < 0) {
        node->providers_.add(this);
        index = consumers_.add(node);
    }
    if (dropOutputStream) {
        setStream(false, nullptr, false);
    }
    leave();
    return index;
}

bool unaMsAcmStreamDevice::unlinkConsumer(unaMsAcmStreamDevice* node) {
    if (!enter(kThreadGateTimeoutMs)) {
        return false;
    }
    if (node != nullptr) {
        node->providers_.remove(this);
    }
    const bool was = consumers_.remove(node, unaListReleaseMode::keepItem);
    leave();
    return was;
}

void unaMsAcmStreamDevice::replaceStream(std::atomic<unaAbstractStream*>& slot, bool& owned,
                                         unaAbstractStream* stream, bool takeOwnership,
                                         bool& isMemory) {
    std::unique_ptr<unaAbstractStream> old(slot.exchange(stream));
    if (!owned) {
        old.release();  // someone else's stream
    }
    owned = takeOwnership;
    isMemory = dynamic_cast<unaMemoryStream*>(stream) != nullptr;
}

unaAbstractStream* unaMsAcmStreamDevice::setStream(bool isInput, unaAbstractStream* stream,
                                                   bool owned) {
    if (!enter(kThreadGateTimeoutMs)) {
        return nullptr;
    }
    if (isInput) {
        replaceStream(inputStream_, inOwned_, stream, owned, inIsMemory_);
    } else {
        replaceStream(outputStream_, outOwned_, stream, owned, outIsMemory_);
    }
    leave();
    return stream;
}

int unaMsAcmStreamDevice::getStreamSize(bool isInput) const {
    unaAbstractStream* stream = isInput ? inputStream() : outputStream();
    return stream != nullptr ? stream->getAvailableSize() : 0;
}

void unaMsAcmStreamDevice::setInputOverflow(unsigned chunks) {
    inOverflowChunks_.store(chunks);
    inLimitBytes_.store(chunks * chunkSize());
    if (auto* memory = dynamic_cast<unaMemoryStream*>(inputStream())) {
        memory->maxCachedChunks = chunks + 2;
    }
}

void unaMsAcmStreamDevice::setOutputOverflow(unsigned chunks) {
    outOverflowChunks_.store(chunks);
    outLimitBytes_.store(chunks * chunkSize());
    if (auto* memory = dynamic_cast<unaMemoryStream*>(outputStream())) {
        memory->maxCachedChunks = chunks + 2;
    }
}

// ---- the data path ----

bool unaMsAcmStreamDevice::analyzeChunk(const void* data, int size) {
    const WAVEFORMATEX* format = mainFormat();
    if (!meteringOn_.load() || size <= 0 || format == nullptr ||
        format->wFormatTag != WAVE_FORMAT_PCM || format->nChannels == 0 ||
        format->wBitsPerSample == 0) {
        return true;
    }
    const unsigned channels = std::min<unsigned>(format->nChannels, kMaxChannels);
    const unsigned bits = format->wBitsPerSample;
    const auto samplesPerChannel = uint32_t(uint64_t(size) * 8 / (format->nChannels * bits));
    for (unsigned c = 0; c < channels; ++c) {
        levels_[c].store(channelLevel(data, samplesPerChannel, bits, format->nChannels, c));
    }
    return true;
}

int unaMsAcmStreamDevice::deliver(const void* data, int size) {
    if (size <= 0) {
        return 0;
    }
    if (!analyzeChunk(data, size)) {
        rejectedBytes_ += size;
        return 0;
    }
    outBytes_ += size;
    int result = 0;
    if (onChunkReady_) {
        onChunkReady_(*this, data, size);
        result = size;
    }
    for (unsigned i = 0; i < consumers_.count(); ++i) {
        if (auto* consumer = static_cast<unaMsAcmStreamDevice*>(consumers_.get(i))) {
            result = consumer->acceptChunk(data, size);
        }
    }
    if (unaAbstractStream* out = outputStream()) {
        const unsigned limit = outOverflowChunks_.load();
        if (limit != 0 && unsigned(out->getAvailableSize()) > outLimitBytes_.load()) {
            outOverflowBytes_ += size;
            outputEvent.setState(true);
            return 0;
        }
        result = out->write(data, size);
    }
    outputEvent.setState(true);
    return result;
}

int unaMsAcmStreamDevice::acceptChunk(const void* data, int size) {
    unaAbstractStream* in = inputStream();
    if (!isOpen() || (closing_.load() && !flushing_.load()) || in == nullptr) {
        return 0;
    }
    if (!in->lock(chunkInterval())) {
        return 0;
    }
    int result = 0;
    if (inOverflowChunks_.load() != 0 && unsigned(in->getAvailableSize()) > inLimitBytes_.load()) {
        inOverflowBytes_ += size;
    } else {
        result = in->write(data, size);
        inputEvent.setState(true);
    }
    in->unlock();
    return result;
}

int unaMsAcmStreamDevice::readInput(void* buffer, int size) {
    unaAbstractStream* in = inputStream();
    if (size <= 0 || in == nullptr) {
        return 0;
    }
    const int n = in->read(buffer, size, true);
    if (n == 0) {
        return 0;
    }
    if (analyzeChunk(buffer, n)) {
        inBytes_ += n;
        return n;
    }
    rejectedBytes_ += n;
    return 0;
}

int unaMsAcmStreamDevice::readOutput(void* buffer, int size) {
    unaAbstractStream* out = outputStream();
    if (out == nullptr) {
        return 0;
    }
    if (size == 0) {
        auto* memory = dynamic_cast<unaMemoryStream*>(out);
        if (memory == nullptr) {
            return 0;
        }
        size = memory->firstChunkSize();
    }
    return out->read(buffer, size, true);
}

// ---- headers ----

bool unaMsAcmStreamDevice::isNextInOrder(uint32_t n) {
    uint32_t expected = n - 1;
    return lastDoneHeader_.compare_exchange_strong(expected, n);
}

unaMsAcmDeviceHeader* unaMsAcmStreamDevice::findDoneHeader(bool anyOrder, bool includeIdle) {
    for (unsigned i = 0; i < headers_.count(); ++i) {
        auto* header = static_cast<unaMsAcmDeviceHeader*>(headers_.get(i));
        if (header == nullptr || header->owner() == nullptr) {
            continue;
        }
        try {
            if (includeIdle && !header->isQueued()) {
                return header;
            }
            if (header->isDone() &&
                (anyOrder ? header->handled() : isNextInOrder(header->sequenceNumber()))) {
                return header;
            }
        } catch (...) {
            // a header that cannot answer does not match
        }
    }
    return nullptr;
}

void unaMsAcmStreamDevice::releaseHeaders() {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kHeaderReturnTimeoutMs);
    while (headers_.count() > 0) {
        if (!headers_.lock(100)) {
            continue;
        }
        unaMsAcmDeviceHeader* found = findDoneHeader(false, false);
        if (found == nullptr) {
            found = findDoneHeader(true, true);
        }
        if (found != nullptr) {
            headers_.remove(found, unaListReleaseMode::freeItem);
            headers_.unlock();
            continue;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            // The system kept these buffers. Free them only when it can no
            // longer write into them; otherwise keep them alive for good.
            const bool keep = backendMayTouchHeaders();
            while (headers_.count() > 0) {
                void* header = headers_.get(headers_.count() - 1);
                headers_.removeAt(headers_.count() - 1, unaListReleaseMode::keepItem);
                std::unique_ptr<unaObject> owned(static_cast<unaObject*>(header));
                if (keep) {
                    std::lock_guard lock(graveyard().mutex);
                    graveyard().headers.push_back(std::move(owned));
                }
            }
            headers_.unlock();
            return;
        }
        headers_.unlock();
        sleep(10);
    }
}

unsigned unaMsAcmStreamDevice::leakedHeaders() {
    std::lock_guard lock(graveyard().mutex);
    return unsigned(graveyard().headers.size());
}
