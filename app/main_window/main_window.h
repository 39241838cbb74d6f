#pragma once

#include <QMainWindow>
#include <QSize>
#include <QStringList>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>

#include "app/main_window/window_services.h"
#include "app/session/delay_session.h"

class QAction;
class QCheckBox;
class QComboBox;
class QDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QSlider;
class QStatusBar;
class QSystemTrayIcon;
class QToolButton;
class DelayEdit;
class SkinEngine;
class TOpacityForm;
class unaIniFile;

// The main window: shows the delay session and binds its controls to it. All
// session logic lives in DelaySession; this class reads the settings when it
// is created, writes them when it goes, and presents. Every control, action,
// menu and timer carries its form name as object name.
//
// Sizes and positions are those of the designed frame: the outer size is the
// client size plus kFrameAllowance, whatever the window manager draws, so the
// stored size comes back unchanged.
class Tc_form_kp2DemoMain : public QMainWindow {
    Q_OBJECT

  public:
    static constexpr QSize kFrameAllowance{8, 28};
    static constexpr double kVersionNumber = 1.0;

    explicit Tc_form_kp2DemoMain(MainWindowServices services = MainWindowServices::system(),
                                 QWidget* parent = nullptr);
    ~Tc_form_kp2DemoMain() override;

    // ---- wiring by the entry point and the later steps ----
    // What "..." beside the recording list runs (the recording-source dialog).
    void setRecordingSourceOpener(std::function<void()> open) {
        openRecordingSource_ = std::move(open);
    }
    // Shows `dialog` modally from "..."; the dialog must outlive the window's use of it.
    void setRecordingSourceDialog(QDialog* dialog);
    // The caption step: run at every show with the language code ("es" when
    // none is chosen) and whenever the user picks a language.
    void setLanguageStep(std::function<void(const QString& code)> step) {
        languageStep_ = std::move(step);
    }
    // Runs at every show after the captions (the advertising panel).
    void setShowStep(std::function<void()> step) { showStep_ = std::move(step); }
    // The eight lines of the rotating banner.
    void setBannerLines(const QStringList& lines) { bannerLines_ = lines; }
    void setStatusPanelText(int panel, const QString& text);

    // ---- state ----
    DelaySession& session() { return session_; }
    unaIniFile* settings() const { return settings_.get(); }
    TOpacityForm& opacityHelper() const { return *opacityHelper_; }
    SkinEngine& skinEngine() const { return *skin_; }
    QSystemTrayIcon* trayIcon() const { return tray_; }  // null without a system tray
    QString languageCode() const;
    void setLanguageCode(const QString& code);
    bool markerFound = false;  // the advertising page showed the update marker
    const QString& skinDirectory() const { return skinDirectory_; }
    QString statusPanelText(int panel) const;
    bool sliderFocused() const { return sliderFocused_; }
    unsigned bannerPhase() const { return bannerPhase_; }
    QTimer& bannerTimer() { return Timer_banner_; }
    QTimer& adTimer() { return timerpublicitat_; }

    QSize outerSize() const { return size() + kFrameAllowance; }
    void setOuterSize(int width, int height) {
        resize(width - kFrameAllowance.width(), height - kFrameAllowance.height());
    }

    // Writes the settings and frees the audio graph; runs once, at the latest
    // when the window is destroyed.
    void FormDestroy();

    // ---- handlers (the controls run them; public for the tests) ----
    void c_comboBox_playbackDeviceChange();
    void c_comboBox_recordingDeviceChange();
    void c_checkBox_saveIn2FileClick();
    void c_edit_waveInFileChange();
    void c_speedButton_inFileOpenClick();
    void SpeedButton1Click();
    void CurrencysExit();
    void CurrencysKeyPress();  // Enter
    void tracksegonsEnter();
    void tracksegonsExit();
    void tracksegonsChange();
    void Timer_bannerTimer();
    void Minimizar1Click();
    void Maximizar1Click();
    void JvTrayIcon1DblClick() { Maximizar1Click(); }
    void TrackOpacitiChange();
    void Intensity1Click();
    void LoadBtnClick();
    void DefaultSkin1Click();
    void SpeedlangClick();
    void Espaol1Click();
    void English1Click();
    void SpeedlogoClick();
    void PdfManualClick();
    void Sortir1Click();

  protected:
    void showEvent(QShowEvent* event) override;  // FormShow
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormCreate();
    void buildControls();
    void buildPlaybackGroup(QWidget* parent);
    void buildRecordingGroup(QWidget* parent);
    void buildDelayPanel(QWidget* parent);
    void buildLogoPanel(QWidget* parent);
    void buildStatusBar();
    void buildMenus();
    void buildActions();
    void buildTrayIcon();
    void bindSession();
    void applyStoredGeometry(const SessionSettings& stored);
    void fillDeviceLists();
    void updateDeviceControls();
    void updateMeters();
    void applyLanguage(const QString& code);
    void setSizeLimits(int minWidth, int minHeight);

    MainWindowServices services_;
    DelaySession session_;
    std::unique_ptr<unaIniFile> settings_;
    std::unique_ptr<TOpacityForm> opacityHelper_;
    std::unique_ptr<SkinEngine> skin_;
    QString skinDirectory_;
    bool destroyed_ = false;
    bool sliderFocused_ = false;
    unsigned bannerPhase_ = 0;
    QStringList bannerLines_;
    std::function<void()> openRecordingSource_;
    std::function<void(const QString&)> languageStep_;
    std::function<void()> showStep_;

    QTimer Timer_banner_;
    QTimer timerpublicitat_;

    // Actions
    QAction* ac_openIn_ = nullptr;
    QAction* ac_closeIn_ = nullptr;
    QAction* ac_openOut_ = nullptr;
    QAction* ac_closeOut_ = nullptr;
    QAction* ac_chooseIn_ = nullptr;
    QAction* ac_chooseOut_ = nullptr;
    // Menus
    QMenu* Menu_ = nullptr;
    QMenu* MenuLanguage_ = nullptr;
    QAction* Maximizar1_ = nullptr;
    QAction* Minimizar1_ = nullptr;
    QAction* Intensity1_ = nullptr;
    // Panels
    QFrame* PanelWeb_ = nullptr;
    QFrame* PanelPlayRecord_ = nullptr;
    QLabel* Panel1_ = nullptr;
    QToolButton* Speedlang_ = nullptr;
    QSlider* TrackOpaciti_ = nullptr;
    // Playback group
    QComboBox* c_comboBox_playbackDevice_ = nullptr;
    QLabel* c_staticText_outFormat_ = nullptr;
    std::array<QProgressBar*, 2> outMeters_{};
    // Recording group
    QComboBox* c_comboBox_recordingDevice_ = nullptr;
    QLabel* c_staticText_inFormat_ = nullptr;
    QLineEdit* c_edit_waveInFile_ = nullptr;
    QToolButton* c_speedButton_inFileOpen_ = nullptr;
    QCheckBox* c_checkBox_loop2Playback_ = nullptr;
    QCheckBox* c_checkBox_saveIn2File_ = nullptr;
    std::array<QProgressBar*, 2> inMeters_{};
    // Delay
    QSlider* tracksegons_ = nullptr;
    DelayEdit* Currencys_ = nullptr;
    QLabel* Ldesseg_ = nullptr;
    // Status bar
    QStatusBar* c_statusBar_main_ = nullptr;
    std::array<QLabel*, 4> statusPanels_{};
    QSystemTrayIcon* tray_ = nullptr;
};
