#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "app/session/session_settings.h"
#include "audio/format/mm_result.h"

class unaMsAcm;
class unaWaveInDevice;
class unaWaveOutDevice;
class unaWaveMixerDevice;
class unaWaveResampler;
class unaRiffStream;
class unaAbstractStream;
class unaMsAcmStreamDevice;

// One entry of a device list: the product name and the device index + 10
// (the mapper, index -1, carries 9).
struct DeviceEntry {
    std::string name;
    int data = 9;
    int deviceIndex() const { return data - 10; }
};

// What the window enables; every field follows the devices' open state.
struct ActionStates {
    bool openIn = true, closeIn = false, chooseIn = true;
    bool recordingControls = true;  // recording list and the WAV file option
    bool openOut = true, closeOut = false, chooseOut = true, playbackList = true;
    bool delayControls = true;  // delay edit and slider
    bool operator==(const ActionStates&) const = default;
};

// The delay session: owns the audio graph and runs the delay. Capture feeds a
// resampler whose chunks pile up in a delay stream until a one-shot timer,
// armed with the delay, opens the mixer and the playback device; from then on
// the mixer drains the stream in real time. Widget-free: the main window, the
// headless mode and the tests all drive it.
class DelaySession : public QObject {
    Q_OBJECT

  public:
    explicit DelaySession(QObject* parent = nullptr);
    ~DelaySession() override;

    // Builds the permanent nodes and the device lists from the configuration.
    void buildDeviceGraph();
    // Stops playback and recording when running, then frees the nodes.
    void releaseDeviceGraph();

    SessionSettings& config() { return config_; }
    const SessionSettings& config() const { return config_; }

    const std::vector<DeviceEntry>& playbackEntries() const { return playbackEntries_; }
    const std::vector<DeviceEntry>& captureEntries() const { return captureEntries_; }
    int playbackSelection() const { return playbackSelection_; }
    int captureSelection() const { return captureSelection_; }
    // A list's selection changed to entry.
    void selectPlaybackEntry(int entry);
    void selectCaptureEntry(int entry);

    // Pass-through ("record and play directly"); on at every start.
    bool passThrough = true;

    // Start recording and the delay of `seconds`.
    void startRecording(double seconds);
    // The delay has elapsed (or the user asked): open playback and the mixer.
    void startPlayback();
    void stopRecording();
    void stopPlayback();
    // One step of the countdown (the countdown timer's tick).
    void countdownStep();

    // Asks the user for a format through the installed chooser (only while
    // the side is closed); 0 when a format was chosen and applied.
    MMRESULT choosePlaybackFormat();
    MMRESULT chooseCaptureFormat();

    bool captureOpen() const;
    bool playbackOpen() const;
    ActionStates actionStates() const;
    int countdownSeconds() const { return countdown_; }
    const QString& countdownText() const { return countdownText_; }
    QString captureFormatText() const;
    QString playbackFormatText() const;

    // Meter positions 0..300 (left, right) of the last update.
    struct Meters {
        int inLeft = 0, inRight = 0, outLeft = 0, outRight = 0;
    };
    const Meters& meters() const { return meters_; }
    // "Mem: 1,234 KB" of the last update.
    const QString& memoryText() const { return memoryText_; }
    // Raw levels for the headless report.
    unsigned captureLevel(unsigned channel) const;
    unsigned playbackLevel(unsigned channel) const;

    // Timers, exposed for the window and the tests.
    QTimer& delayTimer() { return delayTimer_; }
    QTimer& countdownTimer() { return countdownTimer_; }
    QTimer& updateTimer() { return updateTimer_; }

    // Bytes waiting in the delay stream (0 when there is none).
    int delayStreamBytes() const;
    unaWaveInDevice* captureDevice() const { return capture_.get(); }
    unaWaveOutDevice* playbackDevice() const { return playback_.get(); }
    unaWaveMixerDevice* mixerDevice() const { return mixer_.get(); }
    unaRiffStream* wavWriter() const { return wavWriter_.get(); }

  signals:
    void countdownChanged(const QString& text);
    void devicesChanged();  // open states and action states
    void metersUpdated();   // the update timer ran
    void statusMessage(const QString& text);
    void playbackStarted();
    void recordingStopped();

  private:
    void onUpdateTick();
    void fillDeviceList(std::vector<DeviceEntry>& entries, int& selection, int storedId,
                        bool playback);
    void freeRecordingObjects();
    void reportOpenFailure(const QString& which, const unaMsAcmStreamDevice& device,
                           MMRESULT result);
    void setCountdown(int seconds);

    SessionSettings config_;
    std::unique_ptr<unaMsAcm> codecRoot_;
    std::unique_ptr<unaWaveOutDevice> playback_;
    std::unique_ptr<unaWaveInDevice> capture_;
    std::unique_ptr<unaWaveMixerDevice> mixer_;
    std::unique_ptr<unaWaveResampler> resampler_;
    std::unique_ptr<unaRiffStream> wavWriter_;
    unaAbstractStream* delayStream_ = nullptr;  // owned by the mixer

    std::vector<DeviceEntry> playbackEntries_, captureEntries_;
    int playbackSelection_ = 0, captureSelection_ = 0;

    QTimer delayTimer_, countdownTimer_, updateTimer_;
    int countdown_ = 0;
    QString countdownText_ = QStringLiteral("...");
    Meters meters_;
    QString memoryText_;
};
