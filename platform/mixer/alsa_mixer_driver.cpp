#include "platform/mixer/alsa_mixer_driver.h"

#include <alsa/asoundlib.h>

#include <utility>

#include "platform/mixer/alsa_capture_devices.h"
#include "platform/mixer/alsa_mixer_device.h"
#include "platform/mixer/alsa_mixer_watcher.h"

namespace qv::platform {

namespace {

// A connection without a callback: nothing to watch.
class QuietConnection : public MixerConnection {
  public:
    MixerResult close() override { return mixer_result::ok; }
};

class AlsaMixerDriver : public MixerDriver {
  public:
    AlsaMixerDriver(const std::vector<std::string>& ctlNames,
                    std::vector<AlsaCaptureDevice> captureDevices)
        : captureDevices_(std::move(captureDevices)) {
        for (const std::string& ctlName : ctlNames) {
            if (auto device = AlsaMixerDevice::open(ctlName)) {
                devices_.push_back(std::move(device));
            }
        }
    }

    unsigned mixerCount() override { return static_cast<unsigned>(devices_.size()); }

    MixerResult getCaps(unsigned mixer, MixerCaps& caps) override {
        AlsaMixerDevice* device = find(mixer);
        if (device == nullptr) {
            return mixer_result::badDeviceId;
        }
        caps = MixerCaps{};
        caps.productId = static_cast<std::uint16_t>(device->card() < 0 ? 0 : device->card());
        caps.driverVersion = SND_LIB_VERSION;
        caps.productName = device->name();
        caps.destinationCount = static_cast<std::uint32_t>(device->layout().destinations.size());
        return mixer_result::ok;
    }

    MixerResult getDestination(unsigned mixer, unsigned destination, MixerLineInfo& line) override {
        AlsaMixerDevice* device = find(mixer);
        if (device == nullptr) {
            return mixer_result::badDeviceId;
        }
        if (destination >= device->layout().destinations.size()) {
            return mixer_result::invalidLine;
        }
        line = device->layout().destinations[destination].info;
        return mixer_result::ok;
    }

    MixerResult getSource(unsigned mixer, unsigned destination, unsigned source,
                          MixerLineInfo& line) override {
        AlsaMixerDevice* device = find(mixer);
        if (device == nullptr) {
            return mixer_result::badDeviceId;
        }
        const AlsaMixerLayout& layout = device->layout();
        if (destination >= layout.sources.size() || source >= layout.sources[destination].size()) {
            return mixer_result::invalidLine;
        }
        line = layout.sources[destination][source].info;
        return mixer_result::ok;
    }

    MixerResult getLineControls(unsigned mixer, std::uint32_t lineId,
                                std::vector<MixerControlInfo>& controls) override {
        AlsaMixerDevice* device = find(mixer);
        if (device == nullptr) {
            return mixer_result::badDeviceId;
        }
        const AlsaLine* line = device->layout().line(lineId);
        if (line == nullptr) {
            return mixer_result::invalidLine;
        }
        controls.clear();
        for (unsigned position : line->controls) {
            controls.push_back(device->layout().controls[position].info);
        }
        return mixer_result::ok;
    }

    MixerResult getListTexts(unsigned mixer, const MixerValueRange& range,
                             std::vector<MixerListText>& texts) override {
        const AlsaControl* control = findControl(mixer, range);
        if (control == nullptr || control->texts.empty()) {
            return mixer_result::invalidControl;
        }
        texts.clear();
        for (unsigned c = 0; c < range.channels; ++c) {
            texts.insert(texts.end(), control->texts.begin(), control->texts.end());
        }
        return mixer_result::ok;
    }

    MixerResult getValues(unsigned mixer, const MixerValueRange& range,
                          std::vector<std::uint32_t>& values) override {
        const AlsaControl* control = findControl(mixer, range);
        if (control == nullptr) {
            return mixer_result::invalidControl;
        }
        return devices_[mixer]->read(*control, range, values);
    }

    MixerResult setValues(unsigned mixer, const MixerValueRange& range,
                          const std::vector<std::uint32_t>& values) override {
        const AlsaControl* control = findControl(mixer, range);
        if (control == nullptr || values.size() != range.valueCount()) {
            return mixer_result::invalidControl;
        }
        return devices_[mixer]->write(*control, range, values);
    }

    MixerResult mixerIdOfMixer(unsigned mixer, unsigned& id) override {
        if (find(mixer) == nullptr) {
            return mixer_result::badDeviceId;
        }
        id = mixer;
        return mixer_result::ok;
    }

    // A card's capture device belongs to the card's mixer; a sound server's to
    // the mixer opened on the control device of the same name.
    MixerResult mixerIdOfCaptureDevice(unsigned captureDevice, unsigned& id) override {
        if (captureDevice >= captureDevices_.size()) {
            return mixer_result::badDeviceId;
        }
        const AlsaCaptureDevice& capture = captureDevices_[captureDevice];
        for (unsigned m = 0; m < devices_.size(); ++m) {
            const AlsaMixerDevice& device = *devices_[m];
            const bool same = capture.card >= 0
                                  ? device.card() == capture.card
                                  : device.card() < 0 && device.ctlName() == capture.pcmName;
            if (same) {
                id = m;
                return mixer_result::ok;
            }
        }
        return mixer_result::noDriver;
    }

    unsigned captureDeviceCount() override { return static_cast<unsigned>(captureDevices_.size()); }

    MixerResult open(unsigned mixer, MixerChangeCallback callback,
                     std::unique_ptr<MixerConnection>& connection) override {
        AlsaMixerDevice* device = find(mixer);
        if (device == nullptr) {
            return mixer_result::badDeviceId;
        }
        if (!callback) {
            connection = std::make_unique<QuietConnection>();
            return mixer_result::ok;
        }
        auto watcher = AlsaMixerWatcher::start(*device, std::move(callback));
        if (!watcher) {
            return mixer_result::noDriver;
        }
        connection = std::move(watcher);
        return mixer_result::ok;
    }

  private:
    AlsaMixerDevice* find(unsigned mixer) {
        return mixer < devices_.size() ? devices_[mixer].get() : nullptr;
    }

    const AlsaControl* findControl(unsigned mixer, const MixerValueRange& range) {
        AlsaMixerDevice* device = find(mixer);
        if (device == nullptr) {
            return nullptr;
        }
        const AlsaControl* control = device->layout().control(range.controlId);
        if (control == nullptr || range.items != control->info.multipleItems) {
            return nullptr;
        }
        return control;
    }

    std::vector<std::unique_ptr<AlsaMixerDevice>> devices_;
    std::vector<AlsaCaptureDevice> captureDevices_;
};

std::vector<std::string> cardControlNames() {
    std::vector<std::string> names;
    int card = -1;
    while (snd_card_next(&card) == 0 && card >= 0) {
        names.push_back("hw:" + std::to_string(card));
    }
    return names;
}

}  // namespace

std::unique_ptr<MixerDriver> makeAlsaMixerDriver() {
    std::vector<AlsaCaptureDevice> captureDevices = listAlsaCaptureDevices();
    std::vector<std::string> names = cardControlNames();
    for (const AlsaCaptureDevice& capture : captureDevices) {
        if (capture.card < 0) {
            names.push_back(capture.pcmName);
        }
    }
    return std::make_unique<AlsaMixerDriver>(names, std::move(captureDevices));
}

std::unique_ptr<MixerDriver> makeAlsaMixerDriver(const std::vector<std::string>& ctlNames) {
    return std::make_unique<AlsaMixerDriver>(ctlNames, listAlsaCaptureDevices());
}

}  // namespace qv::platform
