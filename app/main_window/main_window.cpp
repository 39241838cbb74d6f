// The window's life: settings in at creation and out at destruction, the
// session bound to the controls, the WAV file option and the delay rules.
#include "app/main_window/main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSlider>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QToolButton>

#include "app/main_window/delay_edit.h"
#include "app/main_window/format_choice_dialog.h"
#include "app/main_window/opacity_form.h"
#include "app/main_window/skin_engine.h"
#include "app/session/delay_rules.h"
#include "framework/ini/ini_file.h"

namespace {

constexpr int kStatusMessageMs = 15000;
// The designed frame: outer size limits and size.
constexpr QSize kMinOuterSize{190, 440};
constexpr QSize kMaxOuterSize{800, 600};
constexpr QSize kDesignedOuterSize{600, 440};
constexpr int kMinStoredWidth = 600;
constexpr int kMinStoredHeight = 440;

// Trimmed of every character up to 32 (blanks and control characters).
QString trimmedOfControls(const QString& text) {
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin].unicode() <= 32) {
        ++begin;
    }
    while (end > begin && text[end - 1].unicode() <= 32) {
        --end;
    }
    return text.mid(begin, end - begin);
}

}  // namespace

Tc_form_kp2DemoMain::Tc_form_kp2DemoMain(MainWindowServices services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services)) {
    buildControls();
    bindSession();
    FormCreate();
}

Tc_form_kp2DemoMain::~Tc_form_kp2DemoMain() {
    FormDestroy();
    opacityHelper_.reset();  // while the window is still whole
}

void Tc_form_kp2DemoMain::bindSession() {
    session_.delayTimer().setObjectName(QStringLiteral("Timersegons"));
    session_.countdownTimer().setObjectName(QStringLiteral("Descompte"));
    session_.updateTimer().setObjectName(QStringLiteral("c_timer_update"));
    session_.passThrough = c_checkBox_loop2Playback_->isChecked();

    connect(ac_openIn_, &QAction::triggered, this, [this] {
        c_statusBar_main_->clearMessage();
        session_.startRecording(Currencys_->value());
    });
    connect(ac_closeIn_, &QAction::triggered, &session_, &DelaySession::stopRecording);
    connect(ac_openOut_, &QAction::triggered, &session_, &DelaySession::startPlayback);
    connect(ac_closeOut_, &QAction::triggered, &session_, &DelaySession::stopPlayback);
    connect(ac_chooseIn_, &QAction::triggered, &session_, &DelaySession::chooseCaptureFormat);
    connect(ac_chooseOut_, &QAction::triggered, &session_, &DelaySession::choosePlaybackFormat);

    connect(&session_, &DelaySession::devicesChanged, this,
            &Tc_form_kp2DemoMain::updateDeviceControls);
    connect(&session_, &DelaySession::metersUpdated, this, &Tc_form_kp2DemoMain::updateMeters);
    connect(&session_, &DelaySession::countdownChanged, Ldesseg_, &QLabel::setText);
    connect(&session_, &DelaySession::statusMessage, this, [this](const QString& text) {
        c_statusBar_main_->showMessage(text, kStatusMessageMs);
    });
}

// ---- creation and destruction ----

