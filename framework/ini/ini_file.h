#pragma once

#include <filesystem>

#include "framework/ini/ini_storage.h"
#include "framework/ini/settings_location.h"
#include "platform/profile/profile_service.h"

// Settings in a profile file. Nothing is cached: every read and write goes to
// the file at once, so two stores on one file see each other's writes.
class unaIniFile : public unaIniAbstractStorage {
  public:
    // fileName empty: the program's settings file (see settingsFilePath).
    explicit unaIniFile(
        std::string_view fileName = {}, std::string section = "settings",
        std::uint32_t lockTimeout = 1000, bool makeAbsolute = true,
        const IniFileEnvironment& environment = IniFileEnvironment::ofThisProcess(),
        qv::profile::ProfileService& profiles = qv::profile::systemProfileService());

    const std::filesystem::path& fileName() const { return fileName_; }

    // Values longer than this come back cut to it.
    static constexpr std::size_t kMaxValueLength = 16383;

    std::string readValueText(std::string_view key, std::string_view defaultValue) override;
    bool writeValueText(std::string_view key, std::string_view text) override;
    std::string readSectionText(std::string_view section) override;
    bool writeSectionText(std::string_view section, std::string_view text) override;

  private:
    const std::filesystem::path fileName_;
    qv::profile::ProfileService& profiles_;
};
