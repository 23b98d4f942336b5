#include "IniText.h"

#include <gtest/gtest.h>

namespace vardo {
namespace {

TEST(IniTextTest, Find_MatchesNamesWithoutRegardToCaseOrBlanks) {
    const std::string file = "[start]\r\n  ChkMin  =  YES  \r\nchkSure=\r\n";
    EXPECT_EQ(IniFindValue(file, "START", "chkMin"), "YES");
    EXPECT_EQ(IniFindValue(file, "Start", "CHKSURE"), "");
    EXPECT_EQ(IniFindValue(file, "START", "chkShutTask"), std::nullopt);
    EXPECT_EQ(IniFindValue(file, "OTHER", "chkMin"), std::nullopt);
}

TEST(IniTextTest, Find_FirstMatchingKeyWinsAndOtherSectionsDoNotLeak) {
    const std::string file = "a=0\n[X]\nk=x\n[START]\nk=1\nK=2\n[START]\nk=3\n";
    EXPECT_EQ(IniFindValue(file, "START", "k"), "1");
    EXPECT_EQ(IniFindValue(file, "X", "k"), "x");
    EXPECT_EQ(IniFindValue(file, "START", "a"), std::nullopt);
}

TEST(IniTextTest, LineEnds_CrLfLfAndLoneCrAllEndALineAndAreKept) {
    const std::string file = "[START]\rchkMin=YES\rchkSure=NO\n[X]\r\nk=1";
    EXPECT_EQ(IniFindValue(file, "START", "chkMin"), "YES");
    EXPECT_EQ(IniFindValue(file, "START", "chkSure"), "NO");
    EXPECT_EQ(IniFindValue(file, "X", "k"), "1");
    EXPECT_EQ(IniSetValue(file, "START", "chkMin", "NO"),
              "[START]\rchkMin=NO\rchkSure=NO\n[X]\r\nk=1");
}

TEST(IniTextTest, BracketWithoutClose_OpensNoSection) {
    const std::string file = "[START]\r\n[oops\r\nchkMin=YES\r\n";
    EXPECT_EQ(IniFindValue(file, "START", "chkMin"), "YES");
    EXPECT_EQ(IniSetValue(file, "START", "chkMin", "NO"), "[START]\r\n[oops\r\nchkMin=NO\r\n");
}

TEST(IniTextTest, Find_StripsMatchingQuotesAndKeepsInnerEquals) {
    const std::string file = "[S]\nq=\"a b\"\nh='x'\nm=\"a'\ne=a=b\n";
    EXPECT_EQ(IniFindValue(file, "S", "q"), "a b");
    EXPECT_EQ(IniFindValue(file, "S", "h"), "x");
    EXPECT_EQ(IniFindValue(file, "S", "m"), "\"a'");
    EXPECT_EQ(IniFindValue(file, "S", "e"), "a=b");
}

TEST(IniTextTest, Find_ReadsGb18030AndUtf8Files) {
    EXPECT_EQ(IniFindValue("[START]\r\ncbskn=\xC0\xB6.skn\r\n", "START", "cbskn"), "蓝.skn");
    EXPECT_EQ(IniFindValue("[START]\r\ncbskn=蓝.skn\r\n", "START", "cbskn"), "蓝.skn");
}

TEST(IniTextTest, Utf8ByteOrderMark_IsNoPartOfTheFirstSectionName) {
    const std::string file = "\xEF\xBB\xBF[START]\r\nchkMin=YES\r\n";
    EXPECT_EQ(IniFindValue(file, "START", "chkMin"), "YES");
    EXPECT_EQ(IniSetValue(file, "START", "chkMin", "NO"), "\xEF\xBB\xBF[START]\r\nchkMin=NO\r\n");
}

TEST(IniTextTest, Set_ReplacesValueInPlaceKeepingOtherLinesByteForByte) {
    const std::string file =
        "; comment \xB7\xF1\r\n[Other]\r\nchkMin=NO\r\n\r\n[START]\r\n  chkMin = NO "
        "\r\nx=1\n[Z]\r\n";
    EXPECT_EQ(
        IniSetValue(file, "start", "CHKMIN", "YES"),
        "; comment \xB7\xF1\r\n[Other]\r\nchkMin=NO\r\n\r\n[START]\r\nchkMin=YES\r\nx=1\n[Z]\r\n");
}

TEST(IniTextTest, Set_AddsMissingKeyAfterTheSectionsLastEntry) {
    const std::string file = "[START]\r\na=1\r\n\r\n[Other]\r\nb=2\r\n";
    EXPECT_EQ(IniSetValue(file, "START", "c", "3"),
              "[START]\r\na=1\r\nc=3\r\n\r\n[Other]\r\nb=2\r\n");
    EXPECT_EQ(IniSetValue("[START]", "START", "c", "3"), "[START]\r\nc=3\r\n");
}

TEST(IniTextTest, Set_CreatesSectionAndFile) {
    EXPECT_EQ(IniSetValue("", "START", "chkMin", "YES"), "[START]\r\nchkMin=YES\r\n");
    EXPECT_EQ(IniSetValue("[A]\r\nb=1", "START", "k", "v"), "[A]\r\nb=1\r\n[START]\r\nk=v\r\n");
}

TEST(IniTextTest, Set_EncodesAsTheFileIsAndCutsValueAtLineEnd) {
    EXPECT_EQ(IniSetValue("", "START", "LastOrloJM", "/d/任务.tab"),
              "[START]\r\nLastOrloJM=/d/\xC8\xCE\xCE\xF1.tab\r\n");
    EXPECT_EQ(IniSetValue("[START]\r\ncbskn=蓝.skn\r\n", "START", "k", "任务"),
              "[START]\r\ncbskn=蓝.skn\r\nk=任务\r\n");
    EXPECT_EQ(IniSetValue("", "S", "k", "a\r\nb=c"), "[S]\r\nk=a\r\n");
}

}  // namespace
}  // namespace vardo
