#include "platform/mixer/alsa_mixer_device.h"

#include <poll.h>

#include <algorithm>

#include "platform/mixer/alsa_mixer_watcher.h"

namespace qv::platform {

std::unique_ptr<AlsaMixerDevice> AlsaMixerDevice::open(const std::string& ctlName) {
    std::unique_ptr<AlsaMixerDevice> device(new AlsaMixerDevice());
    device->handle_ = AlsaMixerHandle::open(ctlName);
    if (!device->handle_) {
        return nullptr;
    }
    device->ctlName_ = ctlName;
    device->card_ = device->handle_->card();
    device->name_ = device->handle_->cardName();
    device->layout_ = buildAlsaMixerLayout(device->handle_->elements());

    for (const AlsaControl& control : device->layout_.controls) {
        device->valuesChanged(control);
    }
    const unsigned count = static_cast<unsigned>(device->handle_->elements().size());
    device->tags_.reserve(count);
    for (unsigned position = 0; position < count; ++position) {
        device->tags_.push_back({device.get(), position});
        snd_mixer_elem_t* elem = device->handle_->elementHandle(position);
        snd_mixer_elem_set_callback_private(elem, &device->tags_.back());
        snd_mixer_elem_set_callback(elem, &AlsaMixerDevice::onElementEvent);
    }
    return device;
}

AlsaMixerDevice::~AlsaMixerDevice() = default;

MixerResult AlsaMixerDevice::read(const AlsaControl& control, const MixerValueRange& range,
                                  std::vector<std::uint32_t>& values) {
    std::lock_guard lock(mutex_);
    handle_->takePendingEvents();
    return handle_->read(control, range, values);
}

MixerResult AlsaMixerDevice::write(const AlsaControl& control, const MixerValueRange& range,
                                   const std::vector<std::uint32_t>& values) {
    std::lock_guard lock(mutex_);
    handle_->takePendingEvents();
    return handle_->write(control, range, values);
}

bool AlsaMixerDevice::pollDescriptors(std::vector<pollfd>& fds) {
    std::lock_guard lock(mutex_);
    const int count = snd_mixer_poll_descriptors_count(handle_->mixer());
    if (count < 0) {
        return false;
    }
    fds.assign(static_cast<std::size_t>(count), pollfd{});
    return snd_mixer_poll_descriptors(handle_->mixer(), fds.data(), static_cast<unsigned>(count)) >=
           0;
}

bool AlsaMixerDevice::takeEvents(std::vector<pollfd>& fds) {
    std::lock_guard lock(mutex_);
    unsigned short revents = 0;
    if (snd_mixer_poll_descriptors_revents(handle_->mixer(), fds.data(),
                                           static_cast<unsigned>(fds.size()), &revents) < 0 ||
        (revents & (POLLERR | POLLNVAL | POLLHUP)) != 0) {
        return false;
    }
    if ((revents & POLLIN) != 0) {
        handle_->takePendingEvents();
    }
    return true;
}

void AlsaMixerDevice::addWatcher(AlsaMixerWatcher* watcher) {
    std::lock_guard lock(mutex_);
    watchers_.push_back(watcher);
}

void AlsaMixerDevice::removeWatcher(AlsaMixerWatcher* watcher) {
    std::lock_guard lock(mutex_);
    std::erase(watchers_, watcher);
}

int AlsaMixerDevice::onElementEvent(snd_mixer_elem_t* elem, unsigned int mask) {
    if (mask != SND_CTL_EVENT_MASK_REMOVE && (mask & SND_CTL_EVENT_MASK_VALUE) != 0) {
        const auto* tag = static_cast<const ElementTag*>(snd_mixer_elem_get_callback_private(elem));
        if (tag != nullptr) {
            tag->device->noteChange(tag->position);
        }
    }
    return 0;
}

void AlsaMixerDevice::noteChange(unsigned position) {
    const AlsaElement& element = handle_->elements()[position];
    const int known = layout_.findElement(element.name, element.index);
    if (known < 0) {
        return;
    }
    // An element event does not say what changed: compare each of its controls.
    std::vector<std::uint32_t> changed;
    for (std::uint32_t id : layout_.controlsOfElement(static_cast<unsigned>(known))) {
        if (valuesChanged(*layout_.control(id))) {
            changed.push_back(id);
        }
    }
    if (changed.empty()) {
        return;
    }
    for (AlsaMixerWatcher* watcher : watchers_) {
        watcher->post(changed);
    }
}

bool AlsaMixerDevice::valuesChanged(const AlsaControl& control) {
    const MixerValueRange range{control.info.controlId, control.channels,
                                control.info.multipleItems};
    std::vector<std::uint32_t> values;
    if (handle_->read(control, range, values) != mixer_result::ok) {
        return false;
    }
    std::vector<std::uint32_t>& last = lastValues_[control.info.controlId];
    if (values == last) {
        return false;
    }
    last = std::move(values);
    return true;
}

}  // namespace qv::platform
