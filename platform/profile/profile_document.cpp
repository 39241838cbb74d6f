#include "platform/profile/profile_document.h"

#include "platform/profile/profile_text.h"

namespace qv::profile {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The name of a "[name]" header line (anything may follow the "]"), or empty.
std::optional<std::string_view> headerName(std::string_view line) {
    const auto trimmed = trimBlanks(line);
    if (trimmed.empty() || trimmed.front() != '[') {
        return std::nullopt;
    }
    const auto close = trimmed.find(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return trimBlanks(trimmed.substr(1, close - 1));
}

bool isCommentOrBlank(std::string_view line) {
    const auto trimmed = trimBlanks(line);
    return trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#';
}

struct KeyLine {
    std::string_view key;
    std::size_t valueStart;  // offset in the line just after "=" and the blanks after it
};

std::optional<KeyLine> keyLine(std::string_view line) {
    if (isCommentOrBlank(line) || headerName(line)) {
        return std::nullopt;
    }
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    std::size_t valueStart = equals + 1;
    while (valueStart < line.size() && (line[valueStart] == ' ' || line[valueStart] == '\t')) {
        ++valueStart;
    }
    return KeyLine{trimBlanks(line.substr(0, equals)), valueStart};
}

}  // namespace

ProfileDocument::ProfileDocument(std::string_view text) {
    bool styleKnown = false;
    while (!text.empty()) {
        const auto lf = text.find('\n');
        Line line;
        if (lf == std::string_view::npos) {
            line.content = std::string(text);
            text = {};
        } else {
            const bool crlf = lf > 0 && text[lf - 1] == '\r';
            line.content = std::string(text.substr(0, crlf ? lf - 1 : lf));
            line.ending = crlf ? "\r\n" : "\n";
            text.remove_prefix(lf + 1);
            if (!styleKnown) {
                newLine_ = line.ending;
                styleKnown = true;
            }
        }
        lines_.push_back(std::move(line));
    }
}

std::string_view ProfileDocument::classifiedContent(std::size_t index) const {
    std::string_view content = lines_[index].content;
    if (index == 0 && content.starts_with(kByteOrderMark)) {
        content.remove_prefix(kByteOrderMark.size());
    }
    return content;
}

std::optional<ProfileDocument::SectionRange> ProfileDocument::findSection(
    std::string_view section) const {
    const auto wanted = trimBlanks(section);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const auto name = headerName(classifiedContent(i));
        if (!name || !equalsIgnoringCase(*name, wanted)) {
            continue;
        }
        std::size_t end = i + 1;
        while (end < lines_.size() && !headerName(classifiedContent(end))) {
            ++end;
        }
        return SectionRange{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> ProfileDocument::findKey(const SectionRange& range,
                                                    std::string_view key) const {
    const auto wanted = trimBlanks(key);
    if (wanted.empty()) {
        return std::nullopt;
    }
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        const auto parsed = keyLine(lines_[i].content);
        if (parsed && equalsIgnoringCase(parsed->key, wanted)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::string> ProfileDocument::value(std::string_view section,
                                                  std::string_view key) const {
    const auto range = findSection(section);
    if (!range) {
        return std::nullopt;
    }
    const auto index = findKey(*range, key);
    if (!index) {
        return std::nullopt;
    }
    const std::string_view line = lines_[*index].content;
    const auto parsed = keyLine(line);
    return std::string(stripQuotes(trimBlanks(line.substr(parsed->valueStart))));
}

std::optional<std::vector<std::string>> ProfileDocument::sectionLines(
    std::string_view section) const {
    const auto range = findSection(section);
    if (!range) {
        return std::nullopt;
    }
    std::vector<std::string> result;
    for (std::size_t i = range->header + 1; i < range->end; ++i) {
        if (!isCommentOrBlank(lines_[i].content)) {
            result.emplace_back(trimBlanks(lines_[i].content));
        }
    }
    return result;
}

void ProfileDocument::insertLine(std::size_t index, std::string content) {
    // A line inserted after an unterminated last line needs that line ended first.
    if (index > 0 && index == lines_.size() && lines_.back().ending.empty()) {
        lines_.back().ending = newLine_;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index),
                  Line{std::move(content), newLine_});
}

std::size_t ProfileDocument::appendSection(std::string_view section) {
    if (!lines_.empty() && !trimBlanks(lines_.back().content).empty()) {
        insertLine(lines_.size(), {});
    }
    insertLine(lines_.size(), "[" + std::string(section) + "]");
    return lines_.size() - 1;
}

void ProfileDocument::setValue(std::string_view section, std::string_view key,
                               std::string_view value) {
    auto range = findSection(section);
    if (!range) {
        const auto header = appendSection(section);
        range = SectionRange{header, header + 1};
    }
    if (const auto index = findKey(*range, key)) {
        auto& line = lines_[*index].content;
        line.resize(keyLine(line)->valueStart);
        line += value;
        return;
    }
    std::size_t after = range->header;
    for (std::size_t i = range->header + 1; i < range->end; ++i) {
        if (!isCommentOrBlank(lines_[i].content)) {
            after = i;
        }
    }
    insertLine(after + 1, std::string(trimBlanks(key)) + "=" + std::string(value));
}

void ProfileDocument::replaceSection(std::string_view section,
                                     const std::vector<std::string>& lines) {
    auto range = findSection(section);
    if (!range) {
        const auto header = appendSection(section);
        range = SectionRange{header, header + 1};
    }
    // Blank and comment lines just before the next header lead into that section.
    std::size_t bodyEnd = range->end;
    while (bodyEnd > range->header + 1 && isCommentOrBlank(lines_[bodyEnd - 1].content)) {
        --bodyEnd;
    }
    const auto first = lines_.begin() + static_cast<std::ptrdiff_t>(range->header + 1);
    lines_.erase(first, lines_.begin() + static_cast<std::ptrdiff_t>(bodyEnd));
    std::size_t at = range->header + 1;
    for (const auto& line : lines) {
        insertLine(at++, line);
    }
}

std::string ProfileDocument::text() const {
    std::string result;
    for (const auto& line : lines_) {
        result += line.content;
        result += line.ending;
    }
    return result;
}

}  // namespace qv::profile
