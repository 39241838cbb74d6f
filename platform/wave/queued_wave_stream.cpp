#include "platform/wave/queued_wave_stream.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace platform {
namespace {

constexpr auto kIdleCheck = std::chrono::milliseconds(200);
// A command the driver thread does not take within this time means the port
// is stuck; the caller gets an error instead of hanging.
constexpr auto kCommandTimeout = std::chrono::seconds(5);

}  // namespace

QueuedWaveStream::QueuedWaveStream(WaveDirection direction, const WaveFormat& format,
                                   WaveCallback callback, std::unique_ptr<WavePort> port,
                                   WaveStreamFaults faults)
    : direction_(direction),
      format_(format),
      callback_(std::move(callback)),
      port_(std::move(port)),
      faults_(faults),
      running_(direction == WaveDirection::playback) {
    if (faults_.openNoticeDelay) {
        openNoticeDue_ = PlatformClock::now() + *faults_.openNoticeDelay;
    }
    thread_ = std::thread([this] { run(); });
}

QueuedWaveStream::~QueuedWaveStream() {
    close();
}

MmResult QueuedWaveStream::prepare(WaveBuffer& buffer) {
    if (buffer.data == nullptr || buffer.bufferLength == 0 ||
        buffer.bufferLength % format_.blockAlign() != 0) {
        return MMSYSERR_INVALPARAM;
    }
    if (!buffer.hasFlag(WHDR_PREPARED)) {
        buffer.flags.fetch_or(WHDR_PREPARED);
    }
    return MMSYSERR_NOERROR;
}

MmResult QueuedWaveStream::unprepare(WaveBuffer& buffer) {
    std::lock_guard lock(mutex_);
    if (buffer.hasFlag(WHDR_INQUEUE)) {
        return WAVERR_STILLPLAYING;
    }
    buffer.flags.fetch_and(~WHDR_PREPARED);
    return MMSYSERR_NOERROR;
}

MmResult QueuedWaveStream::add(WaveBuffer& buffer) {
    if (onDriverThread()) {
        return MMSYSERR_HANDLEBUSY;
    }
    std::lock_guard lock(mutex_);
    if (closed_) {
        return MMSYSERR_INVALHANDLE;
    }
    if (status_ != MMSYSERR_NOERROR) {
        return status_;
    }
    if (!buffer.hasFlag(WHDR_PREPARED)) {
        return WAVERR_UNPREPARED;
    }
    if (buffer.hasFlag(WHDR_INQUEUE)) {
        return WAVERR_STILLPLAYING;
    }
    if (faults_.failingAdd && *faults_.failingAdd == adds_++) {
        return MMSYSERR_ERROR;
    }
    buffer.bytesRecorded = 0;
    buffer.flags.store((buffer.flags.load() & ~WHDR_DONE) | WHDR_INQUEUE);
    queue_.push_back(&buffer);
    wake_.notify_all();
    return MMSYSERR_NOERROR;
}

MmResult QueuedWaveStream::start() {
    return post(0, true);
}

MmResult QueuedWaveStream::stop() {
    return post(haltPort | (direction_ == WaveDirection::capture ? returnPartial : 0u), false);
}

MmResult QueuedWaveStream::pause() {
    return post(haltPort, false);
}

MmResult QueuedWaveStream::reset() {
    return post(haltPort | returnAll, direction_ == WaveDirection::playback);
}

MmResult QueuedWaveStream::position(std::uint64_t& samples) const {
    std::lock_guard lock(mutex_);
    samples = frames_;
    return closed_ ? MMSYSERR_INVALHANDLE : MMSYSERR_NOERROR;
}

MmResult QueuedWaveStream::close() {
    if (onDriverThread()) {
        return MMSYSERR_HANDLEBUSY;
    }
    {
        std::lock_guard lock(mutex_);
        if (closed_) {
            return MMSYSERR_INVALHANDLE;
        }
    }
    post(haltPort | returnAll | quit, false);
    port_->wake();
    if (thread_.joinable()) {
        thread_.join();
    }
    std::unique_lock lock(mutex_);
    closed_ = true;
    // Whatever the thread could not return (it was stuck) goes back now.
    returnEverything();
    lock.unlock();
    if (callback_) {
        callback_(WaveNotice::closed, 0);
    }
    return MMSYSERR_NOERROR;
}

