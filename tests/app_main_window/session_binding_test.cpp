#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QSlider>
#include <QStatusBar>

#include "app/main_window/delay_edit.h"
#include "audio/wave/wave_in_device.h"
#include "main_window_fixture.h"

namespace {

class SessionBinding : public MainWindowTest {
  protected:
    SessionBinding() {
        addDevices(platform::WaveDirection::capture, 1);
        addDevices(platform::WaveDirection::playback, 1);
    }

    void startWithDelay(double seconds) {
        child<DelayEdit>("Currencys")->setValue(seconds);
        window().CurrencysExit();
        child<QAction>("ac_openIn")->trigger();
    }

    QString countdown() { return child<QLabel>("Ldesseg")->text(); }
};

TEST_F(SessionBinding, CountdownStepsUntilTheDelayStartsPlayback) {
    createWindow();
    EXPECT_EQ(countdown(), QStringLiteral("..."));
    startWithDelay(2.35);
    DelaySession& session = window().session();
    ASSERT_TRUE(session.captureOpen());
    EXPECT_TRUE(session.delayTimer().isActive());
    EXPECT_EQ(session.delayTimer().interval(), 2350);
    EXPECT_EQ(countdown(), QStringLiteral("2 s."));
    for (const char* expected : {"1 s.", "0 s."}) {
        fire(session.countdownTimer());
        EXPECT_EQ(countdown(), QString::fromLatin1(expected));
    }
    fire(session.delayTimer());
    EXPECT_EQ(countdown(), QStringLiteral("..."));
    EXPECT_TRUE(session.playbackOpen());
    EXPECT_FALSE(session.countdownTimer().isActive());
}

TEST_F(SessionBinding, HalfSecondDelayPlaysBeforeTheFirstCountdownStep) {
    createWindow();
    QSignalSpy started(&window().session(), &DelaySession::playbackStarted);
    QStringList shown;
    QObject::connect(&window().session(), &DelaySession::countdownChanged,
                     [&shown](const QString& text) { shown.push_back(text); });
    startWithDelay(0.5);
    ASSERT_TRUE(started.wait(10000));
    EXPECT_EQ(shown, (QStringList{QStringLiteral("0 s."), QStringLiteral("...")}));
}

TEST_F(SessionBinding, WithoutPassThroughTheCountdownGoesBelowZero) {
    createWindow();
    child<QCheckBox>("c_checkBox_loop2Playback")->setChecked(false);
    startWithDelay(2.35);
    DelaySession& session = window().session();
    EXPECT_TRUE(session.captureOpen());
    EXPECT_FALSE(session.delayTimer().isActive());
    for (const char* expected : {"1 s.", "0 s.", "-1 s.", "-2 s."}) {
        fire(session.countdownTimer());
        EXPECT_EQ(countdown(), QString::fromLatin1(expected));
    }
    EXPECT_FALSE(session.playbackOpen());
}

TEST_F(SessionBinding, StopWhileWaitingCancelsPlaybackAndTheNextStartWaitsAgain) {
    createWindow();
    startWithDelay(2.35);
    DelaySession& session = window().session();
    fire(session.countdownTimer());
    child<QAction>("ac_closeIn")->trigger();
    EXPECT_FALSE(session.captureOpen());
    EXPECT_FALSE(session.delayTimer().isActive());
    EXPECT_FALSE(session.countdownTimer().isActive());
    EXPECT_FALSE(session.playbackOpen());

    child<QAction>("ac_openIn")->trigger();
    EXPECT_TRUE(session.delayTimer().isActive());
    EXPECT_EQ(session.delayTimer().interval(), 2350);
    EXPECT_EQ(countdown(), QStringLiteral("2 s."));
}

TEST_F(SessionBinding, ControlsFollowTheDeviceStates) {
    createWindow();
    struct Expectation {
        const char* name;
        bool idle, waiting, delaying;
    };
    const Expectation table[] = {
        {"ac_openIn", true, false, false},   {"ac_closeIn", false, true, true},
        {"ac_chooseIn", true, false, false}, {"ac_openOut", true, true, false},
        {"ac_closeOut", false, false, true}, {"ac_chooseOut", true, true, false},
    };
    const Expectation widgets[] = {
        {"c_comboBox_recordingDevice", true, false, false},
        {"c_checkBox_saveIn2File", true, false, false},
        {"c_edit_waveInFile", true, false, false},
        {"c_speedButton_inFileOpen", true, false, false},
        {"c_comboBox_playbackDevice", true, true, false},
        {"tracksegons", true, false, false},
        {"Currencys", true, false, false},
    };
    const auto check = [&](bool Expectation::*state, const char* phase) {
        for (const Expectation& e : table) {
            EXPECT_EQ(child<QAction>(e.name)->isEnabled(), e.*state) << e.name << " " << phase;
        }
        for (const Expectation& e : widgets) {
            EXPECT_EQ(child<QWidget>(e.name)->isEnabled(), e.*state) << e.name << " " << phase;
        }
    };
    check(&Expectation::idle, "idle");
    startWithDelay(1);
    check(&Expectation::waiting, "waiting");
    fire(window().session().delayTimer());
    check(&Expectation::delaying, "delaying");
    child<QAction>("ac_closeIn")->trigger();
    check(&Expectation::idle, "stopped");
}

TEST_F(SessionBinding, FailedCaptureOpenIsShownInTheStatusBar) {
    platform::SimulatedDeviceConfig busy;
    busy.name = "Busy card";
    busy.openResult = platform::MMSYSERR_ALLOCATED;
    driver_->addDevice(platform::WaveDirection::capture, busy);
    store("waveIn", "deviceId", "1");
    createWindow();
    startWithDelay(1);
    EXPECT_FALSE(window().session().captureOpen());
    EXPECT_TRUE(child<QAction>("ac_openIn")->isEnabled());
    EXPECT_TRUE(child<QStatusBar>("c_statusBar_main")
                    ->currentMessage()
                    .startsWith(QStringLiteral("Recording device: ")));
}

TEST_F(SessionBinding, UpdateTimerShowsMemoryAndMeters) {
    createWindow();
    fire(window().session().updateTimer());
    EXPECT_TRUE(window().statusPanelText(0).startsWith(QStringLiteral("Mem: ")));
    EXPECT_TRUE(window().statusPanelText(0).endsWith(QStringLiteral(" KB")));
    EXPECT_EQ(child<QProgressBar>("c_progressBar_inLeft")->value(), 0);
    EXPECT_EQ(child<QProgressBar>("c_progressBar_inLeft")->maximum(), 300);
}

TEST_F(MainWindowTest, WithoutDevicesEachListHoldsTheSelectedMapper) {
    createWindow();
    for (const char* name : {"c_comboBox_playbackDevice", "c_comboBox_recordingDevice"}) {
        auto* list = child<QComboBox>(name);
        EXPECT_EQ(list->count(), 1) << name;
        EXPECT_EQ(list->currentIndex(), 0) << name;
        EXPECT_EQ(list->itemData(0).toInt(), 9) << name;
    }
}

TEST_F(MainWindowTest, StoredIndexPastTheEndSelectsTheLastDevice) {
    addDevices(platform::WaveDirection::capture, 3);
    addDevices(platform::WaveDirection::playback, 1);
    store("waveIn", "deviceId", "7");
    createWindow();
    auto* list = child<QComboBox>("c_comboBox_recordingDevice");
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(list->currentIndex(), 3);
    EXPECT_EQ(list->currentText(), QStringLiteral("Card 2"));
    child<QAction>("ac_openIn")->trigger();
    EXPECT_EQ(window().session().captureDevice()->deviceId, 2);
}

TEST_F(MainWindowTest, PickingAListEntryChoosesItsDevice) {
    addDevices(platform::WaveDirection::capture, 2);
    addDevices(platform::WaveDirection::playback, 2);
    createWindow();
    child<QComboBox>("c_comboBox_playbackDevice")->setCurrentIndex(2);
    child<QComboBox>("c_comboBox_recordingDevice")->setCurrentIndex(1);
    EXPECT_EQ(window().session().config().playbackDeviceId, 1);
    EXPECT_EQ(window().session().config().captureDeviceId, 0);
}

std::uint32_t littleEndian32(const QByteArray& bytes, int at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | std::uint8_t(bytes[at + i]);
    }
    return value;
}

TEST_F(SessionBinding, ClosingWhileDelayingCompletesTheWavFile) {
    createWindow();
    const QString path = scratch_.filePath(QStringLiteral("take.wav"));
    child<QLineEdit>("c_edit_waveInFile")->setText(path);
    QSignalSpy started(&window().session(), &DelaySession::playbackStarted);
    startWithDelay(0.05);
    ASSERT_TRUE(started.wait(10000));
    destroyWindow();

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GE(bytes.size(), 44);
    EXPECT_EQ(bytes.left(4), QByteArray("RIFF"));
    EXPECT_EQ(littleEndian32(bytes, 4), std::uint32_t(bytes.size() - 8));
    EXPECT_EQ(bytes.mid(36, 4), QByteArray("data"));
    EXPECT_EQ(littleEndian32(bytes, 40), std::uint32_t(bytes.size() - 44));
}

}  // namespace
