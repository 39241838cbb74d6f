#include "platform/mixer/alsa_mixer_watcher.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <utility>

namespace qv::platform {

namespace {
// Upper bound on how long the thread takes to see its stop flag if a wake-up is lost.
constexpr int kPollTimeoutMs = 200;
}  // namespace

std::unique_ptr<AlsaMixerWatcher> AlsaMixerWatcher::start(
    const std::string& ctlName, std::shared_ptr<const AlsaMixerLayout> layout,
    MixerChangeCallback callback) {
    std::unique_ptr<AlsaMixerWatcher> watcher(new AlsaMixerWatcher());
    watcher->handle_ = AlsaMixerHandle::open(ctlName);
    if (!watcher->handle_) {
        return nullptr;
    }
    watcher->wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (watcher->wakeFd_ < 0) {
        return nullptr;
    }
    watcher->layout_ = std::move(layout);
    watcher->callback_ = std::move(callback);

    const std::vector<AlsaElement>& elements = watcher->handle_->elements();
    watcher->tags_.reserve(elements.size());
    for (unsigned position = 0; position < elements.size(); ++position) {
        const int known =
            watcher->layout_->findElement(elements[position].name, elements[position].index);
        watcher->controlsOfElement_.push_back(
            known < 0 ? std::vector<std::uint32_t>{}
                      : watcher->layout_->controlsOfElement(static_cast<unsigned>(known)));
        watcher->tags_.push_back({watcher.get(), position});
        snd_mixer_elem_t* elem = watcher->handle_->elementHandle(position);
        snd_mixer_elem_set_callback_private(elem, &watcher->tags_.back());
        snd_mixer_elem_set_callback(elem, &AlsaMixerWatcher::onElementEvent);
    }
    watcher->thread_ = std::thread([w = watcher.get()] { w->run(); });
    return watcher;
}

AlsaMixerWatcher::~AlsaMixerWatcher() {
    close();
    if (wakeFd_ >= 0) {
        ::close(wakeFd_);
    }
}

MixerResult AlsaMixerWatcher::close() {
    stop_ = true;
    if (wakeFd_ >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(wakeFd_, &one, sizeof one);
    }
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) {
        thread_.join();
    }
    return mixer_result::ok;
}

int AlsaMixerWatcher::onElementEvent(snd_mixer_elem_t* elem, unsigned int mask) {
    if ((mask & SND_CTL_EVENT_MASK_VALUE) != 0 && mask != SND_CTL_EVENT_MASK_REMOVE) {
        const auto* tag = static_cast<const ElementTag*>(snd_mixer_elem_get_callback_private(elem));
        if (tag != nullptr) {
            tag->watcher->noteChange(tag->position);
        }
    }
    return 0;
}

void AlsaMixerWatcher::noteChange(unsigned position) {
    for (std::uint32_t id : controlsOfElement_[position]) {
        if (std::find(changed_.begin(), changed_.end(), id) == changed_.end()) {
            changed_.push_back(id);
        }
    }
}

void AlsaMixerWatcher::run() {
    snd_mixer_t* mixer = handle_->mixer();
    std::vector<pollfd> fds;
    while (!stop_) {
        const int count = snd_mixer_poll_descriptors_count(mixer);
        if (count < 0) {
            return;
        }
        fds.assign(static_cast<std::size_t>(count) + 1, pollfd{});
        if (snd_mixer_poll_descriptors(mixer, fds.data(), static_cast<unsigned>(count)) < 0) {
            return;
        }
        fds.back() = pollfd{wakeFd_, POLLIN, 0};
        const int ready = ::poll(fds.data(), fds.size(), kPollTimeoutMs);
        if (stop_) {
            return;
        }
        if (ready <= 0) {
            continue;
        }
        unsigned short revents = 0;
        if (snd_mixer_poll_descriptors_revents(mixer, fds.data(), static_cast<unsigned>(count),
                                               &revents) < 0 ||
            (revents & (POLLERR | POLLNVAL | POLLHUP)) != 0) {
            return;  // the control device went away
        }
        if ((revents & POLLIN) == 0) {
            continue;
        }
        changed_.clear();
        snd_mixer_handle_events(mixer);
        for (std::uint32_t id : changed_) {
            callback_(id);
        }
    }
}

}  // namespace qv::platform