MmResult QueuedWaveStream::status() const {
    std::lock_guard lock(mutex_);
    return status_;
}

std::uint64_t QueuedWaveStream::xrunCount() const {
    std::lock_guard lock(mutex_);
    return xruns_;
}

MmResult QueuedWaveStream::post(unsigned commands, bool run) {
    if (onDriverThread()) {
        return MMSYSERR_HANDLEBUSY;
    }
    std::unique_lock lock(mutex_);
    if (closed_) {
        return MMSYSERR_INVALHANDLE;
    }
    running_ = run;
    pendingCommands_ |= commands;
    const auto serial = ++commandSerial_;
    wake_.notify_all();
    lock.unlock();
    port_->wake();
    lock.lock();
    const bool done =
        acknowledged_.wait_for(lock, kCommandTimeout, [&] { return doneSerial_ >= serial; });
    return done ? MMSYSERR_NOERROR : MMSYSERR_HANDLEBUSY;
}

void QueuedWaveStream::run() {
    std::unique_lock lock(mutex_);
    while (true) {
        announceOpen(lock);
        auto wakeAt = std::chrono::steady_clock::now() + kIdleCheck;
        if (openNoticeDue_) {
            wakeAt = std::min(wakeAt, PlatformClock::toSteady(*openNoticeDue_));
        }
        if (nextRetire_) {
            wakeAt = std::min(wakeAt, *nextRetire_);
        }
        const bool woken = wake_.wait_until(lock, wakeAt, [&] {
            return pendingCommands_ != 0 || doneSerial_ != commandSerial_ ||
                   (running_ && !queue_.empty() && status_ == MMSYSERR_NOERROR);
        });
        if (pendingCommands_ != 0 || doneSerial_ != commandSerial_) {
            const bool quitting = (pendingCommands_ & quit) != 0;
            applyCommands(lock);
            flushNotices(lock);
            if (quitting) {
                return;
            }
            continue;
        }
        if (!woken) {
            retirePlayed(lock);
            flushNotices(lock);
            lock.unlock();
            const bool alive = port_->alive();
            lock.lock();
            if (!alive && status_ == MMSYSERR_NOERROR) {
                haltLost(port_->lostResult());
                flushNotices(lock);
            }
            continue;
        }
        moveData(lock);
        flushNotices(lock);
    }
}

void QueuedWaveStream::announceOpen(std::unique_lock<std::mutex>& lock) {
    if (openNoticeDue_ && PlatformClock::now() >= *openNoticeDue_) {
        openNoticeDue_.reset();
        notices_.emplace_back(WaveNotice::opened, 0);
        flushNotices(lock);
    }
}

void QueuedWaveStream::applyCommands(std::unique_lock<std::mutex>& lock) {
    const unsigned commands = pendingCommands_;
    pendingCommands_ = 0;
    if ((commands & haltPort) && portActive_) {
        lock.unlock();
        port_->halt();
        lock.lock();
        portActive_ = false;
        // The halt dropped whatever the device had not played yet.
        while (!moved_.empty()) {
            complete(moved_.front().buffer);
            moved_.pop_front();
        }
        nextRetire_.reset();
    }
    if ((commands & returnPartial) && !queue_.empty() && frontOffset_ > 0) {
        finishFront(lock);
    }
    if (commands & returnAll) {
        returnEverything();
        frames_ = 0;
    }
    doneSerial_ = commandSerial_;
    acknowledged_.notify_all();
}

