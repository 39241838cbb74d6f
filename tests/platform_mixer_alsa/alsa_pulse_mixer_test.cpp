#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "mixer/model/mixer_system.h"
#include "platform/mixer/alsa_capture_devices.h"
#include "platform/mixer/alsa_mixer_driver.h"
#include "private_pulse_server.h"

using namespace qv::platform;

namespace {

bool underCi() {
    const char* ci = std::getenv("CI");
    return ci != nullptr && std::string(ci) == "true";
}

class ChangeInbox {
  public:
    MixerChangeCallback callback() {
        return [this](std::uint32_t controlId) {
            {
                std::lock_guard lock(mutex_);
                ids_.push_back(controlId);
            }
            arrived_.notify_all();
        };
    }
    void clear() {
        std::lock_guard lock(mutex_);
        ids_.clear();
    }
    bool waitFor(std::uint32_t controlId) {
        std::unique_lock lock(mutex_);
        return arrived_.wait_for(lock, std::chrono::seconds(10), [&] {
            return std::find(ids_.begin(), ids_.end(), controlId) != ids_.end();
        });
    }

  private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<std::uint32_t> ids_;
};

// ALSA's "pulse" control device over a private PulseAudio daemon: Master is the
// default sink ("radio"), Capture the default source.
class AlsaPulseMixer : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (!PrivatePulseServer::programExists("pulseaudio") ||
            !PrivatePulseServer::programExists("pactl")) {
            problem_ = "pulseaudio and pactl are needed (packages pulseaudio, pulseaudio-utils)";
            return;
        }
        if (insideTestStack()) {
            return;
        }
        server_ = std::make_unique<PrivatePulseServer>();
        problem_ = server_->start();
    }
    static void TearDownTestSuite() { server_.reset(); }

    // scripts/pulse_stack.sh already points this process at a private server.
    static bool insideTestStack() {
        const char* stack = std::getenv("QV_PULSE_STACK");
        return stack != nullptr && std::string(stack) == "1";
    }

    void SetUp() override {
        if (problem_.empty()) {
            driver_ = std::shared_ptr<MixerDriver>(makeAlsaMixerDriver({"pulse"}));
            if (driver_->mixerCount() != 1) {
                problem_ =
                    "ALSA's \"pulse\" control device does not open (package libasound2-plugins)";
            }
        }
        if (!problem_.empty()) {
            if (underCi()) {
                FAIL() << problem_;
            }
            GTEST_SKIP() << problem_;
        }
        ASSERT_TRUE(pactl({"set-sink-volume", "@DEFAULT_SINK@", "50%"}));
        ASSERT_TRUE(pactl({"set-sink-mute", "@DEFAULT_SINK@", "0"}));
        ASSERT_TRUE(pactl({"set-source-volume", "@DEFAULT_SOURCE@", "100%"}));
        ASSERT_TRUE(pactl({"set-source-mute", "@DEFAULT_SOURCE@", "0"}));
        system_ = std::make_unique<unaMsMixerSystem>(true, driver_);
    }

    static bool pactl(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "pactl");
        return PrivatePulseServer::runClient(arguments);
    }

    static inline std::unique_ptr<PrivatePulseServer> server_;
    static inline std::string problem_;
    std::shared_ptr<MixerDriver> driver_;
    ChangeInbox inbox_;  // outlives the system, whose mixer calls it
    std::unique_ptr<unaMsMixerSystem> system_;
};

TEST_F(AlsaPulseMixer, ShowsMasterAsSpeakersAndCaptureAsARecordingSource) {
    ASSERT_TRUE(system_->selectMixer(0));
    EXPECT_EQ(system_->getMixerName(), "PulseAudio");
    ASSERT_EQ(system_->getDestinationCount(), 2u);
    EXPECT_EQ(system_->getDestinationIndex(true), 0);
    EXPECT_EQ(system_->getDestinationIndex(false), 1);

    EXPECT_GE(system_->getVolumeControlId(0, -1), 0);
    EXPECT_GE(system_->getMuteControlId(0, -1), 0);
    EXPECT_EQ(system_->getSourceCount(0), 0u);

    ASSERT_EQ(system_->getSourceCount(1), 1u);
    EXPECT_EQ(system_->getLineName(1, 0), "Capture");
    EXPECT_GE(system_->getVolumeControlId(1, 0), 0);
    EXPECT_GE(system_->getMuteControlId(1, 0), 0);
    EXPECT_EQ(system_->getRecordingSource(), 0);
}

TEST_F(AlsaPulseMixer, WritesVolumeAndMuteThatAnotherClientReads) {
    ASSERT_TRUE(system_->selectMixer(0));
    EXPECT_EQ(system_->getLineVolume(0, -1), 50);
    ASSERT_TRUE(system_->setLineVolume(0, -1, 40));
    ASSERT_TRUE(system_->setLineMute(0, -1, true));

    unaMsMixerSystem other(true, std::shared_ptr<MixerDriver>(makeAlsaMixerDriver({"pulse"})));
    ASSERT_TRUE(other.selectMixer(0));
    EXPECT_EQ(other.getLineVolume(0, -1), 40);
    EXPECT_TRUE(other.getLineMute(0, -1));
}

TEST_F(AlsaPulseMixer, ChangesMadeByAnotherProgramAreReported) {
    ASSERT_TRUE(system_->selectMixer(0, inbox_.callback()));
    const auto volumeId = static_cast<std::uint32_t>(system_->getVolumeControlId(0, -1));
    const auto muteId = static_cast<std::uint32_t>(system_->getMuteControlId(0, -1));

    ASSERT_TRUE(pactl({"set-sink-volume", "@DEFAULT_SINK@", "20%"}));
    ASSERT_TRUE(inbox_.waitFor(volumeId));
    EXPECT_EQ(system_->getLineVolume(0, -1), 20);

    inbox_.clear();
    ASSERT_TRUE(pactl({"set-sink-mute", "@DEFAULT_SINK@", "1"}));
    ASSERT_TRUE(inbox_.waitFor(muteId));
    EXPECT_TRUE(system_->getLineMute(0, -1));
}

TEST_F(AlsaPulseMixer, CaptureSwitchIsTheRecordingSourceList) {
    ASSERT_TRUE(system_->selectMixer(0));
    ASSERT_TRUE(system_->setLineMute(1, 0, true));
    EXPECT_EQ(system_->getRecordingSource(), -1);

    ASSERT_TRUE(system_->setRecordingSource(0));
    EXPECT_EQ(system_->getRecordingSource(), 0);
    EXPECT_FALSE(system_->getLineMute(1, 0));
}

TEST_F(AlsaPulseMixer, ThePulseCaptureDeviceBelongsToThePulseMixer) {
    unaMsMixerSystem everything(true, std::shared_ptr<MixerDriver>(makeAlsaMixerDriver()));
    const std::vector<AlsaCaptureDevice> captures = listAlsaCaptureDevices();
    for (unsigned m = 0; m < everything.getMixerCount(); ++m) {
        ASSERT_TRUE(everything.selectMixer(static_cast<int>(m)));
        if (everything.getMixerName() != "PulseAudio") {
            continue;
        }
        const int wave = everything.getWaveDeviceIndex();
        ASSERT_GE(wave, 0);
        ASSERT_LT(static_cast<std::size_t>(wave), captures.size());
        EXPECT_EQ(captures[static_cast<std::size_t>(wave)].pcmName, "pulse");
        return;
    }
    FAIL() << "no PulseAudio mixer among " << everything.getMixerCount();
}

}  // namespace
