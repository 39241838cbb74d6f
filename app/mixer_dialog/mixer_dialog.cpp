#include "app/mixer_dialog/mixer_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QHideEvent>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>

#include "app/mixer_dialog/clickable_image.h"
#include "app/mixer_dialog/recording_source_state.h"
#include "audio/format/pcm_samples.h"
#include "audio/wave/wave_in_device.h"
#include "mixer/model/mixer_system.h"

namespace {

constexpr int kTimeoutMs = 10000;
const QString kNoSuchLine = "No such line";
const QString kUntitledLine = "<Untitled Line>";

// Programmatic selections run their handlers explicitly, never through the signal.
void selectEntry(QComboBox* list, int index) {
    const QSignalBlocker quiet(list);
    list->setCurrentIndex(index < list->count() ? index : -1);
}

void clearList(QComboBox* list) {
    const QSignalBlocker quiet(list);
    list->clear();
}

void setBarPosition(QSlider* bar, int position) {
    bar->setValue(position);  // handlers see the binding's live flag
}

}  // namespace

Tc_form_main::Tc_form_main(std::shared_ptr<qv::platform::MixerDriver> mixerDriver, QWidget* parent)
    : QDialog(parent),
      showError_(
          [this](const QString& message) { QMessageBox::critical(this, windowTitle(), message); }),
      startProgram_(startDetachedProgram),
      findProgram_(findInstalledProgram) {
    buildControls();
    connectHandlers();
    formCreate(std::move(mixerDriver));
}

Tc_form_main::~Tc_form_main() {
    formDestroy();
}

void Tc_form_main::connectHandlers() {
    connect(c_comboBox_mixerIndex, &QComboBox::currentIndexChanged, this,
            [this] { c_comboBox_mixerIndexChange(); });
    connect(c_comboBox_inConn, &QComboBox::currentIndexChanged, this,
            [this] { c_comboBox_inConnChange(); });
    connect(c_comboBox_outConn, &QComboBox::currentIndexChanged, this,
            [this] { c_comboBox_outConnChange(); });
    for (QSlider* bar : {c_trackBar_outMain, c_trackBar_out, c_trackBar_inMain, c_trackBar_in}) {
        connect(bar, &QSlider::valueChanged, this, [this, bar] { c_voumeBar_change(bar); });
    }
    // Clicks only: values the dialog shows are set without running these.
    connect(c_checkBox_inMute, &QCheckBox::clicked, this, [this] { c_checkBox_inMuteClick(); });
    connect(c_checkBox_outMute, &QCheckBox::clicked, this, [this] { c_checkBox_outMuteClick(); });
    connect(c_checkBox_micForce, &QCheckBox::clicked, this, [this] { c_checkBox_micForceClick(); });
    connect(a_record, &QAction::triggered, this, [this] { a_recordExecute(); });
    connect(a_stop, &QAction::triggered, this, [this] { a_stopExecute(); });
    connect(c_button_recStart, &QPushButton::clicked, a_record, &QAction::trigger);
    connect(c_button_recStop, &QPushButton::clicked, a_stop, &QAction::trigger);
    connect(a_record, &QAction::enabledChanged, c_button_recStart, &QPushButton::setEnabled);
    connect(a_stop, &QAction::enabledChanged, c_button_recStop, &QPushButton::setEnabled);
    c_button_recStop->setEnabled(a_stop->isEnabled());
    connect(c_timer_update, &QTimer::timeout, this, [this] { c_timer_updateTimer(); });
    ImageMixer->setOnClick([this] { ImageMixerClick(); });
}

void Tc_form_main::formCreate(std::shared_ptr<qv::platform::MixerDriver> mixerDriver) {
    // Captured chunks are only measured, then dropped.
    testDevice_ = std::make_unique<unaWaveInDevice>(-1, true, false, 0);
    testDevice_->setStream(false, nullptr, false);
    testDevice_->setPcmSampling(44100, 16, 2);
    testDevice_->setMetering(true);

    clearList(c_comboBox_mixerIndex);
    mixers_ = mixerDriver ? std::make_unique<unaMsMixerSystem>(true, std::move(mixerDriver))
                          : std::make_unique<unaMsMixerSystem>(true);
    if (mixers_->getMixerCount() > 0) {
        const QSignalBlocker quiet(c_comboBox_mixerIndex);
        for (unsigned i = 0; i < mixers_->getMixerCount(); ++i) {
            mixers_->selectMixer(static_cast<int>(i));
            c_comboBox_mixerIndex->addItem(QString::fromStdString(mixers_->getMixerName()));
        }
        c_comboBox_mixerIndex->setCurrentIndex(0);
    }
    c_comboBox_mixerIndexChange();
}

