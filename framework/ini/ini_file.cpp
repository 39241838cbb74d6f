#include "framework/ini/ini_file.h"

#include <vector>

#include "platform/profile/profile_text.h"

namespace {

std::vector<std::string> nonEmptyLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const auto end = text.find_first_of("\r\n");
        const auto line = text.substr(0, end);
        if (!qv::profile::trimBlanks(line).empty()) {
            lines.emplace_back(line);
        }
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines;
}

}  // namespace

unaIniFile::unaIniFile(std::string_view fileName, std::string section, std::uint32_t lockTimeout,
                       bool makeAbsolute, const IniFileEnvironment& environment,
                       qv::profile::ProfileService& profiles)
    : unaIniAbstractStorage(std::move(section), lockTimeout),
      fileName_(settingsFilePath(fileName, makeAbsolute, environment)),
      profiles_(profiles) {}

std::string unaIniFile::readValueText(std::string_view key, std::string_view defaultValue) {
    const auto gate = lockWithTimeout();
    if (!gate.ok()) {
        return {};
    }
    auto text =
        profiles_.readString(fileName_, section(), qv::profile::trimBlanks(key), defaultValue);
    if (text.size() > kMaxValueLength) {
        text.resize(kMaxValueLength);
    }
    return text;
}

bool unaIniFile::writeValueText(std::string_view key, std::string_view text) {
    return profiles_.writeString(fileName_, section(), qv::profile::trimBlanks(key), text);
}

std::string unaIniFile::readSectionText(std::string_view section) {
    std::string text;
    for (const auto& line :
         profiles_.readSection(fileName_, section).value_or(std::vector<std::string>{})) {
        text += line;
        text += "\r\n";
    }
    return text;
}

bool unaIniFile::writeSectionText(std::string_view section, std::string_view text) {
    return profiles_.writeSection(fileName_, section, nonEmptyLines(text));
}
