// The GB18030 codec must accept any bytes in either direction and always produce valid UTF-8
// when decoding; valid UTF-8 text must come back unchanged from GB18030, which encodes every
// Unicode character.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "TextCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!vardo::IsValidUtf8(vardo::Gb18030ToUtf8(bytes))) std::abort();
    if (!vardo::IsValidUtf8(vardo::DecodeFileText(bytes))) std::abort();
    const std::string encoded = vardo::Utf8ToGb18030(bytes);
    if (vardo::IsValidUtf8(bytes) && vardo::Gb18030ToUtf8(encoded) != bytes) std::abort();
    return 0;
}
