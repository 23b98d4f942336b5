#include "TextCodec.h"

#include "Gb18030System.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace vardo {

namespace {

// GB18030 byte ranges.
constexpr unsigned kLeadFirst = 0x81, kLeadLast = 0xFE;
constexpr unsigned kTrailFirst = 0x40, kTrailLast = 0xFE, kTrailGap = 0x7F;
constexpr unsigned kTrailCount = kTrailLast - kTrailFirst + 1;
constexpr unsigned kDigitFirst = 0x30, kDigitLast = 0x39;
// Four-byte codes count up linearly: 10 x 126 x 10 per first byte.
constexpr std::uint32_t kFourByteBmpCount = 39420;             // 81308130..8431A439
constexpr std::uint32_t kFourByteSupplementaryStart = 189000;  // linear index of 90308130
constexpr char32_t kNoCharacter = kNoGb18030Character;
constexpr std::uint32_t kNoCode = 0xFFFFFFFF;

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

bool IsDigitByte(unsigned byte) {
    return byte >= kDigitFirst && byte <= kDigitLast;
}
bool IsLeadByte(unsigned byte) {
    return byte >= kLeadFirst && byte <= kLeadLast;
}

std::uint32_t FourByteIndex(unsigned b1, unsigned b2, unsigned b3, unsigned b4) {
    return (((b1 - kLeadFirst) * 10 + (b2 - kDigitFirst)) * 126 + (b3 - kLeadFirst)) * 10 +
           (b4 - kDigitFirst);
}

// The code point of the UTF-8 sequence at text[at], with its length; length 0 when the bytes there
// are not a valid (shortest, non-surrogate, at most U+10FFFF) sequence.
struct Utf8Character {
    char32_t codePoint;
    size_t length;
};

Utf8Character DecodeUtf8At(std::string_view text, size_t at) {
    const auto byte = [&text](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned lead = byte(at);
    if (lead < 0x80) return {lead, 1};
    size_t length = 0;
    unsigned low = 0x80, high = 0xBF;  // allowed range of the second byte
    char32_t codePoint = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
        return {0, 0};
    }
    if (text.size() - at < length) return {0, 0};
    for (size_t k = 1; k < length; ++k) {
        const unsigned next = byte(at + k);
        if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) return {0, 0};
        codePoint = codePoint << 6 | (next & 0x3F);
    }
    return {codePoint, length};
}

void AppendUtf8(std::string& out, char32_t c) {
    char bytes[4];
    size_t length;
    if (c < 0x80) {
        bytes[0] = static_cast<char>(c);
        length = 1;
    } else if (c < 0x800) {
        bytes[0] = static_cast<char>(0xC0 | c >> 6);
        bytes[1] = static_cast<char>(0x80 | (c & 0x3F));
        length = 2;
    } else if (c < 0x10000) {
        bytes[0] = static_cast<char>(0xE0 | c >> 12);
        bytes[1] = static_cast<char>(0x80 | (c >> 6 & 0x3F));
        bytes[2] = static_cast<char>(0x80 | (c & 0x3F));
        length = 3;
    } else {
        bytes[0] = static_cast<char>(0xF0 | c >> 18);
        bytes[1] = static_cast<char>(0x80 | (c >> 12 & 0x3F));
        bytes[2] = static_cast<char>(0x80 | (c >> 6 & 0x3F));
        bytes[3] = static_cast<char>(0x80 | (c & 0x3F));
        length = 4;
    }
    out.append(bytes, length);
}

// End of the run of ASCII bytes starting at from: ASCII is the same in every encoding here, so
// such runs are copied whole.
size_t AsciiRunEnd(std::string_view text, size_t from) {
    while (from < text.size() && static_cast<unsigned char>(text[from]) < 0x80) ++from;
    return from;
}

// The system's GB18030 mapping, read out once into tables, so that converting a file is a table
// lookup per character instead of two conversion steps of the system's converter.
class Gb18030Tables {
  public:
    static const Gb18030Tables& Get() {
        static const Gb18030Tables tables;
        return tables;
    }

    // Code point of a two-byte code, or kNoCharacter.
    char32_t TwoByte(unsigned lead, unsigned trail) const {
        return twoByte_[(lead - kLeadFirst) * kTrailCount + (trail - kTrailFirst)];
    }
    // Code point of a four-byte code by linear index, or kNoCharacter.
    char32_t FourByte(std::uint32_t index) const {
        if (index < kFourByteBmpCount) return fourByteBmp_[index];
        if (index < kFourByteSupplementaryStart) return kNoCharacter;
        const std::uint32_t codePoint = 0x10000 + (index - kFourByteSupplementaryStart);
        return codePoint <= 0x10FFFF ? codePoint : kNoCharacter;
    }
    // Appends the GB18030 bytes of a code point; false when it has none.
    bool Encode(char32_t codePoint, std::string& out) const {
        std::uint32_t code;
        if (codePoint < 0x10000) {
            code = encodeBmp_[codePoint];
            if (code == kNoCode) return false;
        } else {
            code = FourByteCode(kFourByteSupplementaryStart + (codePoint - 0x10000));
        }
        // One-byte codes lie below 0x80, two-byte ones below 0x10000, four-byte ones above.
        const int length = code > 0xFFFF ? 4 : code > 0xFF ? 2 : 1;
        for (int shift = (length - 1) * 8; shift >= 0; shift -= 8)
            out += static_cast<char>(code >> shift);
        return true;
    }

