#include "WinSkinIni.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>

#include "AsciiText.h"

namespace vardo {

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

bool IsSectionHeader(std::string_view line) {
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

std::optional<int> ParseHex(std::string_view digits) {
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    std::uint32_t value = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return static_cast<int>(value);
}

std::optional<int> ParseDecimal(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

void TQuickIni::LoadFromStream(std::string_view text) {
    lines_.clear();
    sections_.clear();
    text = text.substr(0, text.find('\0'));
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
        const std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end);
        if (!text.empty() && text.front() == '\r') text.remove_prefix(1);
        if (!text.empty() && text.front() == '\n') text.remove_prefix(1);

        if (line.empty() || line.front() == ';') continue;
        if (IsSectionHeader(line)) sections_.emplace_back(std::string(line), lines_.size());
        lines_.emplace_back(line);
    }
}

std::string TQuickIni::ReadString(std::string_view section, std::string_view key,
                                  std::string_view def) const {
    const std::string header = "[" + std::string(section) + "]";
    const auto found = std::find_if(sections_.begin(), sections_.end(), [&](const auto& entry) {
        return EqualIgnoringCase(entry.first, header);
    });
    if (found == sections_.end()) return std::string(def);

    for (std::size_t i = found->second + 1; i < lines_.size(); ++i) {
        const std::string_view line = lines_[i];
        if (IsSectionHeader(line)) break;
        const std::size_t equals = line.find('=');
        const std::string_view lineKey =
            equals == std::string_view::npos ? std::string_view() : Trim(line.substr(0, equals));
        if (!EqualIgnoringCase(lineKey, key)) continue;
        const std::string_view value =
            equals == std::string_view::npos ? std::string_view() : Trim(line.substr(equals + 1));
        return std::string(value.empty() ? def : value);
    }
    return std::string(def);
}

int TQuickIni::ReadInteger(std::string_view section, std::string_view key, int def) const {
    const std::string text = ReadString(section, key, "");
    const std::string_view value = text;
    const bool hex = value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X');
    return (hex ? ParseHex(value.substr(2)) : ParseDecimal(value)).value_or(def);
}

std::vector<std::string> TQuickIni::ReadSections() const {
    std::vector<std::string> names;
    names.reserve(sections_.size());
    for (const auto& [header, index] : sections_) {
        names.emplace_back(Trim(std::string_view(header).substr(1, header.size() - 2)));
    }
    return names;
}

}  // namespace vardo
