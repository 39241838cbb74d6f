#include "platform/mixer/alsa_mixer_layout.h"

#include <algorithm>
#include <array>
#include <utility>

namespace qv::platform {

namespace {

constexpr std::uint32_t kFaderMaximum = 65535;

std::uint32_t destinationLineId(std::size_t destination) {
    return 0xFFFF0000u | static_cast<std::uint32_t>(destination);
}
std::uint32_t sourceLineId(std::size_t destination, std::size_t source) {
    return static_cast<std::uint32_t>((destination << 16) | source);
}

bool containsWord(std::string_view text, std::string_view word) {
    return text.find(word) != std::string_view::npos;
}

class LayoutBuilder {
  public:
    explicit LayoutBuilder(std::vector<AlsaElement> elements) {
        layout_.elements = std::move(elements);
    }

    AlsaMixerLayout build() {
        buildPlayback();
        buildRecording();
        return std::move(layout_);
    }

  private:
    const AlsaElement& element(unsigned position) const { return layout_.elements[position]; }

    unsigned addControl(AlsaControl control) {
        control.info.controlId = static_cast<std::uint32_t>(layout_.controls.size() + 1);
        if (control.channels == 1) {
            control.info.flags |= control_flag::uniform;
        }
        layout_.controls.push_back(std::move(control));
        return static_cast<unsigned>(layout_.controls.size() - 1);
    }

    void addVolumeAndMute(AlsaLine& line, unsigned position, bool playback) {
        const AlsaElement& e = element(position);
        const bool hasVolume = playback ? e.playbackVolume : e.captureVolume;
        const bool hasSwitch = playback ? e.playbackSwitch : e.captureSwitch;
        const unsigned channels = playback ? e.playbackChannels : e.captureChannels;
        if (hasVolume) {
            AlsaControl volume;
            volume.role =
                playback ? AlsaControlRole::playbackVolume : AlsaControlRole::captureVolume;
            volume.element = position;
            volume.channels =
                (playback ? e.playbackVolumeJoined : e.captureVolumeJoined) ? 1 : channels;
            volume.info.type = control_type::volume;
            volume.info.name = e.name + " Volume";
            volume.info.minimum = 0;
            volume.info.maximum = static_cast<std::int32_t>(kFaderMaximum);
            volume.info.steps = kFaderMaximum + 1;
            line.controls.push_back(addControl(std::move(volume)));
        }
        if (hasSwitch) {
            AlsaControl mute;
            mute.role = playback ? AlsaControlRole::playbackMute : AlsaControlRole::captureMute;
            mute.element = position;
            mute.channels =
                (playback ? e.playbackSwitchJoined : e.captureSwitchJoined) ? 1 : channels;
            mute.info.type = control_type::mute;
            mute.info.name = e.name + " Mute";
            mute.info.minimum = 0;
            mute.info.maximum = 1;
            mute.info.steps = 2;
            line.controls.push_back(addControl(std::move(mute)));
        }
    }

    AlsaLine sourceLine(std::size_t destination, std::size_t source, const std::string& name,
                        unsigned channels) const {
        AlsaLine line;
        line.info.destination = static_cast<std::uint32_t>(destination);
        line.info.source = static_cast<std::uint32_t>(source);
        line.info.lineId = sourceLineId(destination, source);
        line.info.flags = line_flag::active | line_flag::source;
        line.info.componentType = sourceTypeFromName(name);
        line.info.channels = channels;
        line.info.shortName = name.substr(0, 15);
        line.info.name = name;
        return line;
    }

    AlsaLine destinationLine(std::size_t destination, const std::string& name,
                             std::uint32_t componentType, std::uint32_t targetType,
                             unsigned channels) const {
        AlsaLine line;
        line.info.destination = static_cast<std::uint32_t>(destination);
        line.info.lineId = destinationLineId(destination);
        line.info.flags = line_flag::active;
        line.info.componentType = componentType;
        line.info.target.type = targetType;
        line.info.channels = channels;
        line.info.shortName = name;
        line.info.name = name;
        return line;
    }

