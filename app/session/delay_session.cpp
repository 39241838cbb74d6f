#include "app/session/delay_session.h"

#include <malloc.h>

#include "app/session/delay_rules.h"
#include "audio/acm/ms_acm.h"
#include "audio/format/format_chooser.h"
#include "audio/format/format_text.h"
#include "audio/format/pcm_samples.h"
#include "audio/resampler/wave_resampler.h"
#include "audio/riff/riff_stream.h"
#include "audio/software/mixer_device.h"
#include "audio/wave/wave_in_device.h"
#include "audio/wave/wave_out_device.h"
#include "platform/wave/wave_types.h"

namespace {

constexpr int kOpenTimeoutMs = 10000;
constexpr int kPlaybackOverflowChunks = 10;

WAVEFORMATEX pcmRecord(const PcmSampling& sampling) {
    WAVEFORMATEX record{};
    buildPcmFormat(record, sampling);
    return record;
}

QString countdownLabel(int seconds) {
    return QString::number(seconds) + QStringLiteral(" s.");
}

}  // namespace

DelaySession::DelaySession(QObject* parent) : QObject(parent) {
    delayTimer_.setSingleShot(true);
    // A coarse timer may fire up to 5 % early or late: 30 s at a 600 s delay.
    delayTimer_.setTimerType(Qt::PreciseTimer);
    countdownTimer_.setTimerType(Qt::PreciseTimer);
    countdownTimer_.setInterval(1000);
    updateTimer_.setInterval(200);
    connect(&delayTimer_, &QTimer::timeout, this, &DelaySession::startPlayback);
    connect(&countdownTimer_, &QTimer::timeout, this, &DelaySession::countdownStep);
    connect(&updateTimer_, &QTimer::timeout, this, &DelaySession::onUpdateTick);
}

DelaySession::~DelaySession() {
    releaseDeviceGraph();
}

// ---- the graph ----

void DelaySession::buildDeviceGraph() {
    codecRoot_ = std::make_unique<unaMsAcm>();
    codecRoot_->enumDrivers(0);

    playback_ = std::make_unique<unaWaveOutDevice>(platform::WAVE_MAPPER, false, false,
                                                   kPlaybackOverflowChunks);
    playback_->setPcmSampling(config_.playbackSampling);
    playback_->setMetering(true);

    capture_ = std::make_unique<unaWaveInDevice>(platform::WAVE_MAPPER, false, false, 0);
    capture_->setPcmSampling(config_.captureSampling);
    capture_->setStream(false, nullptr, false);
    capture_->setMetering(true);

    mixer_ = std::make_unique<unaWaveMixerDevice>(true, true, 0);
    mixer_->linkConsumer(playback_.get(), true);
    mixer_->setPcmSampling(config_.playbackSampling);

    fillDeviceList(playbackEntries_, playbackSelection_, config_.playbackDeviceId, true);
    fillDeviceList(captureEntries_, captureSelection_, config_.captureDeviceId, false);
    emit devicesChanged();
}

void DelaySession::fillDeviceList(std::vector<DeviceEntry>& entries, int& selection, int storedId,
                                  bool playback) {
    entries.clear();
    const int count =
        playback ? unaWaveOutDevice::getDeviceCount() : unaWaveInDevice::getDeviceCount();
    for (int index = -1; index < count; ++index) {
        platform::WaveDeviceCaps caps;
        const bool known = playback ? unaWaveOutDevice::queryDeviceCaps(index, caps)
                                    : unaWaveInDevice::queryDeviceCaps(index, caps);
        entries.push_back({known ? caps.productName : std::string(), index + 10});
    }
    // Compared as unsigned: a stored index past the end, or below -1, selects the last entry.
    const uint32_t last = uint32_t(entries.size() - 1);
    selection = storedId == -1 ? 0 : int(std::min(last, uint32_t(storedId) + 1u));
}

void DelaySession::releaseDeviceGraph() {
    if (playbackOpen()) {
        stopPlayback();
    }
    if (captureOpen()) {
        stopRecording();
    }
    freeRecordingObjects();  // also after a start that never opened the capture device
    capture_.reset();
    playback_.reset();
    mixer_.reset();
    codecRoot_.reset();
}

