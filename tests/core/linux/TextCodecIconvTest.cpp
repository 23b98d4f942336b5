#include <iconv.h>

#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "TextCodec.h"

namespace vardo {
namespace {

// The converter of the C library, one text at a time, as the reference.
class ReferenceConverter {
  public:
    ReferenceConverter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~ReferenceConverter() { iconv_close(handle_); }
    ReferenceConverter(const ReferenceConverter&) = delete;
    ReferenceConverter& operator=(const ReferenceConverter&) = delete;

    // The converted text, or nothing when the input is not convertible as a whole.
    std::optional<std::string> Convert(std::string input) {
        char out[64];
        char* in = input.data();
        size_t inLeft = input.size();
        char* outAt = out;
        size_t outLeft = sizeof out;
        if (iconv(handle_, &in, &inLeft, &outAt, &outLeft) == static_cast<size_t>(-1) ||
            inLeft != 0) {
            iconv(handle_, nullptr, nullptr, nullptr, nullptr);
            return std::nullopt;
        }
        return std::string(out, outAt);
    }

  private:
    iconv_t handle_;
};

std::string Utf8Of(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
    } else {
        out += {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)),
                static_cast<char>(0x80 | (c & 0x3F))};
    }
    return out;
}

TEST(TextCodecTest, Gb18030_AgreesWithTheCLibraryForEveryBmpCharacter) {
    ReferenceConverter toGb("GB18030", "UTF-8");
    ReferenceConverter fromGb("UTF-8", "GB18030");
    int mismatches = 0;
    for (char32_t c = 1; c < 0x10000 && mismatches < 5; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        const std::string text = Utf8Of(c);
        const auto expected = toGb.Convert(text);
        const std::string gb = Utf8ToGb18030(text);
        if (gb != expected.value_or("?")) {
            ++mismatches;
            ADD_FAILURE() << "U+" << std::hex << static_cast<unsigned>(c);
        }
        if (expected && Gb18030ToUtf8(gb) != fromGb.Convert(gb).value_or("")) {
            ++mismatches;
            ADD_FAILURE() << "decoding U+" << std::hex << static_cast<unsigned>(c);
        }
    }
}

TEST(TextCodecTest, Gb18030_AgreesWithTheCLibraryForEveryTwoByteCode) {
    ReferenceConverter fromGb("UTF-8", "GB18030");
    int mismatches = 0;
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead)
        for (unsigned trail = 0x40; trail <= 0xFE && mismatches < 5; ++trail) {
            const std::string code = {static_cast<char>(lead), static_cast<char>(trail)};
            const std::string decoded = Gb18030ToUtf8(code);
            const auto expected = fromGb.Convert(code);
            if (expected ? decoded != *expected : decoded.rfind("\xEF\xBF\xBD", 0) != 0) {
                ++mismatches;
                ADD_FAILURE() << std::hex << lead << " " << trail;
            }
        }
}

}  // namespace
}  // namespace vardo
