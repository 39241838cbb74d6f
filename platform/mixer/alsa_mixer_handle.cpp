#include "platform/mixer/alsa_mixer_handle.h"

#include <algorithm>
#include <array>

namespace qv::platform {

namespace {

constexpr unsigned kEnumNameLength = 64;

unsigned channelCount(bool mono) {
    return mono ? 1 : 2;
}

// Channel 0 is the left (or only) channel; channel 1 stands for all the others.
std::vector<snd_mixer_selem_channel_id_t> alsaChannels(snd_mixer_elem_t* elem, bool playback,
                                                       unsigned channel) {
    if (channel == 0) {
        return {SND_MIXER_SCHN_FRONT_LEFT};
    }
    std::vector<snd_mixer_selem_channel_id_t> others;
    for (int c = SND_MIXER_SCHN_FRONT_RIGHT; c <= SND_MIXER_SCHN_LAST; ++c) {
        const auto id = static_cast<snd_mixer_selem_channel_id_t>(c);
        const bool present = playback ? snd_mixer_selem_has_playback_channel(elem, id)
                                      : snd_mixer_selem_has_capture_channel(elem, id);
        if (present) {
            others.push_back(id);
        }
    }
    return others;
}

snd_mixer_selem_channel_id_t readChannel(snd_mixer_elem_t* elem, bool playback, unsigned channel) {
    const auto channels = alsaChannels(elem, playback, channel);
    return channels.empty() ? SND_MIXER_SCHN_FRONT_LEFT : channels.front();
}

struct VolumeAccess {
    bool playback;

    int range(snd_mixer_elem_t* e, long& min, long& max) const {
        return playback ? snd_mixer_selem_get_playback_volume_range(e, &min, &max)
                        : snd_mixer_selem_get_capture_volume_range(e, &min, &max);
    }
    int get(snd_mixer_elem_t* e, snd_mixer_selem_channel_id_t c, long& v) const {
        return playback ? snd_mixer_selem_get_playback_volume(e, c, &v)
                        : snd_mixer_selem_get_capture_volume(e, c, &v);
    }
    int set(snd_mixer_elem_t* e, snd_mixer_selem_channel_id_t c, long v) const {
        return playback ? snd_mixer_selem_set_playback_volume(e, c, v)
                        : snd_mixer_selem_set_capture_volume(e, c, v);
    }
    int setAll(snd_mixer_elem_t* e, long v) const {
        return playback ? snd_mixer_selem_set_playback_volume_all(e, v)
                        : snd_mixer_selem_set_capture_volume_all(e, v);
    }
};

struct SwitchAccess {
    bool playback;

