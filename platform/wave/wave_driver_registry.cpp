#include <mutex>

#include "platform/wave/alsa_wave_driver.h"
#include "platform/wave/wave_driver.h"

namespace platform {
namespace {

struct Registry {
    std::mutex mutex;
    std::shared_ptr<WaveDriver> installed;
    std::shared_ptr<WaveDriver> alsa;
};

Registry& registry() {
    static Registry instance;
    return instance;
}

}  // namespace

std::shared_ptr<WaveDriver> waveDriver() {
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    if (r.installed) {
        return r.installed;
    }
    if (!r.alsa) {
        r.alsa = makeAlsaWaveDriver();
    }
    return r.alsa;
}

void setWaveDriver(std::shared_ptr<WaveDriver> driver) {
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    r.installed = std::move(driver);
}

}  // namespace platform