void DelaySession::selectPlaybackEntry(int entry) {
    playbackSelection_ = entry;
    config_.playbackDeviceId = entry - 1;
}

void DelaySession::selectCaptureEntry(int entry) {
    captureSelection_ = entry;
    config_.captureDeviceId = entry - 1;
}

// ---- recording and playback ----

void DelaySession::startRecording(double seconds) {
    if (!capture_ || captureOpen()) {
        return;
    }
    capture_->deviceId = captureEntries_[size_t(captureSelection_)].deviceIndex();
    const WAVEFORMATEX recording = pcmRecord(config_.captureSampling);
    if (passThrough) {
        const WAVEFORMATEX playbackRecord = pcmRecord(config_.playbackSampling);
        resampler_ = std::make_unique<unaWaveResampler>(false, 0);
        resampler_->setFormat(true, recording);
        resampler_->setFormat(false, playbackRecord);
        resampler_->setOnChunkReady([this](unaMsAcmStreamDevice&, const void* data, int size) {
            if (delayStream_ != nullptr) {
                delayStream_->write(data, size);
            }
        });
        resampler_->setStream(false, nullptr, false);
        capture_->linkConsumer(resampler_.get(), true);
        delayStream_ = mixer_->addStream(nullptr);
        resampler_->open(false, kOpenTimeoutMs);
    }
    if (config_.saveToFile) {
        wavWriter_ =
            std::make_unique<unaRiffStream>(config_.captureFileName, recording, WAVE_FORMAT_PCM);
        const MMRESULT writerResult = wavWriter_->open(false, kOpenTimeoutMs);
        if (writerResult != mmresult::noError) {
            emit statusMessage(tr("WAV file: cannot write %1")
                                   .arg(QString::fromStdString(config_.captureFileName)));
        }
        capture_->linkConsumer(wavWriter_.get(), true);
    }
    const MMRESULT result = capture_->open(false, kOpenTimeoutMs);
    if (result != mmresult::noError) {
        // Undo the whole start, so that the next Start begins clean.
        reportOpenFailure(tr("Recording device"), *capture_, result);
        capture_->close(kOpenTimeoutMs);  // a device that opened but did not start
        freeRecordingObjects();
        emit devicesChanged();
        return;
    }
    if (passThrough) {
        delayTimer_.setInterval(int(delay_rules::delayMilliseconds(seconds)));
        delayTimer_.start();
        updateTimer_.start();
    }
    setCountdown(delay_rules::countdownStart(seconds));
    countdownTimer_.start();
    emit devicesChanged();
}

void DelaySession::startPlayback() {
    delayTimer_.stop();
    countdownTimer_.stop();
    countdownText_ = QStringLiteral("...");
    emit countdownChanged(countdownText_);
    if (playback_ && !playbackOpen()) {
        playback_->deviceId = playbackEntries_[size_t(playbackSelection_)].deviceIndex();
        const MMRESULT result = playback_->open(false, kOpenTimeoutMs);
        if (result != mmresult::noError) {
            // Without playback the delay stream would grow for as long as capture runs.
            reportOpenFailure(tr("Playback device"), *playback_, result);
            emit devicesChanged();
            stopRecording();
            return;
        }
        mixer_->open(false, kOpenTimeoutMs);
        emit playbackStarted();
    }
    emit devicesChanged();
}

void DelaySession::stopRecording() {
    countdownTimer_.stop();
    delayTimer_.stop();
    if (capture_) {
        capture_->close(kOpenTimeoutMs);
    }
    freeRecordingObjects();
    stopPlayback();
    if (!captureOpen() && !playbackOpen()) {
        updateTimer_.stop();
        onUpdateTick();  // meters fall to zero
    }
    emit devicesChanged();
    emit recordingStopped();
}