    int get(snd_mixer_elem_t* e, snd_mixer_selem_channel_id_t c, int& on) const {
        return playback ? snd_mixer_selem_get_playback_switch(e, c, &on)
                        : snd_mixer_selem_get_capture_switch(e, c, &on);
    }
    int set(snd_mixer_elem_t* e, snd_mixer_selem_channel_id_t c, int on) const {
        return playback ? snd_mixer_selem_set_playback_switch(e, c, on)
                        : snd_mixer_selem_set_capture_switch(e, c, on);
    }
    int setAll(snd_mixer_elem_t* e, int on) const {
        return playback ? snd_mixer_selem_set_playback_switch_all(e, on)
                        : snd_mixer_selem_set_capture_switch_all(e, on);
    }
};

bool isPlaybackRole(AlsaControlRole role) {
    return role == AlsaControlRole::playbackVolume || role == AlsaControlRole::playbackMute;
}

// Index into the values of (channel c, item i), as the mixer layer lays them out.
std::size_t valueIndex(const MixerValueRange& range, unsigned channel, unsigned item) {
    return range.items == 0 ? channel : item + std::size_t{channel} * range.items;
}

}  // namespace

std::unique_ptr<AlsaMixerHandle> AlsaMixerHandle::open(const std::string& ctlName) {
    std::unique_ptr<AlsaMixerHandle> handle(new AlsaMixerHandle());
    if (snd_mixer_open(&handle->mixer_, 0) < 0) {
        handle->mixer_ = nullptr;
        return nullptr;
    }
    snd_hctl_t* hctl = nullptr;
    if (snd_mixer_attach(handle->mixer_, ctlName.c_str()) < 0 ||
        snd_mixer_selem_register(handle->mixer_, nullptr, nullptr) < 0 ||
        snd_mixer_load(handle->mixer_) < 0 ||
        snd_mixer_get_hctl(handle->mixer_, ctlName.c_str(), &hctl) < 0) {
        return nullptr;
    }
    snd_hctl_nonblock(hctl, 1);

    snd_ctl_t* ctl = snd_hctl_ctl(hctl);
    snd_ctl_card_info_t* info = nullptr;
    snd_ctl_card_info_alloca(&info);
    if (snd_ctl_card_info(ctl, info) == 0) {
        handle->cardName_ = snd_ctl_card_info_get_name(info);
        if (snd_ctl_type(ctl) == SND_CTL_TYPE_HW) {
            handle->card_ = snd_ctl_card_info_get_card(info);
        }
    }
    if (handle->cardName_.empty()) {
        handle->cardName_ = ctlName;
    }
    handle->describeElements();
    return handle;
}

AlsaMixerHandle::~AlsaMixerHandle() {
    if (mixer_ != nullptr) {
        snd_mixer_close(mixer_);
    }
}

void AlsaMixerHandle::describeElements() {
    for (snd_mixer_elem_t* elem = snd_mixer_first_elem(mixer_); elem != nullptr;
         elem = snd_mixer_elem_next(elem)) {
        if (!snd_mixer_selem_is_active(elem)) {
            continue;
        }
        AlsaElement e;
        e.name = snd_mixer_selem_get_name(elem);
        e.index = snd_mixer_selem_get_index(elem);
        e.playbackVolume = snd_mixer_selem_has_playback_volume(elem);
        e.playbackSwitch = snd_mixer_selem_has_playback_switch(elem);
        // A common volume or switch serves both directions: show it once, as playback.
        e.captureVolume =
            snd_mixer_selem_has_capture_volume(elem) && !snd_mixer_selem_has_common_volume(elem);
        e.captureSwitch =
            snd_mixer_selem_has_capture_switch(elem) && !snd_mixer_selem_has_common_switch(elem);
        e.playbackChannels = channelCount(snd_mixer_selem_is_playback_mono(elem));
        e.captureChannels = channelCount(snd_mixer_selem_is_capture_mono(elem));
        e.playbackVolumeJoined = snd_mixer_selem_has_playback_volume_joined(elem);
        e.playbackSwitchJoined = snd_mixer_selem_has_playback_switch_joined(elem);
        e.captureVolumeJoined = snd_mixer_selem_has_capture_volume_joined(elem);
        e.captureSwitchJoined = snd_mixer_selem_has_capture_switch_joined(elem);
        if (snd_mixer_selem_is_enumerated(elem) && snd_mixer_selem_is_enum_capture(elem)) {
            e.captureSource = true;
            const int items = snd_mixer_selem_get_enum_items(elem);
            for (int i = 0; i < items; ++i) {
                std::array<char, kEnumNameLength> name{};
                if (snd_mixer_selem_get_enum_item_name(elem, static_cast<unsigned>(i),
                                                       name.size() - 1, name.data()) < 0) {
                    name[0] = '\0';
                }
                e.sourceNames.emplace_back(name.data());
            }
        }
        elements_.push_back(std::move(e));
        handles_.push_back(elem);
    }
}

void AlsaMixerHandle::takePendingEvents() {
    snd_mixer_handle_events(mixer_);
}

MixerResult AlsaMixerHandle::read(const AlsaControl& control, const MixerValueRange& range,
                                  std::vector<std::uint32_t>& values) {
    values.assign(range.valueCount(), 0);
    const bool playback = isPlaybackRole(control.role);
    switch (control.role) {
        case AlsaControlRole::playbackVolume:
        case AlsaControlRole::captureVolume: {
            snd_mixer_elem_t* elem = handles_[control.element];
            const VolumeAccess access{playback};
            long min = 0;
            long max = 0;
            if (access.range(elem, min, max) < 0) {
                return mixer_result::error;
            }
            for (unsigned c = 0; c < range.channels; ++c) {
                const unsigned own = std::min(c, control.channels - 1);
                long value = 0;
                if (access.get(elem, readChannel(elem, playback, own), value) < 0) {
                    return mixer_result::error;
                }
                values[valueIndex(range, c, 0)] = elementToFader(value, min, max);
            }
            return mixer_result::ok;
        }
        case AlsaControlRole::playbackMute:
        case AlsaControlRole::captureMute: {
            snd_mixer_elem_t* elem = handles_[control.element];
            const SwitchAccess access{playback};
            for (unsigned c = 0; c < range.channels; ++c) {
                const unsigned own = std::min(c, control.channels - 1);
                int on = 0;
                if (access.get(elem, readChannel(elem, playback, own), on) < 0) {
                    return mixer_result::error;
                }
                values[valueIndex(range, c, 0)] = on ? 0 : 1;
            }
            return mixer_result::ok;
        }
        case AlsaControlRole::captureSourceMux: {
            unsigned selected = 0;
            if (snd_mixer_selem_get_enum_item(handles_[control.element], SND_MIXER_SCHN_MONO,
                                              &selected) < 0) {
                return mixer_result::error;
            }
            for (unsigned c = 0; c < range.channels; ++c) {
                for (unsigned i = 0; i < range.items; ++i) {
                    values[valueIndex(range, c, i)] = i == selected ? 1 : 0;
                }
            }
            return mixer_result::ok;
        }
        case AlsaControlRole::captureSwitchList: {
            for (unsigned i = 0; i < range.items && i < control.itemElements.size(); ++i) {
                int on = 0;
                if (snd_mixer_selem_get_capture_switch(handles_[control.itemElements[i]],
                                                       SND_MIXER_SCHN_FRONT_LEFT, &on) < 0) {
                    return mixer_result::error;
                }
                for (unsigned c = 0; c < range.channels; ++c) {
                    values[valueIndex(range, c, i)] = on ? 1 : 0;
                }
            }
            return mixer_result::ok;
        }
    }
    return mixer_result::invalidControl;
}

MixerResult AlsaMixerHandle::write(const AlsaControl& control, const MixerValueRange& range,
                                   const std::vector<std::uint32_t>& values) {
    const bool playback = isPlaybackRole(control.role);
    const unsigned channels = std::min(range.channels, control.channels);
    int failed = 0;
    switch (control.role) {
        case AlsaControlRole::playbackVolume:
        case AlsaControlRole::captureVolume: {
            snd_mixer_elem_t* elem = handles_[control.element];
            const VolumeAccess access{playback};
            long min = 0;
            long max = 0;
            if (access.range(elem, min, max) < 0) {
                return mixer_result::error;
            }
            if (control.channels == 1) {
                failed |= access.setAll(elem, faderToElement(values[0], min, max));
                break;
            }
            for (unsigned c = 0; c < channels; ++c) {
                const long value = faderToElement(values[valueIndex(range, c, 0)], min, max);
                for (snd_mixer_selem_channel_id_t id : alsaChannels(elem, playback, c)) {
                    failed |= access.set(elem, id, value);
                }
            }
            break;
        }
        case AlsaControlRole::playbackMute:
        case AlsaControlRole::captureMute: {
            snd_mixer_elem_t* elem = handles_[control.element];
            const SwitchAccess access{playback};
            if (control.channels == 1) {
                failed |= access.setAll(elem, values[0] == 0 ? 1 : 0);
                break;
            }
            for (unsigned c = 0; c < channels; ++c) {
                const int on = values[valueIndex(range, c, 0)] == 0 ? 1 : 0;
                for (snd_mixer_selem_channel_id_t id : alsaChannels(elem, playback, c)) {
                    failed |= access.set(elem, id, on);
                }
            }
            break;
        }
        case AlsaControlRole::captureSourceMux: {
            // The first selected item wins; with none selected nothing changes.
            for (unsigned i = 0; i < range.items; ++i) {
                if (values[valueIndex(range, 0, i)] == 0) {
                    continue;
                }
                snd_mixer_elem_t* elem = handles_[control.element];
                failed |= snd_mixer_selem_set_enum_item(elem, SND_MIXER_SCHN_MONO, i);
                // Selectors with one choice per channel take the same one everywhere.
                for (int c = SND_MIXER_SCHN_FRONT_RIGHT; c <= SND_MIXER_SCHN_LAST; ++c) {
                    if (snd_mixer_selem_set_enum_item(
                            elem, static_cast<snd_mixer_selem_channel_id_t>(c), i) < 0) {
                        break;
                    }
                }
                break;
            }
            break;
        }
        case AlsaControlRole::captureSwitchList: {
            for (unsigned i = 0; i < range.items && i < control.itemElements.size(); ++i) {
                failed |= snd_mixer_selem_set_capture_switch_all(
                    handles_[control.itemElements[i]], values[valueIndex(range, 0, i)] ? 1 : 0);
            }
            break;
        }
    }
    return failed == 0 ? mixer_result::ok : mixer_result::error;
}

}  // namespace qv::platform
