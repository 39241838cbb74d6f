#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::profile {

// Reads and writes settings in profile ("ini") files: "[section]" headers
// followed by "key=value" lines. Section and key names compare without regard
// to ASCII case; values come back without surrounding blanks and without one
// pair of surrounding quotes.
//
// Writes keep every other line of the file as it was, and replace the file as
// a whole: a reader (or a later start of the program) sees either the old or
// the new file, never a part of one. Writes from threads of one process are
// serialised, so none loses another's key. All calls may come from any thread.
class ProfileService {
  public:
    virtual ~ProfileService() = default;

    // The key's value, or nothing when the file, the section or the key is absent.
    virtual std::optional<std::string> findString(const std::filesystem::path& file,
                                                  std::string_view section,
                                                  std::string_view key) = 0;

    // Sets the key, creating the file and the section when missing. False when
    // the file could not be read or replaced, or when a name or the value would
    // break the file's lines (a line break, "]" in a section name, "=" in a key,
    // a key starting with "[", ";" or "#"); the file is then unchanged.
    virtual bool writeString(const std::filesystem::path& file, std::string_view section,
                             std::string_view key, std::string_view value) = 0;

    // The section's "key=value" lines, trimmed, without comments and blank
    // lines; nothing when the file or the section is absent.
    virtual std::optional<std::vector<std::string>> readSection(const std::filesystem::path& file,
                                                                std::string_view section) = 0;

    // Replaces the section's lines with lines (creating file and section), each
    // a non-empty line not starting with "[". False, and the file unchanged,
    // when a line breaks these rules or the file could not be replaced.
    virtual bool writeSection(const std::filesystem::path& file, std::string_view section,
                              const std::vector<std::string>& lines) = 0;

    // findString with a fallback for an absent key, section or file.
    std::string readString(const std::filesystem::path& file, std::string_view section,
                           std::string_view key, std::string_view fallback) {
        auto found = findString(file, section, key);
        return found ? std::move(*found) : std::string(fallback);
    }
};

// The service on the real file system, shared by the whole process.
ProfileService& systemProfileService();

}  // namespace qv::profile
