#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "app/mixer_dialog/system_mixer_command.h"
#include "app/mixer_dialog/volume_binding.h"
#include "platform/mixer/mixer_driver.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSlider;
class QStatusBar;
class QTimer;
class ClickableImage;
class unaMsMixerSystem;
class unaWaveInDevice;

// The recording-source dialog: picks the sound card, the line it records,
// line volumes and mutes, and runs a test recording shown on two meters. It
// acts on the system mixer directly and hands nothing back to the program.
// Widgets carry their control names as object names.
class Tc_form_main : public QDialog {
    Q_OBJECT

  public:
    using ErrorReporter = std::function<void(const QString& message)>;

    // Over the ALSA mixers when no driver is given.
    explicit Tc_form_main(std::shared_ptr<qv::platform::MixerDriver> mixerDriver = nullptr,
                          QWidget* parent = nullptr);
    ~Tc_form_main() override;

    // For the language step: the caption (or, for the form's own object name,
    // the title) and the hint of the control with that name. False when no
    // control has the name.
    bool setCaption(const QString& controlName, const QString& text);
    bool setHint(const QString& controlName, const QString& hint);

    // The test recording's error box; a modal message box by default.
    void setErrorReporter(ErrorReporter reporter) { showError_ = std::move(reporter); }
    // How the system mixer program is found and started.
    void setProgramStarter(ProgramStarter starter) { startProgram_ = std::move(starter); }
    void setExecutableFinder(ExecutableFinder finder) { findProgram_ = std::move(finder); }

    unaMsMixerSystem& mixerSystem() const { return *mixers_; }
    unaWaveInDevice& testDevice() const { return *testDevice_; }
    const VolumeBinding& binding(int tag) const { return bindings_.at(tag); }
    int recordingSource() const { return recordingSource_; }
    int playbackSource() const { return playbackSource_; }
    // Text of a status bar panel (0 or 1).
    QString statusPanelText(int panel) const;

    // Handlers, also run by the dialog itself.
    void c_comboBox_mixerIndexChange();
    void c_comboBox_inConnChange();
    void c_comboBox_outConnChange();
    void c_voumeBar_change(QSlider* bar);
    void c_checkBox_inMuteClick();
    void c_checkBox_outMuteClick();
    void c_checkBox_micForceClick();
    void a_recordExecute();
    void a_stopExecute();
    void c_timer_updateTimer();
    void ImageMixerClick();
    // What a control-changed notification of the selected mixer does.
    void refreshForControl(std::int64_t controlId);

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void formCreate(std::shared_ptr<qv::platform::MixerDriver> mixerDriver);
    void formShow();
    bool formCloseQuery();
    void formDestroy();

    void buildControls();
    void connectHandlers();
    void applyMixerSelection(int mixerIndex);
    void showRecordingSide();
    void showPlaybackSide();
    void updateWaveDevice();
    void selectRecordingSource(int source, bool writeToMixer);
    void bindTrackBar(QSlider* bar, int destination, int source, bool destinationAllowed);
    void refreshTrackBar(QSlider* bar);
    void refreshMuteBox(QCheckBox* box, int destination, int source);
    void updateActions();
    void watchSelectedMixer(int mixerIndex);
    VolumeBinding& bindingOf(QSlider* bar);

    std::unique_ptr<unaWaveInDevice> testDevice_;
    std::unique_ptr<unaMsMixerSystem> mixers_;
    int recordingSource_ = -1;
    int playbackSource_ = -1;
    int recordingDestination_ = -1;
    int playbackDestination_ = -1;
    std::array<VolumeBinding, 4> bindings_{};
    std::int64_t inMuteTag_ = -1;
    std::int64_t outMuteTag_ = -1;
    // Notifications of a mixer selected earlier are dropped.
    unsigned selectionGeneration_ = 0;
    bool destroying_ = false;

    ErrorReporter showError_;
    ProgramStarter startProgram_;
    ExecutableFinder findProgram_;

    QLabel* Label5 = nullptr;
    QComboBox* c_comboBox_mixerIndex = nullptr;
    QLabel* c_label_out = nullptr;
    QSlider* c_trackBar_outMain = nullptr;
    QComboBox* c_comboBox_outConn = nullptr;
    QSlider* c_trackBar_out = nullptr;
    QCheckBox* c_checkBox_outMute = nullptr;
    QLabel* c_label_in = nullptr;
    QSlider* c_trackBar_inMain = nullptr;
    QCheckBox* c_checkBox_micForce = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* c_comboBox_inConn = nullptr;
    QSlider* c_trackBar_in = nullptr;
    QCheckBox* c_checkBox_inMute = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QProgressBar* c_progressBar_left = nullptr;
    QProgressBar* c_progressBar_right = nullptr;
    QPushButton* c_button_recStart = nullptr;
    QPushButton* c_button_recStop = nullptr;
    ClickableImage* ImageMixer = nullptr;
    QLabel* Label2 = nullptr;
    QStatusBar* c_statusBar_main = nullptr;
    std::array<QLabel*, 2> statusPanels_{};
    QAction* a_record = nullptr;
    QAction* a_stop = nullptr;
    QTimer* c_timer_update = nullptr;
};
