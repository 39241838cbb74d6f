#include <gtest/gtest.h>

#include <algorithm>

#include "platform/wave/simulated_wave_driver.h"
#include "wave_test_support.h"

namespace platform {
namespace {

const WaveFormat kCd{WAVE_FORMAT_PCM, 2, 44100, 16};

TEST(SimulatedWaveDriver, ListsDevicesPerDirectionWithTheMapperFirst) {
    SimulatedWaveDriver driver;
    driver.addDevice(WaveDirection::capture, {.name = "Radio tuner line input with a long name"});
    driver.addDevice(WaveDirection::playback, {.name = "Speakers", .support = WAVECAPS_SYNC});
    driver.addDevice(WaveDirection::playback, {.name = "Headphones"});
    EXPECT_EQ(driver.deviceCount(WaveDirection::capture), 1);
    EXPECT_EQ(driver.deviceCount(WaveDirection::playback), 2);

    WaveDeviceCaps caps;
    ASSERT_EQ(driver.deviceCaps(WaveDirection::capture, 0, caps), MMSYSERR_NOERROR);
    EXPECT_EQ(caps.productName, "Radio tuner line input with a l");  // 31 characters
    ASSERT_EQ(driver.deviceCaps(WaveDirection::playback, 1, caps), MMSYSERR_NOERROR);
    EXPECT_EQ(caps.productName, "Headphones");
    ASSERT_EQ(driver.deviceCaps(WaveDirection::playback, WAVE_MAPPER, caps), MMSYSERR_NOERROR);
    EXPECT_EQ(caps.support, WAVECAPS_SYNC);  // the mapper is device 0
    EXPECT_EQ(driver.deviceCaps(WaveDirection::playback, 2, caps), MMSYSERR_BADDEVICEID);
}

struct OpenCase {
    const char* what;
    int deviceId;
    WaveFormat format;
    std::uint32_t flags;
    MmResult expected;
    bool streamExpected;
};

class SimulatedOpen : public ::testing::TestWithParam<OpenCase> {};

TEST_P(SimulatedOpen, AnswersWithTheRightCode) {
    const auto& c = GetParam();
    SimulatedWaveDriver driver;
    driver.addDevice(WaveDirection::capture, {.rates = {8000, 44100}});
    std::unique_ptr<WaveStream> stream;
    EXPECT_EQ(driver.open({WaveDirection::capture, c.deviceId, c.format, c.flags}, stream),
              c.expected);
    EXPECT_EQ(stream != nullptr, c.streamExpected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SimulatedOpen,
    ::testing::Values(
        OpenCase{"device", 0, kCd, CALLBACK_EVENT, MMSYSERR_NOERROR, true},
        OpenCase{"mapper", WAVE_MAPPER, kCd, CALLBACK_EVENT, MMSYSERR_NOERROR, true},
        OpenCase{"query", 0, kCd, CALLBACK_EVENT | WAVE_FORMAT_QUERY, MMSYSERR_NOERROR, false},
        OpenCase{"bad id", 1, kCd, CALLBACK_EVENT, MMSYSERR_BADDEVICEID, false},
        OpenCase{"negative id", -2, kCd, CALLBACK_EVENT, MMSYSERR_BADDEVICEID, false},
        OpenCase{"24 bits", 0, {WAVE_FORMAT_PCM, 2, 44100, 24}, 0, WAVERR_BADFORMAT, false},
        OpenCase{"not PCM", 0, {85, 2, 44100, 16}, 0, WAVERR_BADFORMAT, false},
        OpenCase{"rate refused", 0, {WAVE_FORMAT_PCM, 2, 22050, 16}, 0, WAVERR_BADFORMAT, false},
        OpenCase{"query refused",
                 0,
                 {WAVE_FORMAT_PCM, 2, 22050, 16},
                 WAVE_FORMAT_QUERY,
                 WAVERR_BADFORMAT,
                 false}),
    [](const auto& info) {
        std::string name = info.param.what;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST(SimulatedWaveDriver, SecondOpenOfADeviceIsBusyUntilTheFirstIsGone) {
    SimulatedWaveDriver driver;
    driver.addDevice(WaveDirection::playback, {});
    std::unique_ptr<WaveStream> first;
    std::unique_ptr<WaveStream> second;
    ASSERT_EQ(driver.open({WaveDirection::playback, 0, kCd}, first), MMSYSERR_NOERROR);
    EXPECT_EQ(driver.open({WaveDirection::playback, 0, kCd}, second), MMSYSERR_ALLOCATED);
    EXPECT_EQ(driver.errorText(MMSYSERR_ALLOCATED), "device already allocated");
    first.reset();
    EXPECT_EQ(driver.open({WaveDirection::playback, 0, kCd}, second), MMSYSERR_NOERROR);
}

TEST(SimulatedWaveDriver, MapperWithoutDevicesHasNoDriver) {
    SimulatedWaveDriver driver;
    std::unique_ptr<WaveStream> stream;
    EXPECT_EQ(driver.open({WaveDirection::capture, WAVE_MAPPER, kCd}, stream), MMSYSERR_NODRIVER);
}

TEST(WaveDriverRegistry, InstalledDriverIsUsedUntilRemoved) {
    auto simulated = std::make_shared<SimulatedWaveDriver>();
    {
        ScopedWaveDriver scoped(simulated);
        EXPECT_EQ(waveDriver(), simulated);
    }
    EXPECT_EQ(waveDriver()->name(), "alsa");
}

TEST(WaveResultText, NamesTheLayersCodes) {
    EXPECT_EQ(waveResultText(WAVERR_BADFORMAT), "unsupported wave format");
    EXPECT_EQ(waveResultText(MMSYSERR_BADDEVICEID), "device ID out of range");
    EXPECT_EQ(waveResultText(MMSYSERR_NODRIVER), "no device driver present");
    EXPECT_EQ(waveResultText(999), "");
}

TEST(CutProductName, KeepsAtMost31CharactersWithoutSplittingOne) {
    EXPECT_EQ(cutProductName("short"), "short");
    const std::string accented = "\xC3\xA9";  // one character, two bytes
    std::string name;
    for (int i = 0; i < 40; ++i) {
        name += accented;
    }
    std::string expected;
    for (int i = 0; i < 31; ++i) {
        expected += accented;
    }
    EXPECT_EQ(cutProductName(name), expected);
}

}  // namespace
}  // namespace platform
