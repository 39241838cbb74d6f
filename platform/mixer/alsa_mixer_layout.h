#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/mixer/mixer_types.h"

namespace qv::platform {

// What the ALSA simple mixer API tells about one element.
struct AlsaElement {
    std::string name;
    unsigned index = 0;
    bool playbackVolume = false;
    bool playbackSwitch = false;
    bool captureVolume = false;
    bool captureSwitch = false;
    // 1 for mono elements, else 2 (left and right; further channels follow the right one).
    unsigned playbackChannels = 2;
    unsigned captureChannels = 2;
    bool playbackVolumeJoined = false;
    bool playbackSwitchJoined = false;
    bool captureVolumeJoined = false;
    bool captureSwitchJoined = false;
    // An enumerated element that chooses the capture source, and its item names.
    bool captureSource = false;
    std::vector<std::string> sourceNames;
};

enum class AlsaControlRole {
    playbackVolume,
    playbackMute,
    captureVolume,
    captureMute,
    // One item per enumerated capture source; exactly one is selected.
    captureSourceMux,
    // One item per capture element with its own capture switch.
    captureSwitchList,
};

struct AlsaControl {
    MixerControlInfo info;
    AlsaControlRole role = AlsaControlRole::playbackVolume;
    // Position in AlsaMixerLayout::elements.
    unsigned element = 0;
    // captureSwitchList: the element of each item.
    std::vector<unsigned> itemElements;
    std::vector<MixerListText> texts;
    // Channels the control has of its own (1 when uniform).
    unsigned channels = 1;
};

struct AlsaLine {
    MixerLineInfo info;
    // Positions in AlsaMixerLayout::controls.
    std::vector<unsigned> controls;
};

// How one ALSA mixer appears as a mixer device: destination 0 is the speakers
// line (its own controls are Master's), whose sources are the other playback
// elements; destination 1 is the recording line, whose sources are the capture
// elements, followed by one line per capture-source item that names no element.
struct AlsaMixerLayout {
    static constexpr std::size_t playbackDestination = 0;
    static constexpr std::size_t recordingDestination = 1;

    std::vector<AlsaElement> elements;
    std::vector<AlsaLine> destinations;
    std::vector<std::vector<AlsaLine>> sources;
    // Control ID n is controls[n - 1].
    std::vector<AlsaControl> controls;

    const AlsaControl* control(std::uint32_t controlId) const;
    const AlsaLine* line(std::uint32_t lineId) const;
    // IDs of the controls whose values live in that element.
    std::vector<std::uint32_t> controlsOfElement(unsigned element) const;
    // Position of the element with that name and index, or -1.
    int findElement(std::string_view name, unsigned index) const;
};

AlsaMixerLayout buildAlsaMixerLayout(std::vector<AlsaElement> elements);

// Component type of a source line from its element's name ("Mic" → microphone).
std::uint32_t sourceTypeFromName(std::string_view name);

// The fader's 0..65535 onto an element's own range, and back; both round to nearest.
long faderToElement(std::uint32_t fader, long minimum, long maximum);
std::uint32_t elementToFader(long value, long minimum, long maximum);

}  // namespace qv::platform
