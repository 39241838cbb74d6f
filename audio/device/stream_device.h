#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "audio/device/device_header.h"
#include "audio/format/mm_result.h"
#include "audio/format/wave_format.h"
#include "framework/core/event.h"
#include "framework/core/list.h"
#include "framework/core/thread.h"
#include "framework/stream/abstract_stream.h"

// The base of every audio node: a worker thread that owns up to two chunk
// streams, a source and a destination format, the consumers it feeds and the
// providers that feed it, per-channel level meters and an onChunkReady handler.
//
// A producer's worker calls deliver() for every chunk: it meters the chunk,
// calls onChunkReady, copies the chunk into each consumer's input stream
// (acceptChunk) and into the node's own output stream. A consumer that is not
// open rejects chunks, so chains are opened consumer first.
//
// Thread rules: consumers are linked and unlinked only while the producer's
// worker is stopped (deliver walks the consumer list without its gate), and a
// consumer is freed only after its producer is closed. onChunkReady runs on the
// producer's worker and must return quickly.
class unaMsAcmStreamDevice : public unaThread {
  public:
    using ChunkHandler =
        std::function<void(unaMsAcmStreamDevice& sender, const void* data, int size)>;

    static constexpr int kOpenCloseGateTimeoutMs = 1100;
    static constexpr int kThreadGateTimeoutMs = 1000;
    static constexpr int kStreamGateTimeoutMs = 100;
    static constexpr int kDefaultChunksPerSecond = 25;
    static constexpr int kMaxChannels = 256;
    // How long close() waits for the system to give back its buffers.
    static constexpr int kHeaderReturnTimeoutMs = 5000;

    unaMsAcmStreamDevice(bool createInputStream, bool createOutputStream, unsigned inOverflowChunks,
                         unsigned outOverflowChunks, bool meteringOn);
    // Subclasses with a back end call close() in their own destructor: by the
    // time this one runs their overrides are gone.
    ~unaMsAcmStreamDevice() override;

    // 0 on success, 12 when the gate or the back end does not answer in time,
    // otherwise the back end's code. A query open only asks the back end.
    virtual MMRESULT open(bool query = false, int timeoutMs = 10000, unsigned flags = 0);
    virtual MMRESULT close(int timeoutMs = 10000);
    bool isOpen() const { return handle_.load() != 0; }
    bool isClosing() const { return closing_.load(); }

    virtual bool applyFormat(bool isSource, const WAVEFORMATEX& format);
    virtual bool formatIsSource() const = 0;
    virtual void setRealTime(bool on) { realTime_ = on; }
    bool realTime() const { return realTime_; }
    virtual std::string getErrorText(MMRESULT code) const;
    // Samples per channel processed so far.
    virtual int64_t getPosition() const;

    // Index in the consumer list, or -1. dropOutputStream frees this node's
    // output stream so its chunks go only to the handler and the consumers.
    int linkConsumer(unaMsAcmStreamDevice* node, bool dropOutputStream = true);
    bool unlinkConsumer(unaMsAcmStreamDevice* node);
    // The stream installed, or nullptr when the thread's gate was busy.
    unaAbstractStream* setStream(bool isInput, unaAbstractStream* stream, bool owned);
    unaAbstractStream* inputStream() const { return inputStream_.load(); }
    unaAbstractStream* outputStream() const { return outputStream_.load(); }
    int getStreamSize(bool isInput) const;

    void setInputOverflow(unsigned chunks);
    void setOutputOverflow(unsigned chunks);
    void setMetering(bool on) { meteringOn_.store(on); }
    bool metering() const { return meteringOn_.load(); }
    // Last level of channel (channel mod 256), 0 after a close.
    uint32_t getVolume(unsigned channel) const { return levels_[channel % kMaxChannels].load(); }

    // The data path.
    int deliver(const void* data, int size);
    int acceptChunk(const void* data, int size);
    int readInput(void* buffer, int size);
    // size 0 asks for the next whole chunk of a memory output stream.
    int readOutput(void* buffer, int size);

    void setOnChunkReady(ChunkHandler handler) { onChunkReady_ = std::move(handler); }

    // Format bookkeeping.
    const WAVEFORMATEX* srcFormat() const { return srcFormat_.get(); }
    const WAVEFORMATEX* dstFormat() const { return dstFormat_.get(); }
    const std::string& srcFormatText() const { return srcFormatText_; }
    const std::string& dstFormatText() const { return dstFormatText_; }
    const WAVEFORMATEX* mainFormat() const { return formatIsSource() ? srcFormat() : dstFormat(); }
    unsigned chunkSize() const { return chunkSize_.load(); }
    unsigned otherChunkSize() const { return otherChunkSize_.load(); }
    unsigned chunksPerSecond() const { return chunksPerSecond_.load(); }
    int chunkInterval() const { return chunkInterval_.load(); }

