#pragma once

#include <alsa/asoundlib.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/mixer/alsa_mixer_layout.h"

namespace qv::platform {

// One ALSA simple mixer opened, non-blocking, on a control device ("hw:0",
// "pulse"). Not thread-safe: one thread at a time. Private to this folder.
class AlsaMixerHandle {
  public:
    // None when the control device cannot be opened or loaded.
    static std::unique_ptr<AlsaMixerHandle> open(const std::string& ctlName);
    ~AlsaMixerHandle();
    AlsaMixerHandle(const AlsaMixerHandle&) = delete;
    AlsaMixerHandle& operator=(const AlsaMixerHandle&) = delete;

    const std::string& cardName() const { return cardName_; }
    // Card number of a hardware control device, -1 for a plug-in such as "pulse".
    int card() const { return card_; }
    // The active elements, in ALSA's order; positions match elementHandles().
    const std::vector<AlsaElement>& elements() const { return elements_; }
    snd_mixer_elem_t* elementHandle(unsigned position) const { return handles_[position]; }
    snd_mixer_t* mixer() const { return mixer_; }

    // Takes in the changes queued by the device so that reads see fresh values.
    void takePendingEvents();

    // Values of a control of a layout built from elements().
    MixerResult read(const AlsaControl& control, const MixerValueRange& range,
                     std::vector<std::uint32_t>& values);
    MixerResult write(const AlsaControl& control, const MixerValueRange& range,
                      const std::vector<std::uint32_t>& values);

  private:
    AlsaMixerHandle() = default;
    void describeElements();

    snd_mixer_t* mixer_ = nullptr;
    std::string cardName_;
    int card_ = -1;
    std::vector<AlsaElement> elements_;
    std::vector<snd_mixer_elem_t*> handles_;
};

}  // namespace qv::platform
