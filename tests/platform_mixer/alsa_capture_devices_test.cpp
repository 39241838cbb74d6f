#include "platform/mixer/alsa_capture_devices.h"

#include <gtest/gtest.h>

using namespace qv::platform;

namespace {

int cardIndex(const std::string& id) {
    if (id == "PCH") {
        return 0;
    }
    if (id == "Device") {
        return 1;
    }
    return -1;
}

TEST(AlsaCaptureDevices, CardDevicesInHintOrderThenSoundServers) {
    const std::vector<AlsaPcmHint> hints{
        {"null", "Discard all samples", ""},
        {"pipewire", "PipeWire", ""},
        {"default", "Default", ""},
        {"pulse", "PulseAudio", ""},
        {"sysdefault:CARD=PCH", "HDA Intel PCH", ""},
        {"hw:CARD=PCH,DEV=0", "HDA Intel PCH, ALC", ""},
        {"plughw:CARD=PCH,DEV=0", "HDA Intel PCH, ALC", ""},
        {"hw:CARD=PCH,DEV=3", "HDA Intel PCH, HDMI 0", "Output"},
        {"hw:CARD=Device,DEV=0", "USB Audio Device", "Input"},
        {"dsnoop:CARD=Device,DEV=0", "USB Audio Device", "Input"},
    };
    const std::vector<AlsaCaptureDevice> devices = orderCaptureDevices(hints, cardIndex);

    ASSERT_EQ(devices.size(), 4u);
    EXPECT_EQ(devices[0].pcmName, "plughw:CARD=PCH,DEV=0");
    EXPECT_EQ(devices[0].card, 0);
    EXPECT_EQ(devices[0].device, 0);
    EXPECT_EQ(devices[1].pcmName, "plughw:CARD=Device,DEV=0");
    EXPECT_EQ(devices[1].card, 1);
    EXPECT_EQ(devices[2].pcmName, "pulse");
    EXPECT_EQ(devices[2].card, -1);
    EXPECT_EQ(devices[3].pcmName, "pipewire");
}

TEST(AlsaCaptureDevices, PlaybackOnlyServersAreLeftOut) {
    const std::vector<AlsaPcmHint> hints{{"pulse", "PulseAudio", "Output"},
                                         {"hw:CARD=PCH", "no device number", ""}};
    const std::vector<AlsaCaptureDevice> devices = orderCaptureDevices(hints, cardIndex);
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0].pcmName, "plughw:CARD=PCH,DEV=0");
}

}  // namespace
