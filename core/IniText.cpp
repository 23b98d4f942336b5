#include "IniText.h"

#include <vector>

#include "TextCodec.h"
#include "TextFields.h"

namespace vardo {

namespace {

// What a line means to the reader.
struct ParsedLine {
    enum Kind { Other, Section, Entry } kind = Other;
    std::string name;   // section or key name, trimmed (UTF-8)
    std::string value;  // entry value, trimmed and unquoted (UTF-8)
};

ParsedLine Parse(std::string_view raw, bool fileIsUtf8) {
    // Editors that save UTF-8 may put a byte-order mark before the first line.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (fileIsUtf8 && raw.starts_with(kByteOrderMark)) raw.remove_prefix(kByteOrderMark.size());
    const std::string decoded = fileIsUtf8 ? std::string(raw) : Gb18030ToUtf8(raw);
    const std::string_view line = TrimBlanks(decoded);
    ParsedLine parsed;
    // A '[' without ']' opens no section: such a line is an entry or nothing, and the keys below
    // it stay in their section.
    if (const size_t close = line.find(']'); line.starts_with('[') && close != line.npos) {
        parsed.kind = ParsedLine::Section;
        parsed.name = TrimBlanks(line.substr(1, close - 1));
        return parsed;
    }
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) return parsed;
    parsed.kind = ParsedLine::Entry;
    parsed.name = TrimBlanks(line.substr(0, equals));
    std::string_view value = TrimBlanks(line.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    parsed.value = value;
    return parsed;
}

// Where a key sits in the file, by line index.
struct KeyPlace {
    std::ptrdiff_t section = -1;   // header line of the first matching section
    std::ptrdiff_t key = -1;       // first matching entry in that section
    std::ptrdiff_t lastLine = -1;  // last non-blank line of that section
    std::optional<std::string> value;
};

KeyPlace Locate(const std::vector<TextLine>& lines, bool fileIsUtf8, std::string_view section,
                std::string_view key) {
    KeyPlace place;
    for (size_t i = 0; i < lines.size(); ++i) {
        const ParsedLine parsed = Parse(lines[i].text, fileIsUtf8);
        const auto index = static_cast<std::ptrdiff_t>(i);
        if (parsed.kind == ParsedLine::Section) {
            if (place.section >= 0) break;
            if (EqualsIgnoringCase(parsed.name, section)) place.section = place.lastLine = index;
            continue;
        }
        if (place.section < 0) continue;
        if (!TrimBlanks(lines[i].text).empty()) place.lastLine = index;
        if (parsed.kind == ParsedLine::Entry && place.key < 0 &&
            EqualsIgnoringCase(parsed.name, key)) {
            place.key = index;
            place.value = parsed.value;
        }
    }
    return place;
}

}  // namespace

std::optional<std::string> IniFindValue(std::string_view fileBytes, std::string_view section,
                                        std::string_view key) {
    return Locate(SplitLines(fileBytes), IsValidUtf8(fileBytes), section, key).value;
}

std::string IniSetValue(std::string_view fileBytes, std::string_view section, std::string_view key,
                        std::string_view value) {
    value = value.substr(0, value.find_first_of("\r\n"));
    const bool fileIsUtf8 = IsValidUtf8(fileBytes);
    const bool writeUtf8 = fileIsUtf8 && !IsAscii(fileBytes);
    const auto encode = [writeUtf8](std::string_view text) {
        return writeUtf8 ? std::string(text) : Utf8ToGb18030(text);
    };
    constexpr std::string_view kLineEnd = "\r\n";

    const std::vector<TextLine> lines = SplitLines(fileBytes);
    const KeyPlace place = Locate(lines, fileIsUtf8, section, key);

    const std::string newEntry = encode(std::string(key) + "=" + std::string(value));
    std::string result;
    result.reserve(fileBytes.size() + newEntry.size() + section.size() + 8);
    const auto appendLine = [&result](std::string_view text, std::string_view end) {
        result += text;
        result += end;
    };
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto index = static_cast<std::ptrdiff_t>(i);
        if (index == place.key) {
            // The key keeps its spelling; blanks around it and the old value go.
            const std::string_view raw = lines[i].text;
            appendLine(std::string(TrimBlanks(raw.substr(0, raw.find('=')))) + "=" + encode(value),
                       lines[i].end);
            continue;
        }
        appendLine(lines[i].text, lines[i].end);
        if (place.key < 0 && index == place.lastLine) {
            if (lines[i].end.empty()) result += kLineEnd;
            appendLine(newEntry, kLineEnd);
        }
    }
    if (place.section < 0) {
        if (!result.empty() && result.back() != '\n') result += kLineEnd;
        appendLine(encode("[" + std::string(section) + "]"), kLineEnd);
        appendLine(newEntry, kLineEnd);
    }
    return result;
}

}  // namespace vardo
