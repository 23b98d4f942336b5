#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vardo {

// The system's own GB18030 converter (the C library's iconv, the Windows code page 54936), asked
// once to fill the code tables of TextCodec. Each system's folder implements it.

inline constexpr char32_t kNoGb18030Character = 0xFFFFFFFF;

// The code point of each two-byte code given as a pair of bytes (lead, trail) in `pairs`, in the
// same order; kNoGb18030Character where the system has no character for the code.
std::vector<char32_t> SystemDecodeGb18030Pairs(const std::string& pairs);

// Calls found(codePoint, bytes) with the GB18030 bytes of every code point of the Basic
// Multilingual Plane the system can encode, surrogates excluded.
void SystemEncodeGb18030Bmp(const std::function<void(char32_t, std::string_view)>& found);

}  // namespace vardo
