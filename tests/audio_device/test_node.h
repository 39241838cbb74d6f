#pragma once

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "audio/device/stream_device.h"
#include "audio/format/wave_format.h"

// A node with a scripted back end: the open completes at once, late (from
// another thread) or never. Its worker passes every input chunk on.
class TestNode : public unaMsAcmStreamDevice {
  public:
    enum class Completion { immediate, late, never };

    explicit TestNode(bool createInput = true, unsigned inOverflow = 0, bool source = true)
        : unaMsAcmStreamDevice(createInput, false, inOverflow, 0, false), source_(source) {
        WAVEFORMATEX format{};
        buildPcmFormat(format, 44100, 16, 2);
        applyFormat(source, format);
    }
    ~TestNode() override {
        close(10000);
        if (completer_.joinable()) {
            completer_.join();
        }
    }

    bool formatIsSource() const override { return source_; }
    MMRESULT prepareHeader(unaMsAcmDeviceHeader*) override { return 0; }
    MMRESULT unprepareHeader(unaMsAcmDeviceHeader*) override { return 0; }

    Completion completion = Completion::immediate;
    int lateMs = 0;
    MMRESULT openResult = 0;
    std::atomic<int> doCloseCalls{0};
    bool backendHoldsBuffers = false;
    // Runs inside close(), while the node is closing.
    std::function<void(TestNode&)> onFlush;

    using unaMsAcmStreamDevice::setFlushing;

    using unaMsAcmStreamDevice::deliver;
    using unaMsAcmStreamDevice::headers;
    using unaMsAcmStreamDevice::releaseHeaders;

  protected:
    MMRESULT doOpen(unsigned flags) override {
        unaMsAcmStreamDevice::doOpen(flags);
        if (openResult != 0) {
            return openResult;
        }
        openCloseEvent.setState(completion == Completion::immediate);
        if (completion == Completion::late) {
            if (completer_.joinable()) {
                completer_.join();
            }
            completer_ = std::thread([this] {
                std::this_thread::sleep_for(std::chrono::milliseconds(lateMs));
                openCloseEvent.setState(true);
            });
        }
        setHandle(1);
        return 0;
    }
    bool flush(bool) override {
        if (onFlush) {
            onFlush(*this);
        }
        return true;
    }
    bool backendMayTouchHeaders() const override { return backendHoldsBuffers; }
    MMRESULT doClose(int timeoutMs) override {
        ++doCloseCalls;
        return unaMsAcmStreamDevice::doClose(timeoutMs);
    }
    int execute(unsigned) override {
        std::vector<uint8_t> chunk(chunkSize());
        while (!shouldStop()) {
            inputEvent.waitFor(10);
            int n;
            while ((n = readInput(chunk.data(), int(chunk.size()))) > 0) {
                deliver(chunk.data(), n);
            }
        }
        return 0;
    }

  private:
    bool source_;
    std::thread completer_;
};