void DelaySession::freeRecordingObjects() {
    // The resampler goes before the stream it writes into.
    if (capture_) {
        if (resampler_) {
            capture_->unlinkConsumer(resampler_.get());
        }
        if (wavWriter_) {
            capture_->unlinkConsumer(wavWriter_.get());
        }
    }
    resampler_.reset();
    wavWriter_.reset();  // closing completes the file
    if (delayStream_ != nullptr && mixer_) {
        mixer_->removeStream(delayStream_);
    }
    delayStream_ = nullptr;
}

void DelaySession::stopPlayback() {
    if (mixer_) {
        mixer_->close(kOpenTimeoutMs);
    }
    if (playback_) {
        playback_->close(kOpenTimeoutMs);
    }
    emit devicesChanged();
}

void DelaySession::reportOpenFailure(const QString& which, const unaMsAcmStreamDevice& device,
                                     MMRESULT result) {
    emit statusMessage(which + QStringLiteral(": ") +
                       QString::fromStdString(device.getErrorText(result)));
}

// ---- formats ----

MMRESULT DelaySession::choosePlaybackFormat() {
    if (!playback_ || playbackOpen()) {
        return mmresult::allocated;
    }
    FormatPtr record = allocateFormat(extendedFormatHeaderSize);
    buildPcmFormat(*record, config_.playbackSampling);
    const MMRESULT result = playback_->chooseFormat(record, "Choose playback format");
    if (result == mmresult::noError && record) {
        config_.playbackSampling = samplingOf(*record);
        mixer_->setFormat(*record);
        emit devicesChanged();
    }
    return result;
}

MMRESULT DelaySession::chooseCaptureFormat() {
    if (!capture_ || captureOpen()) {
        return mmresult::allocated;
    }
    FormatPtr record = allocateFormat(extendedFormatHeaderSize);
    buildPcmFormat(*record, config_.captureSampling);
    const MMRESULT result = capture_->chooseFormat(record, "Choose recording format");
    if (result == mmresult::noError && record) {
        config_.captureSampling = samplingOf(*record);
        emit devicesChanged();
    }
    return result;
}

// ---- state ----

bool DelaySession::captureOpen() const {
    return capture_ && capture_->isOpen();
}
bool DelaySession::playbackOpen() const {
    return playback_ && playback_->isOpen();
}

ActionStates DelaySession::actionStates() const {
    ActionStates s;
    const bool in = captureOpen();
    const bool out = playbackOpen();
    s.openIn = s.chooseIn = s.recordingControls = !in;
    s.closeIn = in;
    s.openOut = s.chooseOut = s.playbackList = !out;
    s.closeOut = out;
    s.delayControls = !in;
    return s;
}

QString DelaySession::captureFormatText() const {
    return capture_ ? QString::fromStdString(capture_->dstFormatText()) : QString();
}

QString DelaySession::playbackFormatText() const {
    return playback_ ? QString::fromStdString(playback_->srcFormatText()) : QString();
}

unsigned DelaySession::captureLevel(unsigned channel) const {
    return captureOpen() ? capture_->getVolume(channel) : 0;
}

unsigned DelaySession::playbackLevel(unsigned channel) const {
    return playbackOpen() ? playback_->getVolume(channel) : 0;
}

int DelaySession::delayStreamBytes() const {
    return delayStream_ != nullptr ? delayStream_->getSize() : 0;
}

void DelaySession::setCountdown(int seconds) {
    countdown_ = seconds;
    countdownText_ = countdownLabel(seconds);
    emit countdownChanged(countdownText_);
}

void DelaySession::countdownStep() {
    setCountdown(countdown_ - 1);
}

void DelaySession::onUpdateTick() {
    const size_t heapBytes = mallinfo2().uordblks;
    memoryText_ = QStringLiteral("Mem: ") +
                  QString::fromStdString(
                      groupThousands(uint32_t(heapBytes / 1024), localeThousandsSeparator())) +
                  QStringLiteral(" KB");
    meters_.inLeft = std::min(300, levelToLog(captureLevel(0)));
    meters_.inRight = std::min(300, levelToLog(captureLevel(1)));
    meters_.outLeft = std::min(300, levelToLog(playbackLevel(0)));
    meters_.outRight = std::min(300, levelToLog(playbackLevel(1)));
    emit metersUpdated();
}
