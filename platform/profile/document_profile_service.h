#pragma once

#include <mutex>

#include "platform/profile/file_text_io.h"
#include "platform/profile/profile_service.h"

namespace qv::profile {

// The profile rules on top of a store of whole file texts: a driver supplies
// loading and replacing one file's text; this class parses, edits and checks.
// Every write loads, edits and stores under one writers' mutex, so writers of
// this process never lose each other's keys.
class DocumentProfileService : public ProfileService {
  public:
    std::optional<std::string> findString(const std::filesystem::path& file,
                                          std::string_view section, std::string_view key) override;
    bool writeString(const std::filesystem::path& file, std::string_view section,
                     std::string_view key, std::string_view value) override;
    std::optional<std::vector<std::string>> readSection(const std::filesystem::path& file,
                                                        std::string_view section) override;
    bool writeSection(const std::filesystem::path& file, std::string_view section,
                      const std::vector<std::string>& lines) override;

  protected:
    // writersMutex must outlive this object; drivers on one shared store share it.
    explicit DocumentProfileService(std::mutex& writersMutex) : writersMutex_(writersMutex) {}

    virtual FileText load(const std::filesystem::path& file) = 0;
    // Replaces the whole text; on false the old text must be intact.
    virtual bool store(const std::filesystem::path& file, const std::string& text) = 0;

  private:
    template <typename Edit>
    bool edit(const std::filesystem::path& file, Edit&& change);

    std::mutex& writersMutex_;
};

// The driver on the real file system.
class FileProfileService : public DocumentProfileService {
  public:
    explicit FileProfileService(
        std::unique_ptr<AtomicFileReplacer> replacer = std::make_unique<AtomicFileReplacer>());

  protected:
    FileText load(const std::filesystem::path& file) override;
    bool store(const std::filesystem::path& file, const std::string& text) override;

  private:
    std::unique_ptr<AtomicFileReplacer> replacer_;
};

}  // namespace qv::profile
