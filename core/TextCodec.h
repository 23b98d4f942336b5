#pragma once

#include <string>
#include <string_view>

namespace vardo {

// The program's files are written in GB18030 (byte for byte GBK for every GBK character) and
// held as UTF-8 in memory. None of these functions throws on malformed input.

bool IsValidUtf8(std::string_view bytes);

// True when every byte is below 0x80: such text reads the same in every encoding here.
bool IsAscii(std::string_view bytes);

// Malformed or truncated sequences become U+FFFD, one per byte.
std::string Gb18030ToUtf8(std::string_view bytes);

// Bytes that are not valid UTF-8 become '?', and so do the few characters GB18030 has no code for
// (24 private-use ones, whose codes now stand for standard characters).
std::string Utf8ToGb18030(std::string_view text);

// Text of a file: the bytes themselves when they are entirely valid UTF-8 (which includes plain
// ASCII), else decoded from GB18030.
std::string DecodeFileText(std::string_view bytes);

}  // namespace vardo
