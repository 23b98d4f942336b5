// The GB18030 codec must accept any bytes in either direction and always produce valid UTF-8
// when decoding. Valid UTF-8 text must come back from GB18030 unchanged, but for the few
// characters GB18030 has no code for (some private-use ones), which are written as '?'.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "TextCodec.h"

namespace {

// The text as the round trip gives it back: each character that encodes to '?' alone is '?'.
std::string ExpectedRoundTrip(std::string_view text) {
    std::string expected;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = at + 1;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
        const std::string_view character = text.substr(at, end - at);
        expected += vardo::Utf8ToGb18030(character) == "?" ? std::string_view("?") : character;
        at = end;
    }
    return expected;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!vardo::IsValidUtf8(vardo::Gb18030ToUtf8(bytes))) std::abort();
    if (!vardo::IsValidUtf8(vardo::DecodeFileText(bytes))) std::abort();
    const std::string encoded = vardo::Utf8ToGb18030(bytes);
    if (vardo::IsValidUtf8(bytes) && vardo::Gb18030ToUtf8(encoded) != ExpectedRoundTrip(bytes))
        std::abort();
    return 0;
}
