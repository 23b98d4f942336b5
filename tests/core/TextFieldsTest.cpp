#include "TextFields.h"

#include <gtest/gtest.h>

namespace vardo {
namespace {

TEST(TextFieldsTest, CountFields_CountsNonOverlappingSeparatorsPlusOne) {
    EXPECT_EQ(CountFields("", ","), 1);
    EXPECT_EQ(CountFields("a,b,c", ","), 3);
    EXPECT_EQ(CountFields("a,,b", ","), 3);
    EXPECT_EQ(CountFields("^^^", "^^"), 2);
    EXPECT_EQ(CountFields("^^^^", "^^"), 3);
}

TEST(TextFieldsTest, GetField_ReturnsNthFieldOrEmpty) {
    EXPECT_EQ(GetField("是", ",", 1), "是");
    EXPECT_EQ(GetField("是", ",", 2), "");
    EXPECT_EQ(GetField("是,最大", ",", 2), "最大");
    EXPECT_EQ(GetField("a,,b", ",", 2), "");
    EXPECT_EQ(GetField("a,,b", ",", 3), "b");
    EXPECT_EQ(GetField("a,,b", ",", 4), "");
    EXPECT_EQ(GetField("a,b", ",", 0), "");
    EXPECT_EQ(GetField("a,b", ",", -1), "");
}

TEST(TextFieldsTest, GetField_LastFieldIsEverythingAfterLastSeparator) {
    EXPECT_EQ(GetField("1:2:3:4", ":", 3), "3");
    EXPECT_EQ(GetField("a^^b^^", "^^", 3), "");
    EXPECT_EQ(GetField("a^^^b", "^^", 2), "^b");
}

TEST(TextFieldsTest, ParseInt_TakesOnlyAWholeSignedDecimalInRange) {
    EXPECT_EQ(ParseInt("42"), 42);
    EXPECT_EQ(ParseInt("+7"), 7);
    EXPECT_EQ(ParseInt("-3"), -3);
    for (const char* bad : {"", "+", " 1", "1 ", "1x", "0x10", "99999999999"})
        EXPECT_EQ(ParseInt(bad), std::nullopt) << bad;
}

TEST(TextFieldsTest, PadLeft_PadsToWidthAndNeverTruncates) {
    EXPECT_EQ(PadLeft("1", ' ', 3), "  1");
    EXPECT_EQ(PadLeft("12", ' ', 3), " 12");
    EXPECT_EQ(PadLeft("123", ' ', 3), "123");
    EXPECT_EQ(PadLeft("1000", ' ', 3), "1000");
    EXPECT_EQ(PadLeft("7", '0', 2), "07");
    EXPECT_EQ(PadLeft("7", ' ', -1), "");
}

TEST(TextFieldsTest, SplitLines_KeepsEachLineEndAndAnUnendedLastLine) {
    const std::vector<TextLine> lines = SplitLines("a\r\nb\rc\n\r\nd");
    std::vector<std::string> texts, ends;
    for (const TextLine& line : lines) {
        texts.emplace_back(line.text);
        ends.emplace_back(line.end);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"a", "b", "c", "", "d"}));
    EXPECT_EQ(ends, (std::vector<std::string>{"\r\n", "\r", "\n", "\r\n", ""}));
    EXPECT_TRUE(SplitLines("").empty());
}

}  // namespace
}  // namespace vardo
