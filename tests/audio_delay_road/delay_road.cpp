#include "delay_road.h"

#include <chrono>
#include <cmath>
#include <memory>

#include "audio/format/pcm_samples.h"
#include "audio/resampler/wave_resampler.h"
#include "audio/software/mixer_device.h"
#include "audio/wave/wave_in_device.h"
#include "audio/wave/wave_out_device.h"
#include "platform/clock/platform_clock.h"
#include "platform/wave/simulated_wave_driver.h"

using namespace platform;

namespace {

WAVEFORMATEX record(const PcmSampling& s) {
    WAVEFORMATEX r{};
    buildPcmFormat(r, s);
    return r;
}

PlatformClock::time_point after(PlatformClock::time_point t, double seconds) {
    return t + std::chrono::duration_cast<PlatformClock::duration>(
                   std::chrono::duration<double>(seconds));
}

double secondsBetween(PlatformClock::time_point from, PlatformClock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

}  // namespace

DelayRoadResult runDelayRoad(const DelayRoadParams& p) {
    DelayRoadResult result;
    std::vector<PlatformClock::duration> clicks;
    for (double t = p.clickPeriodSeconds / 2; t < p.durationSeconds; t += p.clickPeriodSeconds) {
        clicks.push_back(
            std::chrono::duration_cast<PlatformClock::duration>(std::chrono::duration<double>(t)));
        result.clickTimes.push_back(t);
    }
    result.clicksSent = int(clicks.size());

    auto driver = std::make_shared<SimulatedWaveDriver>();
    SimulatedDeviceConfig radio;
    radio.name = "radio";
    radio.signal = makeClickTrain(clicks, 30000, 8);
    radio.skewPpm = p.captureSkewPpm;
    driver->addDevice(WaveDirection::capture, radio);
    SimulatedDeviceConfig tv;
    tv.name = "tv";
    tv.skewPpm = p.playbackSkewPpm;
    driver->addDevice(WaveDirection::playback, tv);
    ScopedWaveDriver scopedDriver(driver);
    ScopedClockSpeedUp speed(p.speedUp);

    unaWaveOutDevice playback(0, false, false, 10);
    playback.setPcmSampling(p.playback);
    unaWaveMixerDevice mixer(true, true, 0);
    mixer.linkConsumer(&playback, true);
    mixer.setPcmSampling(p.playback);
    unaAbstractStream* delayStream = mixer.addStream(nullptr);

    unaWaveResampler resampler(false, 0);
    resampler.setFormat(true, record(p.capture));
    resampler.setFormat(false, record(p.playback));
    resampler.setStream(false, nullptr, false);
    resampler.setOnChunkReady([delayStream](unaMsAcmStreamDevice&, const void* data, int size) {
        delayStream->write(data, size);
    });

    unaWaveInDevice capture(0);
    capture.setPcmSampling(p.capture);
    capture.setStream(false, nullptr, false);
    capture.linkConsumer(&resampler, true);

    resampler.open();
    const auto start = PlatformClock::now();
    capture.open();
    PlatformClock::sleepUntil(after(start, p.delaySeconds));
    playback.open();
    mixer.open();
    PlatformClock::sleepUntil(after(start, p.durationSeconds + p.delaySeconds + 2.0));

    capture.close();
    resampler.close();
    mixer.close();
    result.playbackUnderruns = playback.underrunCount();
    result.playbackOverflowBytes = playback.inOverflowBytes();
    playback.close();
    result.captureBytes = capture.outBytes();

    // Find the clicks in what the tv played: rising edges, at least 0.1 s apart.
    const double rate = p.playback.samplesPerSec;
    const unsigned channels = unsigned(p.playback.channels);
    double lastClick = -1.0;
    size_t next = 0;
    for (const PlayedBuffer& buffer : driver->played(0)) {
        result.playedBytes += int64_t(buffer.data.size());
        const uint8_t* at = buffer.data.data();
        const size_t frames = buffer.data.size() / (channels * 2);
        for (size_t f = 0; f < frames; ++f) {
            const int sample = readSample(16, at);
            for (unsigned c = 1; c < channels; ++c) {
                readSample(16, at);
            }
            if (std::abs(sample) < 10000) {
                continue;
            }
            const double heard = secondsBetween(start, buffer.start) + double(f) / rate;
            if (heard - lastClick < 0.1) {
                continue;
            }
            lastClick = heard;
            const double captured = next < result.clickTimes.size() ? result.clickTimes[next] : 0;
            result.heardDelays.push_back(heard - captured);
            ++next;
        }
    }
    return result;
}
