// gb18030table: writes the GB18030 mapping of this (Linux) build, read from the C library's
// converter, as the C++ tables the Windows build compiles in (core/windows/Gb18030Table.inc), so
// that both systems convert byte for byte alike whatever code pages a Windows installation (or
// Wine) has. Run it after a change of the C library's mapping; a test checks the table is current.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "TextCodec.h"

namespace {

constexpr unsigned kLeadFirst = 0x81, kLeadLast = 0xFE, kTrailFirst = 0x40, kTrailLast = 0xFE;

// The code point of one UTF-8 character, or 0xFFFF when the text is not exactly one character
// other than the replacement character.
unsigned SingleCodePoint(const std::string& text) {
    const auto byte = [&text](size_t i) { return static_cast<unsigned char>(text[i]); };
    if (text.size() == 2) return (byte(0) & 0x1F) << 6 | (byte(1) & 0x3F);
    if (text.size() != 3 || text == "\xEF\xBF\xBD") return 0xFFFF;
    return (byte(0) & 0x0F) << 12 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F);
}

std::string Utf8Of(unsigned c) {
    std::string text;
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | c >> 6);
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        text += static_cast<char>(0xE0 | c >> 12);
        text += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
    return text;
}

}  // namespace

int main() {
    std::printf("// Written by tools/gb18030table from the C library's GB18030 converter; do not edit.\n");
    std::printf("// Code points of the two-byte codes, lead 0x81..0xFE by trail 0x40..0xFE (0x7F\n");
    std::printf("// included as a gap), 0xFFFF where the code has no character.\n");
    std::printf("static const std::uint16_t kGb18030TwoByte[] = {\n");
    int column = 0;
    for (unsigned lead = kLeadFirst; lead <= kLeadLast; ++lead)
        for (unsigned trail = kTrailFirst; trail <= kTrailLast; ++trail) {
            const std::string code{static_cast<char>(lead), static_cast<char>(trail)};
            const unsigned c = trail == 0x7F ? 0xFFFF : SingleCodePoint(vardo::Gb18030ToUtf8(code));
            std::printf("%s0x%04X,", column == 0 ? "    " : " ", c);
            if (++column == 12) {
                std::printf("\n");
                column = 0;
            }
        }
    std::printf("%s};\n\n", column == 0 ? "" : "\n");

    // Four-byte codes of the Basic Multilingual Plane, as runs: a run of code points that count
    // up with the codes' linear index.
    struct Run {
        std::uint32_t index, codePoint, length;
    };
    std::vector<Run> runs;
    for (unsigned c = 0x80; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        const std::string bytes = vardo::Utf8ToGb18030(Utf8Of(c));
        if (bytes.size() != 4) continue;
        const auto b = [&bytes](size_t i) { return static_cast<unsigned char>(bytes[i]); };
        const std::uint32_t index =
            (((b(0) - 0x81u) * 10 + (b(1) - 0x30u)) * 126 + (b(2) - 0x81u)) * 10 + (b(3) - 0x30u);
        if (!runs.empty() && runs.back().index + runs.back().length == index &&
            runs.back().codePoint + runs.back().length == c)
            ++runs.back().length;
        else
            runs.push_back({index, c, 1});
    }
    std::printf("// Four-byte codes of the Basic Multilingual Plane: {linear index, code point, count}.\n");
    std::printf("static const std::uint32_t kGb18030FourByteRuns[][3] = {\n");
    for (const Run& run : runs)
        std::printf("    {%u, 0x%04X, %u},\n", run.index, run.codePoint, run.length);
    std::printf("};\n");
    return 0;
}
