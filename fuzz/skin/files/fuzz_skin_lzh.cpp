// The skin decoder must accept any stream: it decodes exactly the declared size, agrees with the
// plain bit-at-a-time decoder byte for byte, and gives back whatever the encoder packed.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ReferenceLzh.h"
#include "WinConvert.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    // The first two bytes give the declared size; up to 511 bytes keeps runs quick (long
    // outputs, with their tree rebuilds, are the round-trip tests' part).
    const std::int32_t textSize = data[0] | (data[1] & 0x01) << 8;
    const std::string_view stream(reinterpret_cast<const char*>(data) + 2, size - 2);

    const std::string decoded = vardo::TLZH::LZHUnpack(textSize, stream);
    if (decoded.size() != static_cast<std::size_t>(textSize)) std::abort();
    if (decoded != vardo::reference::Unpack(textSize, stream).substr(0, textSize)) std::abort();

    const std::string packed = vardo::TLZH::LZHPack(stream);
    if (vardo::TLZH::LZHUnpack(static_cast<std::int32_t>(stream.size()), packed) != stream) {
        std::abort();
    }
    return 0;
}