void Tc_form_main::formShow() {
    if (const QScreen* screen = this->screen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    c_timer_update->start();
}

bool Tc_form_main::formCloseQuery() {
    c_timer_update->stop();
    // A hidden test recording would keep the input busy for the delay session.
    a_stop->trigger();
    return true;
}

void Tc_form_main::formDestroy() {
    destroying_ = true;
    c_timer_update->stop();
    mixers_.reset();  // closes the selected mixer: no notification runs after this
    testDevice_.reset();
}

void Tc_form_main::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        formShow();
    }
}

void Tc_form_main::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous()) {
        formCloseQuery();
    }
}

void Tc_form_main::c_comboBox_mixerIndexChange() {
    applyMixerSelection(c_comboBox_mixerIndex->currentIndex());
}

void Tc_form_main::applyMixerSelection(int mixerIndex) {
    a_stop->trigger();
    clearList(c_comboBox_inConn);
    clearList(c_comboBox_outConn);
    c_comboBox_inConn->setEnabled(false);
    c_comboBox_outConn->setEnabled(false);
    c_checkBox_micForce->setEnabled(false);
    c_trackBar_in->setEnabled(false);
    c_trackBar_out->setEnabled(false);

    if (mixerIndex >= 0 && static_cast<unsigned>(mixerIndex) < mixers_->getMixerCount()) {
        watchSelectedMixer(mixerIndex);
        recordingDestination_ = mixers_->getDestinationIndex(false);
        playbackDestination_ = mixers_->getDestinationIndex(true);
    } else {
        // Deselect, so that no notification of a mixer shown before arrives.
        ++selectionGeneration_;
        mixers_->selectMixer(-1);
        recordingDestination_ = -1;
        playbackDestination_ = -1;
    }
    showRecordingSide();
    showPlaybackSide();
    updateWaveDevice();
}

void Tc_form_main::watchSelectedMixer(int mixerIndex) {
    const unsigned generation = ++selectionGeneration_;
    // Runs on a thread of the mixer layer: hand the control ID to the window thread.
    mixers_->selectMixer(mixerIndex, [this, generation](std::uint32_t controlId) {
        QMetaObject::invokeMethod(
            this,
            [this, generation, controlId] {
                if (generation == selectionGeneration_ && !destroying_) {
                    refreshForControl(controlId);
                }
            },
            Qt::QueuedConnection);
    });
}

void Tc_form_main::showRecordingSide() {
    if (recordingDestination_ < 0) {
        c_label_in->setText(kNoSuchLine);
        bindTrackBar(c_trackBar_inMain, 0, -1, false);
        clearList(c_comboBox_inConn);
        c_comboBox_inConn->setEnabled(false);
        selectRecordingSource(-1, false);
        return;
    }
    c_label_in->setText("&" +
                        QString::fromStdString(mixers_->getDestinationName(recordingDestination_)));
    bindTrackBar(c_trackBar_inMain, recordingDestination_, -1, true);
    {
        const QSignalBlocker quiet(c_comboBox_inConn);
        for (unsigned s = 0; s < mixers_->getSourceCount(recordingDestination_); ++s) {
            const QString name = QString::fromStdString(
                mixers_->getLineName(recordingDestination_, static_cast<int>(s)));
            c_comboBox_inConn->addItem(name.isEmpty() ? kUntitledLine : name);
        }
    }
    if (c_comboBox_inConn->count() > 0) {
        c_comboBox_inConn->setEnabled(true);
        c_checkBox_micForce->setEnabled(mixers_->canForceMicrophone());
        c_checkBox_micForceClick();
    } else {
        // The recording source box and bar must not keep a line of the mixer shown before.
        selectRecordingSource(-1, false);
    }
}

