#include <cstdint>

#include "Gb18030System.h"

namespace vardo {

namespace {

// Windows has GB18030 as code page 54936, but not every installation (nor Wine) has that code
// page: the mapping is compiled in, written by tools/gb18030table from the C library's, so that
// both systems convert byte for byte alike.
#include "Gb18030Table.inc"

constexpr unsigned kLeadFirst = 0x81, kLeadLast = 0xFE;
constexpr unsigned kTrailFirst = 0x40, kTrailLast = 0xFE;
constexpr unsigned kTrailCount = kTrailLast - kTrailFirst + 1;
constexpr std::uint16_t kNoTwoByteCharacter = 0xFFFF;

std::string FourByteCode(std::uint32_t index) {
    return {static_cast<char>(kLeadFirst + index / 12600),
            static_cast<char>(0x30 + index / 1260 % 10),
            static_cast<char>(kLeadFirst + index / 10 % 126),
            static_cast<char>(0x30 + index % 10)};
}

}  // namespace

std::vector<char32_t> SystemDecodeGb18030Pairs(const std::string& pairs) {
    std::vector<char32_t> decoded(pairs.size() / 2, kNoGb18030Character);
    for (size_t unit = 0; unit < decoded.size(); ++unit) {
        const unsigned lead = static_cast<unsigned char>(pairs[unit * 2]);
        const unsigned trail = static_cast<unsigned char>(pairs[unit * 2 + 1]);
        if (lead < kLeadFirst || lead > kLeadLast || trail < kTrailFirst || trail > kTrailLast)
            continue;
        const std::uint16_t c = kGb18030TwoByte[(lead - kLeadFirst) * kTrailCount +
                                                (trail - kTrailFirst)];
        if (c != kNoTwoByteCharacter) decoded[unit] = c;
    }
    return decoded;
}

// A character with a four-byte code is encoded so; of several two-byte codes of one character
// the first counts.
void SystemEncodeGb18030Bmp(const std::function<void(char32_t, std::string_view)>& found) {
    std::vector<std::string> codes(0x10000);
    for (char32_t c = 0; c < 0x80; ++c) codes[c] = std::string(1, static_cast<char>(c));
    for (const auto& run : kGb18030FourByteRuns)
        for (std::uint32_t k = 0; k < run[2]; ++k) codes[run[1] + k] = FourByteCode(run[0] + k);
    for (size_t at = 0; at < std::size(kGb18030TwoByte); ++at) {
        const std::uint16_t c = kGb18030TwoByte[at];
        if (c == kNoTwoByteCharacter || !codes[c].empty()) continue;
        codes[c] = {static_cast<char>(kLeadFirst + at / kTrailCount),
                    static_cast<char>(kTrailFirst + at % kTrailCount)};
    }
    for (char32_t c = 0; c < 0x10000; ++c)
        if (!codes[c].empty() && (c < 0xD800 || c > 0xDFFF)) found(c, codes[c]);
}

}  // namespace vardo