    void finishLine(AlsaLine& line) {
        line.info.controls = static_cast<std::uint32_t>(line.controls.size());
    }

    void buildPlayback() {
        const int master = layout_.findElement("Master", 0);
        const unsigned channels =
            master >= 0 ? element(static_cast<unsigned>(master)).playbackChannels : 2;
        AlsaLine destination =
            destinationLine(AlsaMixerLayout::playbackDestination, "Playback",
                            component_type::speakers, target_type::waveOut, channels);
        if (master >= 0) {
            addVolumeAndMute(destination, static_cast<unsigned>(master), true);
        }
        std::vector<AlsaLine> sources;
        for (unsigned e = 0; e < layout_.elements.size(); ++e) {
            const AlsaElement& candidate = element(e);
            if (static_cast<int>(e) == master ||
                !(candidate.playbackVolume || candidate.playbackSwitch)) {
                continue;
            }
            AlsaLine line = sourceLine(AlsaMixerLayout::playbackDestination, sources.size(),
                                       candidate.name, candidate.playbackChannels);
            addVolumeAndMute(line, e, true);
            finishLine(line);
            sources.push_back(std::move(line));
        }
        destination.info.connections = static_cast<std::uint32_t>(sources.size());
        finishLine(destination);
        layout_.destinations.push_back(std::move(destination));
        layout_.sources.push_back(std::move(sources));
    }

    void buildRecording() {
        constexpr std::size_t d = AlsaMixerLayout::recordingDestination;
        AlsaLine destination =
            destinationLine(d, "Recording", component_type::waveIn, target_type::waveIn, 2);
        std::vector<AlsaLine> sources;
        std::vector<unsigned> sourceElements;  // element of each source line, while they last
        std::vector<unsigned> switchedSources;
        for (unsigned e = 0; e < layout_.elements.size(); ++e) {
            const AlsaElement& candidate = element(e);
            if (!(candidate.captureVolume || candidate.captureSwitch)) {
                continue;
            }
            AlsaLine line =
                sourceLine(d, sources.size(), candidate.name, candidate.captureChannels);
            addVolumeAndMute(line, e, false);
            finishLine(line);
            if (candidate.captureSwitch) {
                switchedSources.push_back(static_cast<unsigned>(sources.size()));
            }
            sources.push_back(std::move(line));
            sourceElements.push_back(e);
        }

        const auto selector = std::find_if(layout_.elements.begin(), layout_.elements.end(),
                                           [](const AlsaElement& e) { return e.captureSource; });
        if (selector != layout_.elements.end()) {
            AlsaControl mux;
            mux.role = AlsaControlRole::captureSourceMux;
            mux.element = static_cast<unsigned>(selector - layout_.elements.begin());
            mux.info.type = control_type::mux;
            mux.info.flags = control_flag::multiple;
            mux.info.name = selector->name;
            for (const std::string& item : selector->sourceNames) {
                auto named = std::find_if(sources.begin(), sources.end(),
                                          [&](const AlsaLine& l) { return l.info.name == item; });
                if (named == sources.end()) {
                    // A source that only the selector knows: a line without controls.
                    sources.push_back(sourceLine(d, sources.size(), item, 2));
                    named = sources.end() - 1;
                }
                mux.texts.push_back({named->info.lineId, named->info.componentType, item});
            }
            finishMultiple(mux);
            destination.controls.push_back(addControl(std::move(mux)));
        } else if (!switchedSources.empty()) {
            AlsaControl list;
            list.role = AlsaControlRole::captureSwitchList;
            list.info.type = control_type::mixer;
            list.info.flags = control_flag::multiple;
            list.info.name = "Capture Switches";
            for (unsigned s : switchedSources) {
                list.itemElements.push_back(sourceElements[s]);
                list.texts.push_back(
                    {sources[s].info.lineId, sources[s].info.componentType, sources[s].info.name});
            }
            finishMultiple(list);
            destination.controls.push_back(addControl(std::move(list)));
        }
        destination.info.connections = static_cast<std::uint32_t>(sources.size());
        finishLine(destination);
        layout_.destinations.push_back(std::move(destination));
        layout_.sources.push_back(std::move(sources));
    }

