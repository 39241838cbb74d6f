#include "app/headless/wave_driver_choice.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/wave/simulated_wave_driver.h"

void chooseWaveDriverFromEnvironment() {
    const char* choice = std::getenv("QUILLANVERO_WAVE_DRIVER");
    if (choice == nullptr || std::strcmp(choice, "simulated") != 0) {
        return;
    }
    auto driver = std::make_shared<platform::SimulatedWaveDriver>();
    platform::SimulatedDeviceConfig radio;
    radio.name = "Simulated radio";
    radio.signal = platform::makeSine(440.0, 8000);
    driver->addDevice(platform::WaveDirection::capture, radio);
    platform::SimulatedDeviceConfig tv;
    tv.name = "Simulated speakers";
    driver->addDevice(platform::WaveDirection::playback, tv);
    platform::setWaveDriver(driver);
}

bool soundDevicesUsable() {
    const auto driver = platform::waveDriver();
    for (auto direction : {platform::WaveDirection::capture, platform::WaveDirection::playback}) {
        platform::WaveOpenRequest request;
        request.direction = direction;
        request.flags = platform::WAVE_FORMAT_QUERY;
        std::unique_ptr<platform::WaveStream> none;
        if (driver->open(request, none) != platform::MMSYSERR_NOERROR) {
            return false;
        }
    }
    return true;
}