void Tc_form_main::showPlaybackSide() {
    if (playbackDestination_ < 0) {
        c_label_out->setText(kNoSuchLine);
        bindTrackBar(c_trackBar_outMain, 0, -1, false);
        clearList(c_comboBox_outConn);
        c_comboBox_outConn->setEnabled(false);
        c_comboBox_outConnChange();
        return;
    }
    c_label_out->setText("&" +
                         QString::fromStdString(mixers_->getDestinationName(playbackDestination_)));
    bindTrackBar(c_trackBar_outMain, playbackDestination_, -1, true);
    {
        const QSignalBlocker quiet(c_comboBox_outConn);
        for (unsigned s = 0; s < mixers_->getSourceCount(playbackDestination_); ++s) {
            c_comboBox_outConn->addItem(QString::fromStdString(
                mixers_->getLineName(playbackDestination_, static_cast<int>(s))));
        }
    }
    if (c_comboBox_outConn->count() > 0) {
        c_comboBox_outConn->setEnabled(true);
        selectEntry(c_comboBox_outConn, 0);
    }
    c_comboBox_outConnChange();
}

void Tc_form_main::updateWaveDevice() {
    const int waveDevice = mixers_->getWaveDeviceIndex();
    if (waveDevice < 0) {
        a_record->setEnabled(false);
        if (waveDevice == -3) {
            statusPanels_[1]->setText("Error waveIn device. Recording disabled");
        } else if (waveDevice == -2) {
            statusPanels_[1]->setText("No mixer selected. Recording disabled");
        }
        return;
    }
    a_record->setEnabled(true);
    testDevice_->deviceId = waveDevice;
}

void Tc_form_main::bindTrackBar(QSlider* bar, int destination, int source,
                                bool destinationAllowed) {
    VolumeBinding& binding = bindingOf(bar);
    binding.destination = destination;
    binding.source = source;
    binding.volumeControlId = mixers_->getVolumeControlId(destination, source);
    // Not live until the bar shows the line's own value.
    binding.live = false;
    const bool enabled = binding.volumeControlId >= 0 && (source >= 0 || destinationAllowed);
    bar->setEnabled(enabled);
    if (enabled) {
        refreshTrackBar(bar);
    } else {
        setBarPosition(bar, 0);
    }
}

void Tc_form_main::refreshTrackBar(QSlider* bar) {
    VolumeBinding& binding = bindingOf(bar);
    binding.live = false;
    setBarPosition(bar, mixers_->getLineVolume(binding.destination, binding.source));
    binding.live = true;
}

void Tc_form_main::refreshMuteBox(QCheckBox* box, int destination, int source) {
    box->setChecked(mixers_->getLineMute(destination, source));
    box->setEnabled(true);
}

VolumeBinding& Tc_form_main::bindingOf(QSlider* bar) {
    return bindings_.at(bar->property("tag").toInt());
}

void Tc_form_main::c_comboBox_inConnChange() {
    selectRecordingSource(c_comboBox_inConn->currentIndex(), true);
}

void Tc_form_main::selectRecordingSource(int source, bool writeToMixer) {
    recordingSource_ = source;
    bindTrackBar(c_trackBar_in, recordingDestination_, recordingSource_, false);
    if (recordingSource_ >= 0 && writeToMixer) {
        mixers_->setRecordingSource(recordingSource_);
    }
    inMuteTag_ = mixers_->getMuteControlId(recordingDestination_, recordingSource_);
    if (recordingSource_ >= 0 && inMuteTag_ >= 0) {
        refreshMuteBox(c_checkBox_inMute, recordingDestination_, recordingSource_);
    } else {
        // A disabled box follows no control, so no notification enables it again.
        inMuteTag_ = -1;
        c_checkBox_inMute->setEnabled(false);
        c_checkBox_inMute->setChecked(false);
    }
}

void Tc_form_main::c_comboBox_outConnChange() {
    playbackSource_ = c_comboBox_outConn->currentIndex();
    bindTrackBar(c_trackBar_out, playbackDestination_, playbackSource_, false);
    outMuteTag_ = mixers_->getMuteControlId(playbackDestination_, playbackSource_);
    if (playbackSource_ >= 0 && outMuteTag_ >= 0) {
        refreshMuteBox(c_checkBox_outMute, playbackDestination_, playbackSource_);
    } else {
        outMuteTag_ = -1;
        c_checkBox_outMute->setEnabled(false);
        c_checkBox_outMute->setChecked(true);
    }
}