    static void finishMultiple(AlsaControl& control) {
        control.channels = 1;
        control.info.multipleItems = static_cast<std::uint32_t>(control.texts.size());
        control.info.minimum = 0;
        control.info.maximum = static_cast<std::int32_t>(control.texts.size()) - 1;
        control.info.steps = static_cast<std::uint32_t>(control.texts.size());
    }

    AlsaMixerLayout layout_;
};

}  // namespace

const AlsaControl* AlsaMixerLayout::control(std::uint32_t controlId) const {
    if (controlId == 0 || controlId > controls.size()) {
        return nullptr;
    }
    return &controls[controlId - 1];
}

const AlsaLine* AlsaMixerLayout::line(std::uint32_t lineId) const {
    for (std::size_t d = 0; d < destinations.size(); ++d) {
        if (destinations[d].info.lineId == lineId) {
            return &destinations[d];
        }
        for (const AlsaLine& source : sources[d]) {
            if (source.info.lineId == lineId) {
                return &source;
            }
        }
    }
    return nullptr;
}

std::vector<std::uint32_t> AlsaMixerLayout::controlsOfElement(unsigned element) const {
    std::vector<std::uint32_t> ids;
    for (const AlsaControl& c : controls) {
        const bool uses = c.role == AlsaControlRole::captureSwitchList
                              ? std::find(c.itemElements.begin(), c.itemElements.end(), element) !=
                                    c.itemElements.end()
                              : c.element == element;
        if (uses) {
            ids.push_back(c.info.controlId);
        }
    }
    return ids;
}

int AlsaMixerLayout::findElement(std::string_view name, unsigned index) const {
    for (std::size_t e = 0; e < elements.size(); ++e) {
        if (elements[e].name == name && elements[e].index == index) {
            return static_cast<int>(e);
        }
    }
    return -1;
}

AlsaMixerLayout buildAlsaMixerLayout(std::vector<AlsaElement> elements) {
    return LayoutBuilder(std::move(elements)).build();
}

std::uint32_t sourceTypeFromName(std::string_view name) {
    // Checked in order: "Mic" wins over "Line" in a name like "Line Mic".
    static constexpr std::array<std::pair<std::string_view, std::uint32_t>, 12> kWords{{
        {"Mic", component_type::sourceMicrophone},
        {"Line", component_type::sourceLine},
        {"CD", component_type::sourceCompactDisc},
        {"PCM", component_type::sourceWaveOut},
        {"Wave", component_type::sourceWaveOut},
        {"Synth", component_type::sourceSynthesizer},
        {"MIDI", component_type::sourceSynthesizer},
        {"Beep", component_type::sourcePcSpeaker},
        {"Speaker", component_type::sourcePcSpeaker},
        {"Phone", component_type::sourceTelephone},
        {"Aux", component_type::sourceAuxiliary},
        {"IEC958", component_type::sourceDigital},
    }};
    for (const auto& [word, type] : kWords) {
        if (containsWord(name, word)) {
            return type;
        }
    }
    return component_type::sourceUndefined;
}

long faderToElement(std::uint32_t fader, long minimum, long maximum) {
    if (maximum <= minimum) {
        return minimum;
    }
    const long long span = static_cast<long long>(maximum) - minimum;
    const long long clamped = std::min<long long>(fader, kFaderMaximum);
    return static_cast<long>(minimum + (clamped * span + kFaderMaximum / 2) / kFaderMaximum);
}

std::uint32_t elementToFader(long value, long minimum, long maximum) {
    if (maximum <= minimum) {
        return 0;
    }
    const long long span = static_cast<long long>(maximum) - minimum;
    const long long offset =
        std::clamp<long long>(static_cast<long long>(value) - minimum, 0, span);
    return static_cast<std::uint32_t>((offset * kFaderMaximum + span / 2) / span);
}

}  // namespace qv::platform
