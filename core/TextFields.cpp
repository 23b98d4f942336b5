#include "TextFields.h"

#include <algorithm>

namespace vardo {

namespace {

// Length of the line end at index at: 2 for CR LF, 1 for a lone CR or LF, 0 anywhere else.
size_t LineEndLength(std::string_view text, size_t at) {
    if (at >= text.size()) return 0;
    if (text[at] == '\n') return 1;
    if (text[at] != '\r') return 0;
    return at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1;
}

}  // namespace

int CountFields(std::string_view text, std::string_view separator) {
    if (separator.empty()) return 1;
    int count = 1;
    for (size_t at = text.find(separator); at != std::string_view::npos;
         at = text.find(separator, at + separator.size()))
        ++count;
    return count;
}

std::string GetField(std::string_view text, std::string_view separator, int n) {
    if (n < 1) return {};
    if (separator.empty()) return n == 1 ? std::string(text) : std::string();
    size_t start = 0;
    for (int field = 1; field < n; ++field) {
        const size_t at = text.find(separator, start);
        if (at == std::string_view::npos) return {};
        start = at + separator.size();
    }
    const size_t end = text.find(separator, start);
    return std::string(text.substr(start, end == std::string_view::npos ? end : end - start));
}

std::string PadLeft(std::string_view text, char padChar, int width) {
    if (width < 0) return {};
    const size_t wanted = static_cast<size_t>(width);
    if (text.size() >= wanted) return std::string(text);
    std::string padded(wanted - text.size(), padChar);
    padded += text;
    return padded;
}

size_t FindLineBreak(std::string_view text, size_t from) {
    if (from >= text.size()) return text.size();
    // Two memchr scans (vectorised in the C library) over the same stretch beat a byte loop.
    const size_t feed = std::min(text.find('\n', from), text.size());
    const size_t carriageReturn = text.substr(0, feed).find('\r', from);
    return carriageReturn == std::string_view::npos ? feed : carriageReturn;
}

std::vector<TextLine> SplitLines(std::string_view text) {
    std::vector<TextLine> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t textEnd = FindLineBreak(text, start);
        const size_t endLength = LineEndLength(text, textEnd);
        lines.push_back({text.substr(start, textEnd - start), text.substr(textEnd, endLength)});
        start = textEnd + endLength;
    }
    return lines;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return std::ranges::equal(a, b, {}, lower, lower);
}

std::string_view TrimBlanks(std::string_view text) {
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace vardo
