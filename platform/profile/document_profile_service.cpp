#include "platform/profile/document_profile_service.h"

#include <algorithm>

#include "platform/profile/profile_document.h"
#include "platform/profile/profile_text.h"

namespace qv::profile {

namespace {

// One mutex for every driver on the real file system: two service objects may
// write the same file.
std::mutex& fileSystemWritersMutex() {
    static std::mutex mutex;
    return mutex;
}

}  // namespace

std::optional<std::string> DocumentProfileService::findString(const std::filesystem::path& file,
                                                              std::string_view section,
                                                              std::string_view key) {
    const auto loaded = load(file);
    if (loaded.status != FileText::Status::read) {
        return std::nullopt;
    }
    return ProfileDocument(loaded.text).value(section, key);
}

std::optional<std::vector<std::string>> DocumentProfileService::readSection(
    const std::filesystem::path& file, std::string_view section) {
    const auto loaded = load(file);
    if (loaded.status != FileText::Status::read) {
        return std::nullopt;
    }
    return ProfileDocument(loaded.text).sectionLines(section);
}

template <typename Edit>
bool DocumentProfileService::edit(const std::filesystem::path& file, Edit&& change) {
    std::lock_guard lock(writersMutex_);
    const auto loaded = load(file);
    // A file that exists but cannot be read must not be replaced by a new one.
    if (loaded.status == FileText::Status::failed) {
        return false;
    }
    ProfileDocument document(loaded.text);
    change(document);
    return store(file, document.text());
}

bool DocumentProfileService::writeString(const std::filesystem::path& file,
                                         std::string_view section, std::string_view key,
                                         std::string_view value) {
    if (!isWritableSectionName(section) || !isWritableKey(key) || !isWritableValue(value)) {
        return false;
    }
    return edit(file, [&](ProfileDocument& document) { document.setValue(section, key, value); });
}

bool DocumentProfileService::writeSection(const std::filesystem::path& file,
                                          std::string_view section,
                                          const std::vector<std::string>& lines) {
    const bool linesFit = std::all_of(lines.begin(), lines.end(), [](const std::string& line) {
        return isWritableSectionLine(line);
    });
    if (!isWritableSectionName(section) || !linesFit) {
        return false;
    }
    return edit(file, [&](ProfileDocument& document) { document.replaceSection(section, lines); });
}

FileProfileService::FileProfileService(std::unique_ptr<AtomicFileReplacer> replacer)
    : DocumentProfileService(fileSystemWritersMutex()), replacer_(std::move(replacer)) {}

FileText FileProfileService::load(const std::filesystem::path& file) {
    return readFileText(file);
}

bool FileProfileService::store(const std::filesystem::path& file, const std::string& text) {
    return replacer_->replace(file, text);
}

ProfileService& systemProfileService() {
    static FileProfileService service;
    return service;
}

}  // namespace qv::profile
