#include "TColor.h"

#include <gtest/gtest.h>
#include <QGuiApplication>
#include <QPalette>

namespace vardo::test {

TEST(TColorTest, ColorToQColor_RedInLowestByte_SystemIndexesFromPalette) {
    EXPECT_EQ(ColorToQColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(ColorToQColor(clBlue), QColor(0, 0, 255));
    EXPECT_EQ(ColorToQColor(0x123456), QColor(0x56, 0x34, 0x12));
    const QPalette palette = QGuiApplication::palette();
    EXPECT_EQ(ColorToQColor(clBtnHighlight), palette.color(QPalette::Light));
    EXPECT_EQ(ColorToQColor(clBtnShadow), palette.color(QPalette::Mid));
}

TEST(TColorTest, SystemColour_EitherEncodingOfTheIndexResolvesToTheSamePaletteColour) {
    const QPalette palette = QGuiApplication::palette();
    for (const TColor index : {0u, 4u, 8u, 15u, 16u, 18u, 21u}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(ColorToQColor(0x80000000u | index), ColorToQColor(SystemColorFlag | index));
        EXPECT_EQ(ColorToRGB(0x80000000u | index), ColorToRGB(SystemColorFlag | index));
    }
    EXPECT_EQ(ColorToQColor(0x80000000u | 16), palette.color(QPalette::Mid));
    EXPECT_EQ(ColorToQColor(clMenu), palette.color(QPalette::Window));
}

TEST(TColorTest, DimColor_DividesEachComponentAndTruncates_SaturatesBelowFactorOne) {
    EXPECT_EQ(DimColor(RGBColor(200, 101, 7), 2.0), RGBColor(100, 50, 3));
    EXPECT_EQ(DimColor(clWhite, 1.15), RGBColor(221, 221, 221));
    EXPECT_EQ(DimColor(RGBColor(200, 100, 0), 0.5), RGBColor(255, 200, 0));
}

}  // namespace vardo::test