  private:
    static std::uint32_t FourByteCode(std::uint32_t index) {
        const std::uint32_t b4 = kDigitFirst + index % 10;
        const std::uint32_t b3 = kLeadFirst + index / 10 % 126;
        const std::uint32_t b2 = kDigitFirst + index / 1260 % 10;
        const std::uint32_t b1 = kLeadFirst + index / 12600;
        return b1 << 24 | b2 << 16 | b3 << 8 | b4;
    }

    Gb18030Tables() : encodeBmp_(0x10000, kNoCode), fourByteBmp_(kFourByteBmpCount, kNoCharacter) {
        twoByte_.fill(kNoCharacter);
        ReadTwoByteCodes();
        ReadBmpEncodings();
    }

    void ReadTwoByteCodes() {
        std::string codes;
        for (unsigned lead = kLeadFirst; lead <= kLeadLast; ++lead)
            for (unsigned trail = kTrailFirst; trail <= kTrailLast; ++trail) {
                codes += static_cast<char>(lead);
                // 0x7F is no trail byte: a valid stand-in keeps every later code at its table
                // index, and its result is not recorded.
                codes += static_cast<char>(trail == kTrailGap ? kTrailFirst : trail);
            }
        const std::vector<char32_t> decoded = SystemDecodeGb18030Pairs(codes);
        for (size_t unit = 0; unit < decoded.size() && unit < twoByte_.size(); ++unit) {
            if (unit % kTrailCount + kTrailFirst == kTrailGap) continue;
            twoByte_[unit] = decoded[unit];
        }
    }

    void ReadBmpEncodings() {
        SystemEncodeGb18030Bmp([this](char32_t codePoint, std::string_view bytes) {
            std::uint32_t code = 0;
            for (const char byte : bytes) code = code << 8 | static_cast<unsigned char>(byte);
            Record(codePoint, code, bytes.size());
        });
    }

    void Record(char32_t codePoint, std::uint32_t code, size_t length) {
        encodeBmp_[codePoint] = code;
        if (length != 4) return;
        const std::uint32_t index =
            FourByteIndex(code >> 24, code >> 16 & 0xFF, code >> 8 & 0xFF, code & 0xFF);
        if (index < kFourByteBmpCount) fourByteBmp_[index] = codePoint;
    }

    std::array<char32_t, (kLeadLast - kLeadFirst + 1) * kTrailCount> twoByte_;
    std::vector<std::uint32_t> encodeBmp_;
    std::vector<char32_t> fourByteBmp_;
};

// The code point of the GB18030 sequence at bytes[at] and its length; length 0 when malformed.
struct GbCharacter {
    char32_t codePoint;
    size_t length;
};

GbCharacter DecodeGbAt(const Gb18030Tables& tables, std::string_view bytes, size_t at) {
    const auto byte = [&bytes](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned lead = byte(at);
    if (lead < 0x80) return {lead, 1};
    if (!IsLeadByte(lead) || at + 1 >= bytes.size()) return {0, 0};
    const unsigned second = byte(at + 1);
    if (second >= kTrailFirst && second <= kTrailLast && second != kTrailGap) {
        const char32_t c = tables.TwoByte(lead, second);
        return c == kNoCharacter ? GbCharacter{0, 0} : GbCharacter{c, 2};
    }
    if (!IsDigitByte(second) || at + 3 >= bytes.size() || !IsLeadByte(byte(at + 2)) ||
        !IsDigitByte(byte(at + 3)))
        return {0, 0};
    const char32_t c = tables.FourByte(FourByteIndex(lead, second, byte(at + 2), byte(at + 3)));
    return c == kNoCharacter ? GbCharacter{0, 0} : GbCharacter{c, 4};
}

// The input with its ASCII runs copied whole and every other character handed to convertAt,
// which appends what the character at that index becomes and returns how many bytes it used.
template <typename ConvertAt>
std::string Transcode(std::string_view input, ConvertAt&& convertAt) {
    std::string output;
    output.reserve(input.size() + input.size() / 2);
    for (size_t at = 0; at < input.size();) {
        const size_t runEnd = AsciiRunEnd(input, at);
        output.append(input.data() + at, runEnd - at);
        at = runEnd;
        if (at < input.size()) at += convertAt(at, output);
    }
    return output;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    for (size_t at = AsciiRunEnd(bytes, 0); at < bytes.size(); at = AsciiRunEnd(bytes, at)) {
        const size_t length = DecodeUtf8At(bytes, at).length;
        if (length == 0) return false;
        at += length;
    }
    return true;
}

bool IsAscii(std::string_view bytes) {
    return AsciiRunEnd(bytes, 0) == bytes.size();
}

std::string Gb18030ToUtf8(std::string_view bytes) {
    const Gb18030Tables& tables = Gb18030Tables::Get();
    return Transcode(bytes, [&tables, bytes](size_t at, std::string& text) -> size_t {
        const GbCharacter character = DecodeGbAt(tables, bytes, at);
        if (character.length == 0) {
            text += kReplacementCharacter;
            return 1;
        }
        AppendUtf8(text, character.codePoint);
        return character.length;
    });
}

std::string Utf8ToGb18030(std::string_view text) {
    const Gb18030Tables& tables = Gb18030Tables::Get();
    return Transcode(text, [&tables, text](size_t at, std::string& bytes) -> size_t {
        const Utf8Character character = DecodeUtf8At(text, at);
        if (character.length == 0 || !tables.Encode(character.codePoint, bytes)) bytes += '?';
        return std::max<size_t>(character.length, 1);
    });
}

std::string DecodeFileText(std::string_view bytes) {
    if (IsValidUtf8(bytes)) return std::string(bytes);
    return Gb18030ToUtf8(bytes);
}

}  // namespace vardo