void QueuedWaveStream::moveData(std::unique_lock<std::mutex>& lock) {
    if (!portActive_) {
        lock.unlock();
        const auto event = port_->begin();
        lock.lock();
        if (event == WavePort::Event::lost) {
            haltLost(port_->lostResult());
            return;
        }
        portActive_ = true;
    }
    WaveBuffer* buffer = queue_.front();
    const std::size_t offset = frontOffset_;
    const std::size_t length = buffer->bufferLength;
    lock.unlock();
    const auto moved = port_->transfer(buffer->data + offset, length - offset);
    bool recovered = true;
    if (moved.event == WavePort::Event::xrun) {
        recovered = port_->recover();
    }
    lock.lock();
    frontOffset_ += moved.bytes;
    frames_ += moved.bytes / format_.blockAlign();
    if (moved.event == WavePort::Event::xrun) {
        ++xruns_;
    }
    if (moved.event == WavePort::Event::lost || !recovered) {
        haltLost(port_->lostResult());
        return;
    }
    if (frontOffset_ >= length) {
        finishFront(lock);
    }
    retirePlayed(lock);
}

void QueuedWaveStream::finishFront(std::unique_lock<std::mutex>&) {
    WaveBuffer* buffer = queue_.front();
    queue_.pop_front();
    if (direction_ == WaveDirection::capture) {
        buffer->bytesRecorded = static_cast<std::uint32_t>(frontOffset_);
    }
    frontOffset_ = 0;
    if (direction_ == WaveDirection::playback) {
        moved_.push_back({buffer, frames_});
        return;  // returned once heard
    }
    complete(buffer);
}

void QueuedWaveStream::retirePlayed(std::unique_lock<std::mutex>& lock) {
    if (moved_.empty()) {
        nextRetire_.reset();
        return;
    }
    lock.unlock();
    const std::uint64_t unplayed = port_->unplayedFrames();
    lock.lock();
    const std::uint64_t played = frames_ - std::min(unplayed, frames_);
    while (!moved_.empty() && moved_.front().endFrame <= played) {
        complete(moved_.front().buffer);
        moved_.pop_front();
    }
    if (moved_.empty()) {
        nextRetire_.reset();
        return;
    }
    // Look again when the oldest one should have been heard.
    const auto frames = moved_.front().endFrame - played;
    nextRetire_ = std::chrono::steady_clock::now() +
                  std::chrono::microseconds(frames * 1'000'000 / format_.samplesPerSec) +
                  std::chrono::milliseconds(1);
}

void QueuedWaveStream::complete(WaveBuffer* buffer) {
    const auto number = completions_++;
    if (faults_.lateCompletion && *faults_.lateCompletion == number) {
        heldBack_ = buffer;
        return;
    }
    returnBuffer(buffer);
    if (heldBack_ != nullptr) {
        returnBuffer(std::exchange(heldBack_, nullptr));
    }
}

void QueuedWaveStream::returnBuffer(WaveBuffer* buffer) {
    const auto user = buffer->user;  // the buffer is the caller's again once done
    // Release order: the data and bytesRecorded are visible before WHDR_DONE.
    buffer->flags.store((buffer->flags.load() & ~WHDR_INQUEUE) | WHDR_DONE,
                        std::memory_order_release);
    notices_.emplace_back(WaveNotice::bufferDone, user);
}

void QueuedWaveStream::returnEverything() {
    if (!queue_.empty() && direction_ == WaveDirection::capture) {
        queue_.front()->bytesRecorded = static_cast<std::uint32_t>(frontOffset_);
    }
    frontOffset_ = 0;
    if (heldBack_ != nullptr) {
        returnBuffer(std::exchange(heldBack_, nullptr));
    }
    for (const Moved& moved : moved_) {
        returnBuffer(moved.buffer);
    }
    moved_.clear();
    nextRetire_.reset();
    while (!queue_.empty()) {
        returnBuffer(queue_.front());
        queue_.pop_front();
    }
}

void QueuedWaveStream::haltLost(MmResult why) {
    status_ = why == MMSYSERR_NOERROR ? MMSYSERR_ERROR : why;
    portActive_ = false;
    running_ = false;
    returnEverything();
    notices_.emplace_back(WaveNotice::halted, 0);
}

void QueuedWaveStream::flushNotices(std::unique_lock<std::mutex>& lock) {
    if (notices_.empty()) {
        return;
    }
    auto notices = std::move(notices_);
    notices_.clear();
    if (!callback_) {
        return;
    }
    lock.unlock();
    for (const auto& [notice, user] : notices) {
        callback_(notice, user);
    }
    lock.lock();
}

}  // namespace platform
