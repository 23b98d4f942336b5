#include "AutoStart.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "PlatformTestSupport.h"

namespace vardo::platform {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::ScopedEnvironment;
using test::TempFolder;

class AutoStartTest : public ::testing::Test {
  protected:
    std::string EntryPath() const { return config_.File("autostart/AutoTask.desktop"); }
    void WriteEntry(const std::string& text) {
        fs::create_directories(config_.File("autostart"));
        std::ofstream(EntryPath()) << text;
    }

    TempFolder config_;
    ScopedEnvironment configHome_{"XDG_CONFIG_HOME", config_.path()};
};

TEST_F(AutoStartTest, AutoStartEntryPath_FollowsXdgConfigHome) {
    EXPECT_EQ(AutoStartEntryPath("AutoTask"), EntryPath());
}

TEST_F(AutoStartTest, AutoStartEntryPath_UnsetOrRelativeConfigHome_UsesHomeConfig) {
    TempFolder home;
    ScopedEnvironment homeVariable("HOME", home.path());
    for (const std::optional<std::string>& value :
         {std::optional<std::string>{}, std::optional<std::string>{"relative/dir"}}) {
        ScopedEnvironment config("XDG_CONFIG_HOME", value);
        EXPECT_EQ(AutoStartEntryPath("AutoTask"), home.File(".config/autostart/AutoTask.desktop"));
    }
}

TEST_F(AutoStartTest, RegWriteText_ThenRegReadEquals_RoundTripsThePath) {
    const std::string program = "/opt/vardo/vardo";
    EXPECT_FALSE(RegReadEquals("AutoTask", program));
    ASSERT_TRUE(RegWriteText("AutoTask", program));
    EXPECT_TRUE(RegReadEquals("AutoTask", program));
    const std::string text = ReadBytes(EntryPath());
    EXPECT_EQ(text.rfind("[Desktop Entry]\n", 0), 0u);
    EXPECT_NE(text.find("\nType=Application\n"), std::string::npos);
    EXPECT_NE(text.find("\nExec=/opt/vardo/vardo\n"), std::string::npos);
}

TEST_F(AutoStartTest, RegWriteText_PathWithBlanksAndReservedCharacters_IsQuotedAndReadBack) {
    const std::string program = "/opt/my apps/va$r\"do\\100%";
    ASSERT_TRUE(RegWriteText("AutoTask", program));
    EXPECT_TRUE(RegReadEquals("AutoTask", program));
    EXPECT_NE(ReadBytes(EntryPath()).find(R"(Exec="/opt/my apps/va\\$r\\"do\\\\100%%")"),
              std::string::npos);
}

TEST_F(AutoStartTest, RegReadEquals_ComparesExactly) {
    ASSERT_TRUE(RegWriteText("AutoTask", "/opt/Vardo/vardo"));
    EXPECT_FALSE(RegReadEquals("AutoTask", "/opt/vardo/vardo"));
    EXPECT_FALSE(RegReadEquals("AutoTask", "/opt/Vardo/vardo "));
    EXPECT_FALSE(RegReadEquals("OtherTask", "/opt/Vardo/vardo"));
}

TEST_F(AutoStartTest, RegReadEquals_ForeignEntries_AreReadByTheirMeaning) {
    WriteEntry("[Desktop Entry]\r\nName=x\r\nExec = /opt/vardo/vardo\r\n");
    EXPECT_TRUE(RegReadEquals("AutoTask", "/opt/vardo/vardo"));
    WriteEntry("[Desktop Entry]\nExec=/opt/vardo/vardo --minimised\n");
    EXPECT_FALSE(RegReadEquals("AutoTask", "/opt/vardo/vardo"));
    WriteEntry("[Desktop Entry]\nExec=/opt/vardo/vardo\nHidden=true\n");
    EXPECT_FALSE(RegReadEquals("AutoTask", "/opt/vardo/vardo"));
    WriteEntry("[Other Group]\nExec=/opt/vardo/vardo\n");
    EXPECT_FALSE(RegReadEquals("AutoTask", "/opt/vardo/vardo"));
    WriteEntry("[Desktop Entry]\nExec=\"/opt/vardo/vardo\n");
    EXPECT_FALSE(RegReadEquals("AutoTask", "/opt/vardo/vardo"));
}

TEST_F(AutoStartTest, RegDeleteName_RemovesTheEntryAndToleratesAbsence) {
    ASSERT_TRUE(RegWriteText("AutoTask", "/opt/vardo/vardo"));
    RegDeleteName("AutoTask");
    EXPECT_FALSE(fs::exists(EntryPath()));
    EXPECT_FALSE(RegReadEquals("AutoTask", "/opt/vardo/vardo"));
    RegDeleteName("AutoTask");
}

TEST_F(AutoStartTest, RegWriteText_FolderCannotBeMade_LeavesEverythingAsItIs) {
    std::ofstream(config_.File("autostart")) << "a file where the folder should be";
    EXPECT_FALSE(RegWriteText("AutoTask", "/opt/vardo/vardo"));
    EXPECT_EQ(ReadBytes(config_.File("autostart")), "a file where the folder should be");
    EXPECT_FALSE(RegReadEquals("AutoTask", "/opt/vardo/vardo"));
}

TEST_F(AutoStartTest, RegWriteText_EntryCannotBeReplaced_KeepsTheOldEntry) {
    WriteEntry("[Desktop Entry]\nExec=/old/program\n");
    fs::permissions(EntryPath(),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_FALSE(RegWriteText("AutoTask", "/opt/vardo/vardo"));
    EXPECT_TRUE(RegReadEquals("AutoTask", "/old/program"));
    EXPECT_EQ(
        std::distance(fs::directory_iterator(config_.File("autostart")), fs::directory_iterator()),
        1)
        << "no temporary file is left behind";
}

}  // namespace
}  // namespace vardo::platform
