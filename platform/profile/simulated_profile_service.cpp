#include "platform/profile/simulated_profile_service.h"

namespace qv::profile {

void SimulatedProfileService::setFileText(const std::filesystem::path& file, std::string text) {
    std::lock_guard lock(filesMutex_);
    files_[file] = std::move(text);
}

void SimulatedProfileService::removeFile(const std::filesystem::path& file) {
    std::lock_guard lock(filesMutex_);
    files_.erase(file);
}

std::optional<std::string> SimulatedProfileService::fileText(
    const std::filesystem::path& file) const {
    std::lock_guard lock(filesMutex_);
    const auto found = files_.find(file);
    if (found == files_.end()) {
        return std::nullopt;
    }
    return found->second;
}

void SimulatedProfileService::setWritesFail(bool fail) {
    std::lock_guard lock(filesMutex_);
    writesFail_ = fail;
}

void SimulatedProfileService::setReadsFail(bool fail) {
    std::lock_guard lock(filesMutex_);
    readsFail_ = fail;
}

FileText SimulatedProfileService::load(const std::filesystem::path& file) {
    std::lock_guard lock(filesMutex_);
    if (readsFail_) {
        return {FileText::Status::failed, {}};
    }
    const auto found = files_.find(file);
    if (found == files_.end()) {
        return {FileText::Status::missing, {}};
    }
    return {FileText::Status::read, found->second};
}

bool SimulatedProfileService::store(const std::filesystem::path& file, const std::string& text) {
    std::lock_guard lock(filesMutex_);
    if (writesFail_) {
        return false;
    }
    files_[file] = text;
    return true;
}

}  // namespace qv::profile
