#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vardo {

// Texts are UTF-8; lengths and separators are counted in bytes, which is exact for the ASCII
// texts these helpers are used on (numbers, times, separators).

// 1 plus the number of non-overlapping separators, scanning left to right; an empty text counts 1.
int CountFields(std::string_view text, std::string_view separator);

// The n-th field (1-based) of text split on separator; empty when n < 1 or text has fewer fields.
// The last field is everything after the last separator.
std::string GetField(std::string_view text, std::string_view separator, int n);

// text as a decimal int with an optional leading '+' or '-'; nothing when it is empty, holds any
// other character or is out of range.
// Inline: the time-text reader calls it for every field of every row it reads.
inline std::optional<int> ParseInt(std::string_view text) {
    if (text.starts_with('+')) text.remove_prefix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// text prefixed with padChar up to width bytes; longer texts unchanged; a negative width gives "".
std::string PadLeft(std::string_view text, char padChar, int width);

// Index of the first CR or LF at or after from, or text.size() when there is none.
size_t FindLineBreak(std::string_view text, size_t from);

// One line of a text as stored: its bytes without the line end, and the line end itself ("\r\n",
// "\n", "\r", or empty for a last line without one).
struct TextLine {
    std::string_view text;
    std::string_view end;
};

// The lines of text, each ended by CR LF, a lone LF or a lone CR; the end of the text ends the
// last line. The views point into text.
std::vector<TextLine> SplitLines(std::string_view text);

// True when a and b differ at most in the case of ASCII letters.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// text without leading and trailing blanks and control characters (bytes up to 0x20).
std::string_view TrimBlanks(std::string_view text);

}  // namespace vardo