void Tc_form_main::refreshForControl(std::int64_t controlId) {
    for (QSlider* bar : {c_trackBar_in, c_trackBar_out, c_trackBar_inMain, c_trackBar_outMain}) {
        // A disabled bar may still hold the binding of a line shown before.
        if (bar->isEnabled() && bindingOf(bar).volumeControlId == controlId) {
            refreshTrackBar(bar);
            return;
        }
    }
    if (controlId == inMuteTag_) {
        refreshMuteBox(c_checkBox_inMute, recordingDestination_, recordingSource_);
    } else if (controlId == outMuteTag_) {
        refreshMuteBox(c_checkBox_outMute, playbackDestination_, playbackSource_);
    } else {
        // Another program chose the recording source: show it, the mixer already records it.
        const int current = mixers_->getRecordingSource();
        if (current >= 0 && current != recordingSource_ &&
            !isRecordingSourceOn(*mixers_, recordingSource_)) {
            selectEntry(c_comboBox_inConn, current);
            selectRecordingSource(c_comboBox_inConn->currentIndex(), false);
        }
    }
}

void Tc_form_main::c_voumeBar_change(QSlider* bar) {
    const VolumeBinding& binding = bindingOf(bar);
    if (binding.live) {
        mixers_->setLineVolume(binding.destination, binding.source, bar->value());
    }
}

void Tc_form_main::c_checkBox_inMuteClick() {
    if (c_checkBox_inMute->isEnabled()) {
        mixers_->setLineMute(recordingDestination_, recordingSource_,
                             c_checkBox_inMute->isChecked());
    }
}

void Tc_form_main::c_checkBox_outMuteClick() {
    if (c_checkBox_outMute->isEnabled()) {
        mixers_->setLineMute(playbackDestination_, playbackSource_,
                             c_checkBox_outMute->isChecked());
    }
}

void Tc_form_main::c_checkBox_micForceClick() {
    // A box left checked on a mixer without a microphone forces nothing.
    const bool force = c_checkBox_micForce->isChecked() && c_checkBox_micForce->isEnabled();
    const int source =
        force ? mixers_->findSourceByType(recordingDestination_, unaMsMixerSystem::kMicrophoneType)
              : mixers_->getRecordingSource();
    selectEntry(c_comboBox_inConn, source);
    // Unforced, the list shows what the mixer records already: nothing to write.
    selectRecordingSource(c_comboBox_inConn->currentIndex(), force);
}

void Tc_form_main::a_recordExecute() {
    const MMRESULT result = testDevice_->open(false, kTimeoutMs, 0);
    if (!testDevice_->isOpen()) {
        showError_("Unable to open waveIn device, error text: \r\n" +
                   QString::fromStdString(testDevice_->getErrorText(result)));
        return;
    }
    updateActions();
}

void Tc_form_main::a_stopExecute() {
    testDevice_->close(kTimeoutMs);
    updateActions();
}

void Tc_form_main::updateActions() {
    a_record->setEnabled(!testDevice_->isOpen());
    a_stop->setEnabled(!a_record->isEnabled());
}

void Tc_form_main::c_timer_updateTimer() {
    if (destroying_) {
        return;
    }
    c_progressBar_left->setValue(levelToLog(testDevice_->getVolume(0)));
    c_progressBar_right->setValue(levelToLog(testDevice_->getVolume(1)));
}

void Tc_form_main::ImageMixerClick() {
    if (const auto command = chooseSystemMixerCommand(findProgram_)) {
        startProgram_(command->program, command->arguments);
    }
}

QString Tc_form_main::statusPanelText(int panel) const {
    return statusPanels_.at(panel)->text();
}

bool Tc_form_main::setCaption(const QString& controlName, const QString& text) {
    if (controlName == objectName()) {
        setWindowTitle(text);
        return true;
    }
    QWidget* control = findChild<QWidget*>(controlName);
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(text);
        return true;
    }
    if (auto* caption = qobject_cast<QLabel*>(control)) {
        caption->setText(text);
        return true;
    }
    return false;
}

bool Tc_form_main::setHint(const QString& controlName, const QString& hint) {
    QWidget* control = controlName == objectName() ? this : findChild<QWidget*>(controlName);
    if (control == nullptr) {
        return false;
    }
    control->setToolTip(hint);
    return true;
}
