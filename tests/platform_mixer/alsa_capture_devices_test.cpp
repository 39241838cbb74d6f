#include "platform/mixer/alsa_capture_devices.h"

#include <gtest/gtest.h>

using namespace qv::platform;

namespace {

int cardIndex(const std::string& id) {
    return id == "PCH" ? 0 : id == "Device" ? 1 : -1;
}

TEST(AlsaCaptureDevices, CardComesFromTheDirectPcmName) {
    const struct {
        const char* name;
        int card;
    } cases[] = {
        {"hw:CARD=PCH,DEV=0", 0},
        {"hw:CARD=Device,DEV=2", 1},
        {"hw:CARD=Gone,DEV=0", -1},
        {"hw:CARD=PCH", 0},
        {"pulse", -1},
        {"hw:CARD=,DEV=0", -1},
        {"plughw:CARD=PCH,DEV=0", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cardOfDirectPcm(c.name, cardIndex), c.card) << c.name;
    }
}

}  // namespace
