#include "MyShapeText.h"

#include <gtest/gtest.h>

namespace vardo::test {

TEST(MyShapeText, Fields_AreFoundLeftToRightWithoutOverlap) {
    EXPECT_EQ(FieldCount(QString(), QStringLiteral(",")), 0);
    EXPECT_EQ(FieldCount(QStringLiteral("a"), QStringLiteral(",")), 1);
    EXPECT_EQ(FieldCount(QStringLiteral("a,,b,"), QStringLiteral(",")), 4);
    EXPECT_EQ(FieldCount(QStringLiteral("a~~~b"), QStringLiteral("~~")), 2);
    EXPECT_EQ(FieldAt(QStringLiteral("a~~~b"), QStringLiteral("~~"), 2), QStringLiteral("~b"));
    EXPECT_EQ(FieldAt(QStringLiteral("a,b,c"), QStringLiteral(","), 3), QStringLiteral("c"));
    EXPECT_EQ(FieldAt(QStringLiteral("a,b,c"), QStringLiteral(","), 0), QString());
    EXPECT_EQ(FieldAt(QStringLiteral("a,b,c"), QStringLiteral(","), 4), QString());
}

TEST(MyShapeText, FontSpecs_RoundTrip_AndFallBackToTheirDefaults) {
    TextFont plain{QFont(QStringLiteral("宋体")), 0xFFFFFF};
    plain.SetSize(9);
    EXPECT_EQ(FontToSpec(plain), QStringLiteral("宋体;9;255;255;255;;"));

    TextFont styled{QFont(QStringLiteral("Sans")), RGBColor(1, 2, 3)};
    styled.SetSize(12);
    styled.font.setBold(true);
    styled.font.setItalic(true);
    TextFont read;
    SpecToFont(FontToSpec(styled), read);
    EXPECT_EQ(FontToSpec(read), QStringLiteral("Sans;12;1;2;3;fsBold,fsItalic;"));

    SpecToFont(QStringLiteral(";x"), read);
    EXPECT_EQ(FontToSpec(read), QStringLiteral("黑体;22;255;0;0;;"));

    EXPECT_EQ(SpecToColor(QStringLiteral("1;x")), RGBColor(1, 255, 255));
    EXPECT_EQ(SpecToColor(QString()), clWhite);
}

}  // namespace vardo::test