    // Counters.
    int64_t inBytes() const { return inBytes_.load(); }
    int64_t outBytes() const { return outBytes_.load(); }
    int64_t rejectedBytes() const { return rejectedBytes_.load(); }
    int64_t inOverflowBytes() const { return inOverflowBytes_.load(); }
    int64_t outOverflowBytes() const { return outOverflowBytes_.load(); }
    unsigned inLimitBytes() const { return inLimitBytes_.load(); }
    unsigned outLimitBytes() const { return outLimitBytes_.load(); }
    int queuedHeaders() const { return queuedHeaders_.load(); }
    unsigned headerCount() const { return headers_.count(); }
    // Buffers the system never gave back while it could still write into
    // them: kept alive on purpose rather than freed under the driver.
    static unsigned leakedHeaders();

    // Header bookkeeping.
    uint32_t nextHeaderNumber() { return ++headerCounter_; }
    // Completes header number n when n follows the last one completed.
    bool isNextInOrder(uint32_t n);
    unaMsAcmDeviceHeader* findDoneHeader(bool anyOrder, bool includeIdle);
    virtual MMRESULT prepareHeader(unaMsAcmDeviceHeader* header) = 0;
    virtual MMRESULT unprepareHeader(unaMsAcmDeviceHeader* header) = 0;

  protected:
    // The back end. doOpen resets the numbering, counters and streams and
    // signals openCloseEvent; subclasses open the system device after it.
    virtual MMRESULT doOpen(unsigned flags);
    virtual MMRESULT doClose(int timeoutMs);
    virtual MMRESULT afterOpen();
    virtual void afterClose(MMRESULT result);
    virtual bool flush(bool wait) {
        (void)wait;
        return true;
    }
    // Meters the chunk; true when it passes.
    virtual bool analyzeChunk(const void* data, int size);
    // True while the system may still write into buffers it holds (not reset
    // or closed); such buffers are never freed.
    virtual bool backendMayTouchHeaders() const { return false; }
    void onWorkerStart() override;

    void releaseHeaders();
    void setHandle(uintptr_t handle) { handle_.store(handle); }
    uintptr_t handle() const { return handle_.load(); }
    void setFlushing(bool on) { flushing_.store(on); }
    bool flushing() const { return flushing_.load(); }
    void setChunkInterval(int ms) { chunkInterval_.store(ms); }
    void addInBytes(int64_t n) { inBytes_ += n; }
    void addOutBytes(int64_t n) { outBytes_ += n; }
    void setQueuedHeaders(int n) { queuedHeaders_.store(n); }
    void addQueuedHeaders(int n) { queuedHeaders_ += n; }

    unaObjectList& headers() { return headers_; }
    unaEvent deviceEvent{false, false};
    unaEvent openCloseEvent{false, false};
    unaEvent inputEvent{false, false};
    unaEvent outputEvent{false, false};
    // Signalled with deviceEvent and with inputEvent, for workers that wait for either.
    unaEvent deviceOrInputEvent{false, false};

  private:
    void replaceStream(std::atomic<unaAbstractStream*>& slot, bool& owned,
                       unaAbstractStream* stream, bool takeOwnership, bool& isMemory);
    // Chunks per second for a main PCM format: 25 when it divides the byte
    // rate, else the largest rate down to 5 dividing both the byte rate (then
    // rounded up to a multiple of 5, in place) and 1000.
    static unsigned chunkRateFor(unsigned& bytesPerSecond);

    std::atomic<uintptr_t> handle_{0};
    std::atomic<int64_t> inBytes_{0}, outBytes_{0}, rejectedBytes_{0};
    std::atomic<bool> closing_{false}, flushing_{false};
    bool realTime_ = false;
    std::atomic<unsigned> chunkSize_{0}, otherChunkSize_{0}, chunksPerSecond_{0};
    std::atomic<int> queuedHeaders_{0};
    std::string srcFormatText_, dstFormatText_;
    std::atomic<unsigned> inOverflowChunks_{0}, outOverflowChunks_{0};
    std::atomic<unsigned> inLimitBytes_{0}, outLimitBytes_{0};
    std::atomic<int64_t> inOverflowBytes_{0}, outOverflowBytes_{0};
    bool inOwned_ = true, outOwned_ = true;
    bool inIsMemory_ = false, outIsMemory_ = false;
    std::atomic<int> chunkInterval_{1000 / kDefaultChunksPerSecond};
    std::atomic<bool> meteringOn_{false};
    std::array<std::atomic<uint32_t>, kMaxChannels> levels_{};
    ChunkHandler onChunkReady_;
    std::atomic<uint32_t> headerCounter_{0}, lastDoneHeader_{0};
    FormatPtr srcFormat_, dstFormat_;
    unaInProcessGate openCloseGate_;
    std::atomic<unaAbstractStream*> inputStream_{nullptr}, outputStream_{nullptr};
    unaObjectList headers_{true};
    unaList consumers_{false};
    unaList providers_{false};
};
