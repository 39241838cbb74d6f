#include <QCheckBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSlider>

#include "app/main_window/delay_edit.h"
#include "main_window_fixture.h"

namespace {

TEST_F(MainWindowTest, StoredSettingsAreShownAtCreation) {
    addDevices(platform::WaveDirection::playback, 2);
    store("waveOut", "deviceId", "1");
    store("waveOut", "pcmSamplesPerSecond", "$5622");  // 22050
    store("waveOut", "fileName", "  out.wav ");
    store("waveIn", "pcmNumChannels", "1");
    store("waveIn", "fileName", " /tmp/radio.wav ");
    store("waveIn", "saveToFile", "0");
    store("delay", "delaysec", "2300");
    store("form", "language", "uk");
    store("form", "width", "500");
    store("form", "height", "600");
    store("form", "left", "30");
    store("form", "top", "-2");
    createWindow();

    const SessionSettings& config = window().session().config();
    EXPECT_EQ(config.playbackDeviceId, 1);
    EXPECT_EQ(config.playbackSampling.samplesPerSec, 22050);
    EXPECT_EQ(config.playbackFileName, "out.wav");
    EXPECT_EQ(config.captureSampling.channels, 1);
    EXPECT_EQ(child<QLineEdit>("c_edit_waveInFile")->text(), QStringLiteral("/tmp/radio.wav"));
    EXPECT_FALSE(child<QCheckBox>("c_checkBox_saveIn2File")->isChecked());
    EXPECT_EQ(child<DelayEdit>("Currencys")->text(), QStringLiteral("2.30 s."));
    EXPECT_EQ(child<QSlider>("tracksegons")->value(), 24);
    EXPECT_EQ(window().languageCode(), QStringLiteral("uk"));
    EXPECT_EQ(window().outerSize(), QSize(600, 600));  // the width below 600 is ignored
    EXPECT_EQ(window().pos(), QPoint(30, -2));
    EXPECT_TRUE(wavFolders_.isEmpty());
}

TEST_F(MainWindowTest, FirstStartUsesTheDefaults) {
    createWindow();
    const SessionSettings& config = window().session().config();
    EXPECT_EQ(config.playbackDeviceId, -1);
    EXPECT_EQ(config.captureSampling.samplesPerSec, 44100);
    EXPECT_EQ(child<DelayEdit>("Currencys")->text(), QStringLiteral("0.05 s."));
    EXPECT_EQ(window().outerSize(), QSize(600, 440));
    EXPECT_EQ(window().pos(), QPoint(4, 4));
    EXPECT_EQ(window().statusPanelText(1), QStringLiteral("Not connected"));
    EXPECT_EQ(window().statusPanelText(2), QStringLiteral("V.1"));
    EXPECT_TRUE(child<QCheckBox>("c_checkBox_loop2Playback")->isChecked());
}

TEST_F(MainWindowTest, SettingsAreWrittenAtDestructionInTheirOrderAndForms) {
    createWindow();
    child<DelayEdit>("Currencys")->setValue(2.35);
    window().move(12, 34);
    window().setOuterSize(640, 480);
    window().Espaol1Click();
    destroyWindow();

    const QString text = settingsText();
    const QStringList expectedInOrder = {"[waveOut]",
                                         "deviceId=4294967295",
                                         "pcmSamplesPerSecond=44100",
                                         "pcmBitsPerSample=16",
                                         "pcmNumChannels=2",
                                         "fileName=",
                                         "[waveIn]",
                                         "deviceId=4294967295",
                                         "pcmSamplesPerSecond=44100",
                                         "pcmBitsPerSample=16",
                                         "pcmNumChannels=2",
                                         "fileName=",
                                         "saveToFile=0",
                                         "[delay]",
                                         "delaysec=2350",
                                         "[form]",
                                         "language=es",
                                         "width=640",
                                         "height=480",
                                         "left=12",
                                         "top=34",
                                         "[skin]",
                                         "skin="};
    const QStringList lines =
        text.split(QRegularExpression(QStringLiteral("\\r?\\n")), Qt::SkipEmptyParts);
    EXPECT_EQ(lines, expectedInOrder) << text.toStdString();
}

TEST_F(MainWindowTest, StoredSaveFlagWithoutFileAsksForOneAtCreation) {
    store("waveIn", "saveToFile", "-1");
    store("main", "initialSaveDir", "/srv/recordings/");
    const QString chosen = scratch_.filePath(QStringLiteral("match.wav"));
    wavAnswer_ = chosen;
    createWindow();
    EXPECT_EQ(wavFolders_, QStringList{QStringLiteral("/srv/recordings/")});
    EXPECT_EQ(child<QLineEdit>("c_edit_waveInFile")->text(), chosen);
    EXPECT_TRUE(child<QCheckBox>("c_checkBox_saveIn2File")->isChecked());
    EXPECT_EQ(window().session().config().captureFileName, chosen.toStdString());
    EXPECT_EQ(stored("main", "initialSaveDir"), scratch_.path().toStdString() + "/");
}

TEST_F(MainWindowTest, CancelledSaveDialogLeavesTheOptionOff) {
    createWindow();
    child<QCheckBox>("c_checkBox_saveIn2File")->setChecked(true);
    EXPECT_EQ(wavFolders_.size(), 1);
    EXPECT_FALSE(child<QCheckBox>("c_checkBox_saveIn2File")->isChecked());
    EXPECT_FALSE(window().session().config().saveToFile);
}

TEST_F(MainWindowTest, TypingAFileNameTurnsTheOptionOn) {
    createWindow();
    child<QLineEdit>("c_edit_waveInFile")->setText(QStringLiteral("take.wav"));
    EXPECT_TRUE(window().session().config().saveToFile);
    child<QLineEdit>("c_edit_waveInFile")->setText(QString());
    EXPECT_FALSE(window().session().config().saveToFile);
    EXPECT_TRUE(wavFolders_.isEmpty());
}

}  // namespace
