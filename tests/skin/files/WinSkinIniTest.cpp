#include "WinSkinIni.h"

#include <gtest/gtest.h>

namespace vardo {
namespace {

TQuickIni Load(std::string_view text) {
    TQuickIni ini;
    ini.LoadFromStream(text);
    return ini;
}

TEST(WinSkinIniTest, Lookup_IgnoresCaseOfKeysAndSectionHeaders) {
    const TQuickIni ini = Load("[personality]\r\nMENUBAR = menu.bmp \r\n[Buttons]\r\nTile=1\r\n");
    EXPECT_EQ(ini.ReadString("Personality", "menuBar", "-"), "menu.bmp");
    EXPECT_EQ(ini.ReadString("PERSONALITY", "Tile", "-"), "-");  // not in this section
    EXPECT_EQ(ini.ReadString("Buttons", "tile", "-"), "1");
    EXPECT_EQ(ini.ReadString("Missing", "tile", "-"), "-");
}

TEST(WinSkinIniTest, FirstLineWithTheKeyWins_EvenWhenItsValueIsEmpty) {
    const TQuickIni ini = Load("[S]\nA=\nA=2\nB=1\nb=2\n[S]\nC=3\n");
    EXPECT_EQ(ini.ReadString("S", "a", "def"), "def");
    EXPECT_EQ(ini.ReadInteger("S", "A", 7), 7);
    EXPECT_EQ(ini.ReadString("S", "B", "def"), "1");
    EXPECT_EQ(ini.ReadString("S", "C", "def"), "def");  // only the first "[S]" is searched
}

TEST(WinSkinIniTest, Integers_DecimalOrHexAfter0x) {
    const TQuickIni ini = Load(
        "[N]\nhex=0x1F\nHEX2=0XfF00fF\nbare=1F\nneg=-12\nplus=+5\nx=0x\nbig=99999999999\n"
        "allbits=0xFFFFFFFF\nspace=1 2\n");
    EXPECT_EQ(ini.ReadInteger("N", "hex", -1), 31);
    EXPECT_EQ(ini.ReadInteger("N", "hex2", -1), 0xFF00FF);
    EXPECT_EQ(ini.ReadInteger("N", "bare", -1), -1);
    EXPECT_EQ(ini.ReadInteger("N", "neg", -1), -12);
    EXPECT_EQ(ini.ReadInteger("N", "plus", -1), 5);
    EXPECT_EQ(ini.ReadInteger("N", "x", -1), -1);
    EXPECT_EQ(ini.ReadInteger("N", "big", -1), -1);
    EXPECT_EQ(ini.ReadInteger("N", "allbits", 0), -1);
    EXPECT_EQ(ini.ReadInteger("N", "space", -3), -3);
    EXPECT_EQ(ini.ReadInteger("N", "absent", 4), 4);
}

TEST(WinSkinIniTest, Parsing_LineEndsCommentsTrimmingAndNul) {
    std::string text = "\t[ A ]\r\r\n; k=comment\rk\t=\tv=w \n\n=anon\rnokey\r\n";
    text += std::string("[B]\nafter=1\0[C]\nhidden=1\n", 25);
    const TQuickIni ini = Load(text);
    EXPECT_EQ(ini.ReadString(" A ", "k", "-"), "v=w");
    EXPECT_EQ(ini.ReadString("A", "k", "-"), "-");  // spaces inside the brackets count
    EXPECT_EQ(ini.ReadString(" a ", "", "-"), "anon");
    EXPECT_EQ(ini.ReadString("B", "after", "-"), "1");
    EXPECT_EQ(ini.ReadString("C", "hidden", "-"), "-");
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"A", "B"}));
}

TEST(WinSkinIniTest, Reload_ReplacesTheEarlierText) {
    TQuickIni ini;
    ini.LoadFromStream("[Old]\nk=1\n");
    ini.LoadFromStream("[New]\nk=2\n");
    EXPECT_EQ(ini.ReadString("Old", "k", "-"), "-");
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"New"}));
}

}  // namespace
}  // namespace vardo
