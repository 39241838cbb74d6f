#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::profile {

// The text of one profile file: "[section]" headers, each followed by
// "key=value" lines, with comments (";" or "#") and blank lines in between.
// Edits touch only the lines they must; every other byte of the text, line
// endings included, comes back from text() unchanged.
//
// Section and key names compare without regard to ASCII case and to blanks
// around them. The first section of a name and the first key of a name in it
// are the ones read and written.
class ProfileDocument {
  public:
    explicit ProfileDocument(std::string_view text);

    // The value of key in section: blanks around it and one pair of surrounding
    // quotes removed. Empty when the section or the key is absent.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    // The section's "key=value" lines, trimmed, in file order (comments and
    // blank lines left out). Empty when the section is absent.
    std::optional<std::vector<std::string>> sectionLines(std::string_view section) const;

    // Sets key in section, adding the section at the end and the key after the
    // section's last key when they are missing. The caller checks the names and
    // the value with the isWritable... rules first.
    void setValue(std::string_view section, std::string_view key, std::string_view value);

    // Replaces the keys and comments of section with lines, keeping the blank
    // and comment lines that lead into the next section. Adds the section when
    // it is missing.
    void replaceSection(std::string_view section, const std::vector<std::string>& lines);

    std::string text() const;

  private:
    struct Line {
        std::string content;  // without the line ending
        std::string ending;   // "\n", "\r\n" or empty for an unterminated last line
    };
    struct SectionRange {
        std::size_t header;  // index of the header line
        std::size_t end;     // one past the section's last line
    };

    std::optional<SectionRange> findSection(std::string_view section) const;
    std::optional<std::size_t> findKey(const SectionRange& range, std::string_view key) const;
    std::size_t appendSection(std::string_view section);
    void insertLine(std::size_t index, std::string content);
    std::string_view classifiedContent(std::size_t index) const;

    std::vector<Line> lines_;
    std::string newLine_ = "\n";
};

}  // namespace qv::profile
