#include "SkinColours.h"
#include "SkinModelSupport.h"

#include <gtest/gtest.h>

namespace vardo {
namespace {

TEST(ColourValue, ReadsThreeNumbersWhateverSeparatesThem) {
    EXPECT_EQ(ParseColourValue("10 20 30"), RGBColor(10, 20, 30));
    EXPECT_EQ(ParseColourValue(" 10,20,30 "), RGBColor(10, 20, 30));
    EXPECT_EQ(ParseColourValue("10, 20 ,30,40"), RGBColor(10, 20, 30));
    EXPECT_EQ(ParseColourValue("-1 2 3"), RGBColor(1, 2, 3));  // a minus sign only separates
}

TEST(ColourValue, MissingNumbersCountZeroAndLargeOnesCountFull) {
    EXPECT_EQ(ParseColourValue("200"), RGBColor(200, 0, 0));
    EXPECT_EQ(ParseColourValue("7 8"), RGBColor(7, 8, 0));
    EXPECT_EQ(ParseColourValue("none"), RGBColor(0, 0, 0));
    EXPECT_EQ(ParseColourValue("300 99999999999999 1"), RGBColor(255, 255, 1));
}

TEST(ColourValue, ColoursSectionReadsEachKeyWithItsDefault) {
    const auto model = test::ReadModel(
        "[colours]\r\nBUTTONFACE=10,20,30\r\nMenuText=5\r\n"
        "[Colour1]\r\ncolor=1 2 3\r\n[Colours2]\r\ncolor=4 5 6\r\n[Colour]\r\n"
        "[Customcolors]\r\nColor3=9 9 9\r\n");
    EXPECT_EQ(model->Colours.ButtonFace, RGBColor(10, 20, 30));
    EXPECT_EQ(model->Colours.Menubar, RGBColor(10, 20, 30));  // follows the skin's ButtonFace
    EXPECT_EQ(model->Colours.MenuText, RGBColor(5, 0, 0));
    EXPECT_EQ(model->Colours.WindowText, clWindowText);
    // "Colour1", "Colours2" and "Colour" are numbered colours; only "Colours" itself is not.
    ASSERT_EQ(model->Colours.Numbered.size(), 3);
    EXPECT_EQ(model->Colours.Numbered[0], RGBColor(1, 2, 3));
    EXPECT_EQ(model->Colours.Numbered[1], RGBColor(4, 5, 6));
    EXPECT_EQ(model->Colours.Numbered[2], clWindowText);
    EXPECT_EQ(model->Colours.Custom[3], RGBColor(9, 9, 9));
    EXPECT_EQ(model->Colours.Custom[0], clWhite);
    EXPECT_EQ(model->ButtonFaceBrush.color(), QColor(10, 20, 30));
}

TEST(Blend, MixesPerHundredBelowOneHundredAndPerThousandFromThere) {
    EXPECT_EQ(Blend(RGBColor(255, 0, 100), RGBColor(0, 255, 100), 50), RGBColor(128, 128, 100));
    EXPECT_EQ(Blend(RGBColor(255, 255, 255), RGBColor(0, 0, 0), 99), RGBColor(252, 252, 252));
    // 150 per thousand of grey into white: (150 * 128 + 850 * 255 + 500) / 1000.
    EXPECT_EQ(Blend(0x808080, clWhite, 150), RGBColor(236, 236, 236));
    EXPECT_EQ(Blend(RGBColor(10, 20, 30), RGBColor(90, 80, 70), 0), RGBColor(90, 80, 70));
    EXPECT_EQ(Blend(clBtnFace, clBtnFace, 30), ColorToRGB(clBtnFace));  // system colours resolve
}

TEST(Gradient, RunsFromFirstToLastColourRoundedToTheNearestStep) {
    TGradientCache cache;
    const QList<QRgb> rising = cache.Gradient(5, RGBColor(0, 10, 200), RGBColor(100, 10, 0));
    ASSERT_EQ(rising.size(), 5);
    EXPECT_EQ(rising[0], qRgb(0, 10, 200));
    EXPECT_EQ(rising[1], qRgb(25, 10, 150));
    EXPECT_EQ(rising[2], qRgb(50, 10, 100));
    EXPECT_EQ(rising[4], qRgb(100, 10, 0));
    const QList<QRgb> falling = cache.Gradient(4, RGBColor(100, 0, 0), RGBColor(0, 0, 0));
    EXPECT_EQ(falling,
              (QList<QRgb>{qRgb(100, 0, 0), qRgb(67, 0, 0), qRgb(33, 0, 0), qRgb(0, 0, 0)}));
    EXPECT_EQ(cache.Gradient(1, RGBColor(1, 2, 3), RGBColor(9, 9, 9)), QList<QRgb>{qRgb(1, 2, 3)});
    EXPECT_TRUE(cache.Gradient(0, RGBColor(1, 2, 3), RGBColor(9, 9, 9)).isEmpty());
}

TEST(Gradient, KeepsTheLastSixteenTables) {
    TGradientCache cache;
    const QList<QRgb> first = cache.Gradient(40, RGBColor(0, 0, 0), clWhite);
    EXPECT_EQ(cache.Gradient(40, RGBColor(0, 0, 0), clWhite).constData(), first.constData());
    for (int i = 1; i <= 16; ++i) cache.Gradient(40, RGBColor(i, 0, 0), clWhite);
    const QList<QRgb> again = cache.Gradient(40, RGBColor(0, 0, 0), clWhite);
    EXPECT_NE(again.constData(), first.constData());
    EXPECT_EQ(again, first);
}

}  // namespace
}  // namespace vardo
