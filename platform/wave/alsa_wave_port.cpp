#include "platform/wave/alsa_wave_port.h"

#include <alsa/asoundlib.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/wave/alsa_result.h"

namespace platform {
namespace {

constexpr int kPollTimeoutMs = 100;
// This many polls without any data (5 s) while data should flow: the device is gone.
constexpr int kQuietPollsUntilLost = 50;
constexpr unsigned kPeriodsPerChunk = 25;  // one period = one 40 ms chunk
// The ring only sets how long the driver thread may be held up before an xrun;
// latency comes from what is queued, not from the ring's size.
constexpr unsigned kPeriodsInRing = 8;
constexpr int kRealtimePriority = 10;

struct Setup {
    int error = 0;
    bool formatStage = false;
    std::string what;
    snd_pcm_uframes_t ringFrames = 0;
};

Setup configure(snd_pcm_t* pcm, WaveDirection direction, const WaveFormat& format) {
    snd_pcm_hw_params_t* hw = nullptr;
    snd_pcm_hw_params_alloca(&hw);
    int err = snd_pcm_hw_params_any(pcm, hw);
    if (err < 0) {
        return {err, false, "hw_params_any"};
    }
    const auto alsaFormat = format.bitsPerSample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
    unsigned rate = format.samplesPerSec;
    snd_pcm_uframes_t period = std::max(1u, format.samplesPerSec / kPeriodsPerChunk);
    snd_pcm_uframes_t ring = period * kPeriodsInRing;
    if ((err = snd_pcm_hw_params_set_access(pcm, hw, SND_PCM_ACCESS_RW_INTERLEAVED)) < 0 ||
        (err = snd_pcm_hw_params_set_format(pcm, hw, alsaFormat)) < 0 ||
        (err = snd_pcm_hw_params_set_channels(pcm, hw, format.channels)) < 0 ||
        (err = snd_pcm_hw_params_set_rate(pcm, hw, rate, 0)) < 0) {
        return {err, true, "format"};
    }
    int dir = 0;
    snd_pcm_hw_params_set_period_size_near(pcm, hw, &period, &dir);
    snd_pcm_hw_params_set_buffer_size_near(pcm, hw, &ring);
    if ((err = snd_pcm_hw_params(pcm, hw)) < 0) {
        return {err, true, "hw_params"};
    }
    snd_pcm_hw_params_get_period_size(hw, &period, &dir);
    snd_pcm_hw_params_get_buffer_size(hw, &ring);

    snd_pcm_sw_params_t* sw = nullptr;
    snd_pcm_sw_params_alloca(&sw);
    snd_pcm_sw_params_current(pcm, sw);
    snd_pcm_sw_params_set_avail_min(pcm, sw, period);
    // Playback starts as soon as one chunk is in; capture is started explicitly.
    snd_pcm_sw_params_set_start_threshold(pcm, sw,
                                          direction == WaveDirection::playback ? period : ring * 2);
    if ((err = snd_pcm_sw_params(pcm, sw)) < 0) {
        return {err, false, "sw_params"};
    }
    return {0, false, {}, ring};
}

}  // namespace

AlsaWavePort::OpenOutcome AlsaWavePort::open(const std::string& pcmName, WaveDirection direction,
                                             const WaveFormat& format, bool queryOnly,
                                             std::unique_ptr<AlsaWavePort>& port) {
    port.reset();
    if (!format.isCarried()) {
        return {WAVERR_BADFORMAT, "only 8- or 16-bit PCM"};
    }
    snd_pcm_t* pcm = nullptr;
    const auto stream =
        direction == WaveDirection::capture ? SND_PCM_STREAM_CAPTURE : SND_PCM_STREAM_PLAYBACK;
    int err = snd_pcm_open(&pcm, pcmName.c_str(), stream, SND_PCM_NONBLOCK);
    if (err < 0) {
        return {resultFromAlsaError(err, false), pcmName + ": " + snd_strerror(err)};
    }
    const Setup setup = configure(pcm, direction, format);
    if (setup.error < 0 || queryOnly) {
        snd_pcm_close(pcm);
        if (setup.error < 0) {
            return {resultFromAlsaError(setup.error, setup.formatStage),
                    pcmName + ": " + setup.what + ": " + snd_strerror(setup.error)};
        }
        return {};
    }
    const int wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd < 0) {
        snd_pcm_close(pcm);
        return {MMSYSERR_NOMEM, "eventfd failed"};
    }
    port.reset(new AlsaWavePort(pcm, direction, format, wakeFd, setup.ringFrames));
    return {};
}

AlsaWavePort::AlsaWavePort(snd_pcm_t* pcm, WaveDirection direction, const WaveFormat& format,
                           int wakeFd, std::uint64_t ringFrames)
    : pcm_(pcm), direction_(direction), format_(format), wakeFd_(wakeFd), ringFrames_(ringFrames) {}

AlsaWavePort::~AlsaWavePort() {
    snd_pcm_drop(pcm_);
    snd_pcm_close(pcm_);
    ::close(wakeFd_);
}