void Tc_form_kp2DemoMain::FormCreate() {
    opacityHelper_ = std::make_unique<TOpacityForm>(this);
    markerFound = false;
    statusPanels_[2]->setText(QStringLiteral("V.") +
                              QString::fromStdString(shortDecimalText(kVersionNumber)));

    settings_ = std::make_unique<unaIniFile>(services_.settingsFileName, "settings", 1000, true);
    const SessionSettings stored = readSessionSettings(*settings_);
    session_.config() = stored;
    c_edit_waveInFile_->setText(QString::fromStdString(stored.captureFileName));
    c_checkBox_saveIn2File_->setChecked(stored.saveToFile);
    Currencys_->setValue(delay_rules::editValue(double(stored.delayMs) / 1000.0));
    CurrencysExit();
    setSizeLimits(kMinOuterSize.width(), kMinOuterSize.height());
    setMaximumSize(kMaxOuterSize - kFrameAllowance);
    applyStoredGeometry(stored);

    session_.buildDeviceGraph();
    fillDeviceLists();
    installFormatChooser(
        std::make_shared<QtFormatChooser>(this, [this](platform::WaveDirection side) {
            const auto& entries = side == platform::WaveDirection::capture
                                      ? session_.captureEntries()
                                      : session_.playbackEntries();
            const int selection = side == platform::WaveDirection::capture
                                      ? session_.captureSelection()
                                      : session_.playbackSelection();
            return selection >= 0 && size_t(selection) < entries.size()
                       ? entries[size_t(selection)].deviceIndex()
                       : platform::WAVE_MAPPER;
        }));

    skin_ = std::make_unique<SkinEngine>(this);
    if (!stored.skin.empty()) {
        skin_->setSkinFile(QString::fromStdString(stored.skin));
    }
    skin_->activate();
    skinDirectory_ = QCoreApplication::applicationDirPath();

    PanelWeb_->setVisible(false);
    if (tray_ != nullptr) {
        tray_->show();
    }
}

void Tc_form_kp2DemoMain::applyStoredGeometry(const SessionSettings& stored) {
    QSize outer = kDesignedOuterSize;
    if (stored.width >= kMinStoredWidth) {
        outer.setWidth(stored.width);
    }
    if (stored.height >= kMinStoredHeight) {
        outer.setHeight(stored.height);
    }
    setOuterSize(outer.width(), outer.height());
    move(stored.left, stored.top);
}

void Tc_form_kp2DemoMain::setSizeLimits(int minWidth, int minHeight) {
    setMinimumSize(QSize(minWidth, minHeight) - kFrameAllowance);
}

void Tc_form_kp2DemoMain::FormDestroy() {
    if (destroyed_) {
        return;
    }
    destroyed_ = true;
    SessionSettings& config = session_.config();
    config.width = outerSize().width();
    config.height = outerSize().height();
    config.left = pos().x();
    config.top = pos().y();
    config.skin = skin_->skinFile().toStdString();
    writeSessionSettings(*settings_, config, Currencys_->value());
    settings_.reset();

    Timer_banner_.stop();
    session_.releaseDeviceGraph();
    session_.disconnect(this);  // the controls go before the session does
    const auto installed = installedFormatChooser();
    if (dynamic_cast<QtFormatChooser*>(installed.get()) != nullptr) {
        installFormatChooser(nullptr);  // it would show over a window that is gone
    }
}

// ---- devices ----

void Tc_form_kp2DemoMain::fillDeviceLists() {
    const auto fill = [](QComboBox* list, const std::vector<DeviceEntry>& entries, int selection) {
        const QSignalBlocker quiet(list);
        list->clear();
        for (const DeviceEntry& entry : entries) {
            list->addItem(QString::fromStdString(entry.name), entry.data);
        }
        list->setCurrentIndex(selection);
    };
    fill(c_comboBox_playbackDevice_, session_.playbackEntries(), session_.playbackSelection());
    fill(c_comboBox_recordingDevice_, session_.captureEntries(), session_.captureSelection());
}

void Tc_form_kp2DemoMain::c_comboBox_playbackDeviceChange() {
    if (c_comboBox_playbackDevice_->currentIndex() >= 0) {
        session_.selectPlaybackEntry(c_comboBox_playbackDevice_->currentIndex());
    }
}

void Tc_form_kp2DemoMain::c_comboBox_recordingDeviceChange() {
    if (c_comboBox_recordingDevice_->currentIndex() >= 0) {
        session_.selectCaptureEntry(c_comboBox_recordingDevice_->currentIndex());
    }
}

