#include "TextCodec.h"

#include <gtest/gtest.h>

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
