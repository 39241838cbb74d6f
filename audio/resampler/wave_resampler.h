#pragma once

#include <cstdint>
#include <vector>

#include "audio/software/software_device.h"
#include "framework/core/event.h"

// Converts PCM chunks from a source format to a destination format (rate,
// channels, width) with resampleBuffer(). It consumes whole source chunks
// from its input stream and delivers one converted chunk for each; a source
// chunk lasts 40 ms at the usual rates (see sizeBuffers). Its main format is
// the destination format.
//
// Thread rules: formats are set while the device is closed. The worker
// converts under the thread gate, which setFormat() takes too, so the blocks
// are never resized under a conversion.
class unaWaveResampler : public unaWaveSoftwareDevice {
  public:
    // Largest block either side may need; larger formats are refused.
    static constexpr std::uint32_t kMaxBufferBytes = 64u << 20;
    // How long close() lets the worker convert the input's last, padded chunk.
    static constexpr int kFlushTimeoutMs = 1000;

    unaWaveResampler(bool realTime, unsigned overflowLimit);
    ~unaWaveResampler() override;

    using unaWaveSoftwareDevice::setFormat;
    // Takes the rate, width and channels of the record; the side is PCM.
    bool setFormat(bool isSource, const WAVEFORMATEX& format);
    // True once both sides have a format and the blocks are sized.
    bool setFormat(bool isSource, unsigned samplesPerSec, unsigned bitsPerSample,
                   unsigned channels);

    bool formatIsSource() const override { return false; }

    // Bytes of one source chunk and of the converted chunk, 0 until both
    // formats are set.
    std::uint32_t sourceChunkBytes() const { return srcChunkBytes_.load(); }
    std::uint32_t destinationChunkBytes() const { return dstChunkBytes_.load(); }

  protected:
    // Pads the input to a whole source chunk with silence and lets the worker
    // convert it before the device closes.
    bool flush(bool wait) override;
    bool serviceHeader(unaWaveHeader* header, bool signalled) override;
    unsigned inputChunkSize() const override { return srcChunkBytes_.load(); }

  private:
    struct Buffer {
        std::uint32_t rate = 0;
        std::uint32_t bits = 0;
        std::uint32_t channels = 0;
        std::uint32_t size = 0;
        std::uint32_t capacity = 0;
        std::vector<std::uint8_t> data;

        std::uint32_t frames() const;
        void allocate(std::uint32_t frames);
    };

    bool sizeBuffers();
    void waitUntilInputConverted();

    Buffer src_, dst_;
    std::atomic<std::uint32_t> srcChunkBytes_{0}, dstChunkBytes_{0};
    unaEvent converted_{false, false};
};