void Tc_form_kp2DemoMain::updateDeviceControls() {
    const ActionStates states = session_.actionStates();
    ac_openIn_->setEnabled(states.openIn);
    ac_closeIn_->setEnabled(states.closeIn);
    ac_chooseIn_->setEnabled(states.chooseIn);
    ac_openOut_->setEnabled(states.openOut);
    ac_closeOut_->setEnabled(states.closeOut);
    ac_chooseOut_->setEnabled(states.chooseOut);
    c_comboBox_playbackDevice_->setEnabled(states.playbackList);
    for (QWidget* control :
         {static_cast<QWidget*>(c_comboBox_recordingDevice_),
          static_cast<QWidget*>(c_checkBox_saveIn2File_), static_cast<QWidget*>(c_edit_waveInFile_),
          static_cast<QWidget*>(c_speedButton_inFileOpen_)}) {
        control->setEnabled(states.recordingControls);
    }
    tracksegons_->setEnabled(states.delayControls);
    Currencys_->setEnabled(states.delayControls);
    c_staticText_outFormat_->setText(session_.playbackFormatText());
    c_staticText_inFormat_->setText(session_.captureFormatText());
}

void Tc_form_kp2DemoMain::updateMeters() {
    const DelaySession::Meters& levels = session_.meters();
    inMeters_[0]->setValue(levels.inLeft);
    inMeters_[1]->setValue(levels.inRight);
    outMeters_[0]->setValue(levels.outLeft);
    outMeters_[1]->setValue(levels.outRight);
    statusPanels_[0]->setText(session_.memoryText());
}

void Tc_form_kp2DemoMain::setRecordingSourceDialog(QDialog* dialog) {
    openRecordingSource_ = [dialog] {
        if (dialog != nullptr) {
            dialog->exec();
        }
    };
}

void Tc_form_kp2DemoMain::SpeedButton1Click() {
    if (openRecordingSource_) {
        openRecordingSource_();
    }
}

// ---- the WAV file option ----

void Tc_form_kp2DemoMain::c_edit_waveInFileChange() {
    session_.config().captureFileName = c_edit_waveInFile_->text().toStdString();
    c_checkBox_saveIn2File_->setChecked(!c_edit_waveInFile_->text().isEmpty());
}

void Tc_form_kp2DemoMain::c_checkBox_saveIn2FileClick() {
    session_.config().saveToFile = c_checkBox_saveIn2File_->isChecked();
    if (c_checkBox_saveIn2File_->isChecked() &&
        trimmedOfControls(c_edit_waveInFile_->text()).isEmpty()) {
        c_checkBox_saveIn2File_->setChecked(false);
        c_speedButton_inFileOpenClick();
    }
}

void Tc_form_kp2DemoMain::c_speedButton_inFileOpenClick() {
    const QString chosen = services_.askWavFileName
                               ? services_.askWavFileName(
                                     this, QString::fromStdString(session_.config().initialSaveDir))
                               : QString();
    if (chosen.isEmpty()) {
        return;
    }
    session_.config().captureFileName = chosen.toStdString();
    c_edit_waveInFile_->setText(chosen);
    const std::string folder = (QFileInfo(chosen).absolutePath() + QLatin1Char('/')).toStdString();
    session_.config().initialSaveDir = folder;
    if (settings_) {
        writeInitialSaveDir(*settings_, folder);
    }
}

// ---- the delay edit and slider ----

void Tc_form_kp2DemoMain::CurrencysExit() {
    const delay_rules::EditResult rules = delay_rules::onEditExit(Currencys_->value());
    Currencys_->setValue(delay_rules::editValue(rules.seconds));
    tracksegons_->setMaximum(rules.sliderMax);
    tracksegons_->setValue(rules.sliderValue);  // the slider keeps it within its range
}

void Tc_form_kp2DemoMain::CurrencysKeyPress() {
    tracksegons_->setFocus(Qt::OtherFocusReason);
}

void Tc_form_kp2DemoMain::tracksegonsEnter() {
    sliderFocused_ = true;
}

void Tc_form_kp2DemoMain::tracksegonsExit() {
    sliderFocused_ = false;
}

void Tc_form_kp2DemoMain::tracksegonsChange() {
    if (sliderFocused_) {
        Currencys_->setValue(delay_rules::secondsForSlider(tracksegons_->value()));
    }
}

bool Tc_form_kp2DemoMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tracksegons_) {
        if (event->type() == QEvent::FocusIn) {
            tracksegonsEnter();
        } else if (event->type() == QEvent::FocusOut) {
            tracksegonsExit();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
