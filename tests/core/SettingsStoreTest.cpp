#include "SettingsStore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "TempFolder.h"

namespace vardo {
namespace {

TEST(SettingsStoreTest, SettingsFilePath_UpperCasesOnlyTheFileName) {
    EXPECT_EQ(SettingsFilePath("/opt/vardo/vardo"), "/opt/vardo/VARDO.INI");
    EXPECT_EQ(SettingsFilePath("/opt/apps/tool.exe"), "/opt/apps/TOOL.INI");
    EXPECT_EQ(SettingsFilePath("/opt/任务/Vardo-2.bin"), "/opt/任务/VARDO-2.INI");
    EXPECT_EQ(SettingsFilePath("/opt/v1.5/vardo"), "/opt/v1.5/VARDO.INI");
    EXPECT_EQ(SettingsFilePath("/opt/.vardo"), "/opt/.VARDO.INI");
}

TEST(SettingsStoreTest, IsYes_AcceptsOnlyYesAndTrueInAnyCase) {
    for (const char* yes : {"YES", "yes", "Yes", "True", "TRUE", "true"})
        EXPECT_TRUE(IsYes(yes)) << yes;
    for (const char* no : {"Y", "1", "NO", "", " YES", "YES "}) EXPECT_FALSE(IsYes(no)) << no;
    EXPECT_EQ(YesNoText(true), "YES");
    EXPECT_EQ(YesNoText(false), "NO");
}

TEST(SettingsStoreTest, TransDegree_KeepsLowByteAndAtLeast128) {
    EXPECT_EQ(TransDegreeFromText("200"), 200);
    EXPECT_EQ(TransDegreeFromText("100"), 128);
    EXPECT_EQ(TransDegreeFromText("300"), 128);
    EXPECT_EQ(TransDegreeFromText("400"), 144);
    EXPECT_EQ(TransDegreeFromText("-1"), 255);
    EXPECT_EQ(TransDegreeFromText("abc"), 255);
    EXPECT_EQ(TransDegreeFromText(""), 255);
    EXPECT_EQ(TransDegreeFromText("99999999999"), 255);
}

TEST(SettingsStoreTest, StoredTime_NormalisesAndRejectsWhatIsNoTimeOfDay) {
    EXPECT_EQ(StoredTimeSeconds("7:5:0"), 7 * 3600 + 5 * 60);
    EXPECT_EQ(StoredTimeSeconds("15:30:00"), 55800);
    EXPECT_EQ(StoredTimeSeconds("0:90"), 5400);
    EXPECT_EQ(StoredTimeSeconds("garbage"), 0);
    EXPECT_EQ(StoredTimeSeconds("23:59:59"), 86399);
    EXPECT_EQ(StoredTimeSeconds("24:00:00"), std::nullopt);
    EXPECT_EQ(StoredTimeSeconds("0:0:-1"), std::nullopt);
    EXPECT_EQ(StoredTimeSeconds(""), std::nullopt);
}

TEST(SettingsStoreTest, Reads_MissingFileOrKeyGiveDefaults) {
    test::TempFolder folder;
    const std::string file = folder.File("VARDO.INI");
    EXPECT_EQ(ReadSetting(file, kSettingsSection, "chkMin"), "");
    EXPECT_EQ(ReadSettingDef(file, kSettingsSection, "chkShutTask", "YES"), "YES");
    EXPECT_EQ(ReadTransDegree(file, kSettingsSection, "TransDegree"), 255);
    EXPECT_EQ(ReadSettingTime(file, kSettingsSection, "TimePicker"), std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(SettingsStoreTest, Write_CreatesFileThenReplacesInPlaceKeepingEverythingElse) {
    test::TempFolder folder;
    const std::string file = folder.File("VARDO.INI");
    WriteSetting(file, kSettingsSection, "chkMin", "YES");
    EXPECT_EQ(test::ReadBytes(file), "[START]\r\nchkMin=YES\r\n");

    test::WriteBytes(file,
                     "; kept\r\n[START]\r\n chkmin = YES\r\nTimePicker=7:5:0\r\n[Mine]\r\nx=1\r\n");
    WriteSetting(file, kSettingsSection, "CHKMIN", "NO");
    WriteSetting(file, kSettingsSection, "cbskn", "蓝.skn");
    EXPECT_EQ(test::ReadBytes(file),
              "; "
              "kept\r\n[START]\r\nchkmin=NO\r\nTimePicker=7:5:0\r\ncbskn=\xC0\xB6.skn\r\n[Mine]"
              "\r\nx=1\r\n");
    EXPECT_EQ(ReadSetting(file, "start", "ChkMin"), "NO");
    EXPECT_EQ(ReadSetting(file, kSettingsSection, "cbskn"), "蓝.skn");
    EXPECT_EQ(ReadSettingTime(file, kSettingsSection, "TimePicker"), 7 * 3600 + 5 * 60);
}

TEST(SettingsStoreTest, Write_ToUnwritablePathRaisesUnableToWrite) {
    test::TempFolder folder;
    const std::string blocker = folder.File("plain");
    test::WriteBytes(blocker, "x");
    for (const std::string& file : {blocker + "/VARDO.INI", folder.path()}) {
        try {
            WriteSetting(file, kSettingsSection, "chkMin", "YES");
            ADD_FAILURE() << "no error for " << file;
        } catch (const SettingsWriteError& error) {
            EXPECT_EQ(std::string(error.what()), "Unable to write to " + file);
            EXPECT_EQ(error.path(), file);
        }
    }
}

// Root passes every permission check, but a file without write bits still counts as read-only.
TEST(SettingsStoreTest, Write_InReadOnlyFolderRaisesAndKeepsTheFile) {
    test::TempFolder folder;
    const std::string file = folder.File("VARDO.INI");
    test::WriteBytes(file, "[START]\r\nchkMin=YES\r\n");
    ::chmod(file.c_str(), 0444);
    ::chmod(folder.path().c_str(), 0555);
    EXPECT_THROW(WriteSetting(file, kSettingsSection, "chkMin", "NO"), SettingsWriteError);
    EXPECT_EQ(ReadSetting(file, kSettingsSection, "chkMin"), "YES");
    EXPECT_NO_THROW(WriteSetting(file, kSettingsSection, "chkMin", "YES"))
        << "the value it holds needs no write";
}

}  // namespace
}  // namespace vardo
