#include "platform/mixer/alsa_mixer_watcher.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

#include "platform/mixer/alsa_mixer_device.h"

namespace qv::platform {

namespace {
// How long the thread may miss its stop flag if a wake-up were lost.
constexpr int kPollTimeoutMs = 200;
}  // namespace

std::unique_ptr<AlsaMixerWatcher> AlsaMixerWatcher::start(AlsaMixerDevice& device,
                                                          MixerChangeCallback callback) {
    const int wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd < 0) {
        return nullptr;
    }
    std::unique_ptr<AlsaMixerWatcher> watcher(
        new AlsaMixerWatcher(device, std::move(callback), wakeFd));
    device.addWatcher(watcher.get());
    watcher->thread_ = std::thread([w = watcher.get()] { w->run(); });
    return watcher;
}

AlsaMixerWatcher::AlsaMixerWatcher(AlsaMixerDevice& device, MixerChangeCallback callback,
                                   int wakeFd)
    : device_(device), callback_(std::move(callback)), wakeFd_(wakeFd) {}

AlsaMixerWatcher::~AlsaMixerWatcher() {
    close();
    ::close(wakeFd_);
}

MixerResult AlsaMixerWatcher::close() {
    if (closed_) {
        return mixer_result::ok;
    }
    closed_ = true;
    device_.removeWatcher(this);
    stop_ = true;
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeFd_, &one, sizeof one);
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) {
        thread_.join();
    }
    return mixer_result::ok;
}

void AlsaMixerWatcher::post(const std::vector<std::uint32_t>& controlIds) {
    {
        std::lock_guard lock(mutex_);
        for (std::uint32_t id : controlIds) {
            if (std::find(posted_.begin(), posted_.end(), id) == posted_.end()) {
                posted_.push_back(id);
            }
        }
    }
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeFd_, &one, sizeof one);
}

std::vector<std::uint32_t> AlsaMixerWatcher::takePosted() {
    std::lock_guard lock(mutex_);
    return std::exchange(posted_, {});
}

void AlsaMixerWatcher::run() {
    std::vector<pollfd> fds;
    while (!stop_) {
        if (!device_.pollDescriptors(fds)) {
            return;
        }
        const std::size_t deviceFds = fds.size();
        fds.push_back(pollfd{wakeFd_, POLLIN, 0});
        const int ready = ::poll(fds.data(), fds.size(), kPollTimeoutMs);
        if (stop_) {
            return;
        }
        if (ready <= 0) {
            continue;
        }
        if ((fds.back().revents & POLLIN) != 0) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t drained = ::read(wakeFd_, &count, sizeof count);
        }
        fds.resize(deviceFds);
        if (!device_.takeEvents(fds)) {
            return;  // the control device went away
        }
        for (std::uint32_t id : takePosted()) {
            callback_(id);
        }
    }
}

}  // namespace qv::platform
