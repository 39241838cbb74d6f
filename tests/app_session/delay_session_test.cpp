#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSignalSpy>
#include <filesystem>

#include "app/session/delay_session.h"
#include "audio/riff/riff_stream.h"
#include "audio/software/mixer_device.h"
#include "platform/wave/simulated_wave_driver.h"

using namespace platform;

namespace {

class Session : public ::testing::Test {
  protected:
    void addDevices(int capture, int playback, MmResult captureResult = MMSYSERR_NOERROR) {
        for (int i = 0; i < capture; ++i) {
            SimulatedDeviceConfig c;
            c.name = "In " + std::to_string(i);
            c.openResult = captureResult;
            c.signal = makeSine(440, 8000);
            driver->addDevice(WaveDirection::capture, c);
        }
        for (int i = 0; i < playback; ++i) {
            SimulatedDeviceConfig p;
            p.name = "Out " + std::to_string(i);
            driver->addDevice(WaveDirection::playback, p);
        }
    }
    std::shared_ptr<SimulatedWaveDriver> driver = std::make_shared<SimulatedWaveDriver>();
    ScopedWaveDriver scoped{driver};
    DelaySession session;
};

TEST_F(Session, DeviceListsStartWithTheMapperAndClampStoredIndices) {
    session.buildDeviceGraph();  // no device installed
    ASSERT_EQ(session.captureEntries().size(), 1u);
    EXPECT_EQ(session.captureEntries()[0].data, 9);
    EXPECT_EQ(session.captureSelection(), 0);

    DelaySession three;
    addDevices(3, 3);
    three.config().captureDeviceId = 7;
    three.config().playbackDeviceId = -5;
    three.buildDeviceGraph();
    ASSERT_EQ(three.captureEntries().size(), 4u);
    EXPECT_EQ(three.captureSelection(), 3);
    EXPECT_EQ(three.captureEntries()[3].deviceIndex(), 2);
    EXPECT_EQ(three.captureEntries()[3].name, "In 2");
    EXPECT_EQ(three.playbackSelection(), 3);
}

TEST_F(Session, CountdownFromStartToPlayback) {
    addDevices(1, 1);
    session.buildDeviceGraph();
    std::vector<std::string> texts;
    QObject::connect(&session, &DelaySession::countdownChanged,
                     [&texts](const QString& t) { texts.push_back(t.toStdString()); });
    session.startRecording(2.35);
    EXPECT_TRUE(session.captureOpen());
    EXPECT_EQ(session.delayTimer().interval(), 2350);
    EXPECT_TRUE(session.delayTimer().isActive());
    EXPECT_FALSE(session.actionStates().delayControls);
    session.countdownStep();
    session.countdownStep();
    session.startPlayback();  // the delay timer fires
    EXPECT_EQ(texts, (std::vector<std::string>{"2 s.", "1 s.", "0 s.", "..."}));
    EXPECT_TRUE(session.playbackOpen());
    EXPECT_FALSE(session.countdownTimer().isActive());
    EXPECT_TRUE(session.updateTimer().isActive()) << "meters keep moving while playing";
    session.stopRecording();
    EXPECT_FALSE(session.playbackOpen());
    EXPECT_TRUE(session.actionStates().openIn);
}

TEST_F(Session, HalfASecondCountsFromZeroAndTheTimerFiresAlone) {
    addDevices(1, 1);
    session.buildDeviceGraph();
    QSignalSpy started(&session, &DelaySession::playbackStarted);
    session.startRecording(0.5);
    EXPECT_EQ(session.countdownText(), "0 s.");
    ASSERT_TRUE(started.wait(10000));
    EXPECT_EQ(session.countdownText(), "...");
}

TEST_F(Session, WithoutPassThroughOnlyCaptureRunsAndTheCountdownGoesNegative) {
    addDevices(1, 1);
    session.buildDeviceGraph();
    session.passThrough = false;
    session.startRecording(1);
    EXPECT_FALSE(session.delayTimer().isActive());
    for (int i = 0; i < 3; ++i) {
        session.countdownStep();
    }
    EXPECT_EQ(session.countdownText(), "-2 s.");
    EXPECT_FALSE(session.playbackOpen());
    EXPECT_EQ(session.delayStreamBytes(), 0);
}

TEST_F(Session, StopDuringWaitingCancelsPlaybackAndTheNextStartWaitsAgain) {
    addDevices(1, 1);
    session.buildDeviceGraph();
    session.startRecording(5);
    session.stopRecording();
    EXPECT_FALSE(session.captureOpen());
    EXPECT_FALSE(session.delayTimer().isActive());
    EXPECT_FALSE(session.countdownTimer().isActive());
    EXPECT_EQ(session.mixerDevice()->getStreamCount(), 0u);
    session.startRecording(5);
    EXPECT_TRUE(session.delayTimer().isActive());
    EXPECT_EQ(session.countdownText(), "5 s.");
    EXPECT_EQ(session.mixerDevice()->getStreamCount(), 1u);
}

TEST_F(Session, FailedCaptureOpenUndoesTheStartAndSaysWhy) {
    addDevices(1, 1, MMSYSERR_ALLOCATED);
    session.buildDeviceGraph();
    QSignalSpy messages(&session, &DelaySession::statusMessage);
    session.startRecording(2);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_TRUE(messages[0][0].toString().startsWith("Recording device: "));
    EXPECT_FALSE(session.captureOpen());
    EXPECT_FALSE(session.delayTimer().isActive());
    EXPECT_FALSE(session.countdownTimer().isActive());
    EXPECT_EQ(session.mixerDevice()->getStreamCount(), 0u);
    EXPECT_TRUE(session.actionStates().openIn);
    EXPECT_TRUE(session.actionStates().delayControls);
}

TEST_F(Session, PlaybackThatCannotOpenStopsTheSession) {
    addDevices(1, 0);
    SimulatedDeviceConfig broken;
    broken.openResult = MMSYSERR_ALLOCATED;
    driver->addDevice(WaveDirection::playback, broken);
    session.buildDeviceGraph();
    QSignalSpy messages(&session, &DelaySession::statusMessage);
    session.startRecording(1);
    session.startPlayback();
    ASSERT_EQ(messages.count(), 1);
    EXPECT_TRUE(messages[0][0].toString().startsWith("Playback device: "));
    EXPECT_FALSE(session.captureOpen());
    EXPECT_EQ(session.mixerDevice()->getStreamCount(), 0u);
}

TEST_F(Session, DelayStreamHoldsTheDelayWhilePlaying) {
    addDevices(1, 1);
    session.config().playbackSampling = {8000, 16, 1};
    session.buildDeviceGraph();
    QSignalSpy started(&session, &DelaySession::playbackStarted);
    session.startRecording(0.4);
    ASSERT_TRUE(started.wait(10000));
    // One delay's worth of playback-format audio sits in the stream: 0.4 s of 16 kB/s.
    EXPECT_GE(session.delayStreamBytes(), 6400 - 3 * 640);
    session.stopRecording();
    EXPECT_EQ(session.delayStreamBytes(), 0);
}

TEST_F(Session, SavesTheRecordingAndCompletesItOnStop) {
    addDevices(1, 1);
    const auto file = std::filesystem::temp_directory_path() /
                      ("qv-session-" + std::to_string(::getpid()) + ".wav");
    session.config().saveToFile = true;
    session.config().captureFileName = file.string();
    session.buildDeviceGraph();
    session.passThrough = false;
    session.startRecording(1);
    ASSERT_NE(session.wavWriter(), nullptr);
    QSignalSpy ticks(&session, &DelaySession::countdownChanged);
    ASSERT_TRUE(ticks.wait(10000));  // about a second of audio
    session.stopRecording();
    EXPECT_EQ(session.wavWriter(), nullptr);
    EXPECT_GT(std::filesystem::file_size(file), 44u + 44100u * 4u / 2u);
    std::filesystem::remove(file);
}

}  // namespace
