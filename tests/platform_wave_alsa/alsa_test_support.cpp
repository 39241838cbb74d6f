#include "alsa_test_support.h"

#include <cstdlib>

namespace platform::testing {

bool insidePulseStack() {
    const char* flag = std::getenv("QV_PULSE_STACK");
    return flag != nullptr && std::string(flag) == "1";
}

int findDevice(WaveDriver& driver, WaveDirection direction, const std::string& name) {
    const int count = driver.deviceCount(direction);
    for (int id = 0; id < count; ++id) {
        WaveDeviceCaps caps;
        if (driver.deviceCaps(direction, id, caps) == MMSYSERR_NOERROR &&
            caps.productName == name) {
            return id;
        }
    }
    return -2;
}

std::shared_ptr<AlsaWaveDriver> makeStackDriver() {
    return std::make_shared<AlsaWaveDriver>(std::vector<std::string>{
        "pulse", "radio", "radio_monitor", "tv", "tv_monitor", "no_server"});
}

}  // namespace platform::testing
