#include "TextCodec.h"

#include <optional>

#include <gtest/gtest.h>
#include <iconv.h>

namespace vardo {
namespace {

TEST(TextCodecTest, Gb18030_RoundTripsChineseText) {
    const std::string gb = Utf8ToGb18030("否是,最大");
    EXPECT_EQ(gb, "\xB7\xF1\xCA\xC7,\xD7\xEE\xB4\xF3");
    EXPECT_EQ(Gb18030ToUtf8(gb), "否是,最大");
}

TEST(TextCodecTest, Gb18030_CoversCharactersOutsideGbk) {
    const std::string text = "€😀";
    EXPECT_EQ(Gb18030ToUtf8(Utf8ToGb18030(text)), text);
}

TEST(TextCodecTest, MalformedInput_IsReplacedNotThrown) {
    EXPECT_EQ(Gb18030ToUtf8("a\xFF"
                            "b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(Gb18030ToUtf8("a\xB7"), "a\xEF\xBF\xBD");  // lead byte cut off by the end
    EXPECT_EQ(Utf8ToGb18030("a\xC3"), "a?");
    EXPECT_EQ(Utf8ToGb18030("\xED\xA0\x80"), "???");  // a surrogate is not UTF-8
}

TEST(TextCodecTest, IsValidUtf8_RejectsOverlongSurrogateAndTruncatedForms) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("plain ascii"));
    EXPECT_TRUE(IsValidUtf8("任务计划表 😀"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));
    EXPECT_FALSE(IsValidUtf8("\xE4\xBB"));
    EXPECT_FALSE(IsValidUtf8("\xB7\xF1"));  // GB18030 "否"
}

TEST(TextCodecTest, DecodeFileText_TakesUtf8AsItIsAndElseGb18030) {
    EXPECT_EQ(DecodeFileText("任务"), "任务");
    EXPECT_EQ(DecodeFileText("\xC8\xCE\xCE\xF1"), "任务");
    EXPECT_EQ(DecodeFileText(std::string("a\0b", 3)), std::string("a\0b", 3));
}

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

TEST(TextCodecTest, Gb18030_SupplementaryPlanesUseFourByteCodes) {
    EXPECT_EQ(Utf8ToGb18030("\U00010000"), "\x90\x30\x81\x30");
    EXPECT_EQ(Utf8ToGb18030("\U0010FFFF"), "\xE3\x32\x9A\x35");
    EXPECT_EQ(Gb18030ToUtf8("\xE3\x32\x9A\x35"), "\U0010FFFF");
    EXPECT_EQ(Gb18030ToUtf8("\xE3\x32\x9A\x36"),
              "\xEF\xBF\xBD"
              "2\xEF\xBF\xBD"
              "6");
}

}  // namespace
}  // namespace vardo