WavePort::Event AlsaWavePort::begin() {
    if (!priorityRaised_) {
        // Audio threads run ahead of ordinary work when the system allows it
        // (root or an rtprio limit); otherwise they stay as they are.
        sched_param param{};
        param.sched_priority = kRealtimePriority;
        pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
        priorityRaised_ = true;
    }
    quietPolls_ = 0;
    const auto state = snd_pcm_state(pcm_);
    if (state == SND_PCM_STATE_DISCONNECTED) {
        return Event::lost;
    }
    int err = 0;
    if (state != SND_PCM_STATE_PREPARED && state != SND_PCM_STATE_RUNNING) {
        err = snd_pcm_prepare(pcm_);
    }
    if (err >= 0 && direction_ == WaveDirection::capture &&
        snd_pcm_state(pcm_) != SND_PCM_STATE_RUNNING) {
        err = snd_pcm_start(pcm_);
    }
    return err < 0 ? eventFor(err) : Event::none;
}

WavePort::Event AlsaWavePort::eventFor(int error) {
    lastError_ = error;
    if (error == -EPIPE || error == -ESTRPIPE) {
        return Event::xrun;
    }
    if (error == -EAGAIN || error == -EINTR) {
        return Event::none;
    }
    return Event::lost;  // ENODEV, EBADFD, EIO, a dead sound server...
}

WavePort::Transfer AlsaWavePort::transfer(std::uint8_t* data, std::size_t bytes) {
    const std::size_t frameBytes = format_.blockAlign();
    const auto frames = static_cast<snd_pcm_sframes_t>(bytes / frameBytes);
    snd_pcm_sframes_t avail = snd_pcm_avail_update(pcm_);
    if (avail < 0) {
        return {0, eventFor(static_cast<int>(avail))};
    }
    if (avail < frames || waitFirst_) {
        // Not enough room or data for the whole rest of the buffer (or the last
        // try moved nothing): wait for the device, a wake-up, or at most 100 ms.
        waitFirst_ = false;
        const Transfer waited = waitForDevice();
        if (waited.event != Event::none || waited.bytes != 0) {
            return waited;
        }
        avail = snd_pcm_avail_update(pcm_);
        if (avail < 0) {
            return {0, eventFor(static_cast<int>(avail))};
        }
    }
    if (avail == 0) {
        if (++quietPolls_ >= kQuietPollsUntilLost) {
            return {0, eventFor(-ENODEV)};
        }
        return {};
    }
    const auto count = static_cast<snd_pcm_uframes_t>(std::min(avail, frames));
    const snd_pcm_sframes_t moved = direction_ == WaveDirection::capture
                                        ? snd_pcm_readi(pcm_, data, count)
                                        : snd_pcm_writei(pcm_, data, count);
    if (moved > 0) {
        quietPolls_ = 0;
        return {static_cast<std::size_t>(moved) * frameBytes, Event::none};
    }
    if (moved < 0 && moved != -EAGAIN) {
        return {0, eventFor(static_cast<int>(moved))};
    }
    waitFirst_ = true;  // never spin on a device that says it is ready but is not
    return {};
}

WavePort::Transfer AlsaWavePort::waitForDevice() {
    const int count = snd_pcm_poll_descriptors_count(pcm_);
    if (count <= 0) {
        return {0, Event::lost};
    }
    std::vector<pollfd> fds(static_cast<std::size_t>(count) + 1);
    snd_pcm_poll_descriptors(pcm_, fds.data(), static_cast<unsigned>(count));
    fds[count] = {wakeFd_, POLLIN, 0};
    if (poll(fds.data(), fds.size(), kPollTimeoutMs) <= 0) {
        return {};
    }
    if (fds[count].revents & POLLIN) {
        std::uint64_t drained = 0;
        [[maybe_unused]] auto n = ::read(wakeFd_, &drained, sizeof drained);
        return {0, Event::none};
    }
    unsigned short revents = 0;
    snd_pcm_poll_descriptors_revents(pcm_, fds.data(), static_cast<unsigned>(count), &revents);
    if (revents & (POLLERR | POLLNVAL | POLLHUP)) {
        const auto state = snd_pcm_state(pcm_);
        if (state == SND_PCM_STATE_XRUN) {
            return {0, eventFor(-EPIPE)};
        }
        if (state == SND_PCM_STATE_SUSPENDED) {
            return {0, eventFor(-ESTRPIPE)};
        }
        if (state == SND_PCM_STATE_DISCONNECTED || (revents & (POLLNVAL | POLLHUP))) {
            return {0, eventFor(-ENODEV)};
        }
    }
    return {};
}

void AlsaWavePort::halt() {
    snd_pcm_drop(pcm_);
}

bool AlsaWavePort::recover() {
    const int err = snd_pcm_recover(pcm_, lastError_ == 0 ? -EPIPE : lastError_, 1);
    lastError_ = 0;
    if (err < 0) {
        return false;
    }
    if (direction_ == WaveDirection::capture) {
        snd_pcm_start(pcm_);
    }
    return true;
}

bool AlsaWavePort::alive() {
    return snd_pcm_state(pcm_) != SND_PCM_STATE_DISCONNECTED;
}

std::uint64_t AlsaWavePort::unplayedFrames() {
    // What still waits in the ring. Not the full delay: behind a sound server
    // that would include the server's own buffering, which can be seconds.
    const snd_pcm_sframes_t avail = snd_pcm_avail_update(pcm_);
    if (avail < 0 || static_cast<std::uint64_t>(avail) >= ringFrames_) {
        return 0;  // an underrun or a drop: nothing is waiting
    }
    return ringFrames_ - static_cast<std::uint64_t>(avail);
}

void AlsaWavePort::wake() {
    const std::uint64_t one = 1;
    [[maybe_unused]] auto n = ::write(wakeFd_, &one, sizeof one);
}

}  // namespace platform
