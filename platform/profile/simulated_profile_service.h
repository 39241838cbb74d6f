#pragma once

#include <map>
#include <mutex>

#include "platform/profile/document_profile_service.h"

namespace qv::profile {

// Profile files kept in memory, for tests that must not touch the disk. A test
// can plant a file's text, read it back, and make writes or reads fail.
class SimulatedProfileService : public DocumentProfileService {
  public:
    SimulatedProfileService() : DocumentProfileService(writersMutex_) {}

    void setFileText(const std::filesystem::path& file, std::string text);
    void removeFile(const std::filesystem::path& file);
    // The file's text; nothing when the file does not exist.
    std::optional<std::string> fileText(const std::filesystem::path& file) const;

    // Replacing a file fails (the file stays as it was), as on a read-only disk.
    void setWritesFail(bool fail);
    // Reading a file fails, as for a file without read permission.
    void setReadsFail(bool fail);

  protected:
    FileText load(const std::filesystem::path& file) override;
    bool store(const std::filesystem::path& file, const std::string& text) override;

  private:
    std::mutex writersMutex_;
    mutable std::mutex filesMutex_;
    std::map<std::filesystem::path, std::string> files_;
    bool writesFail_ = false;
    bool readsFail_ = false;
};

}  // namespace qv::profile
