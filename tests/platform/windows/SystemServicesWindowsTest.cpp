#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "ProgramPlace.h"
#include "SystemServices.h"
#include "TempFolder.h"
#include "UserFolders.h"
#include "Utf8Path.h"
#include "WideText.h"

namespace vardo::platform {
namespace {

TEST(SystemServicesWindowsTest, CounterProgramPathAndFontSmoothingAreTheSystems) {
    EXPECT_TRUE(HasHighResolutionCounter());
    const std::filesystem::path program = Utf8Path(ProgramFilePath());
    EXPECT_EQ(program.filename(), L"platform_windows_tests.exe");
    EXPECT_TRUE(std::filesystem::is_regular_file(program));

    BOOL before = FALSE;
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETFONTSMOOTHING, 0, &before, 0));
    SetFontSmoothing(!before);
    BOOL now = before;
    ::SystemParametersInfoW(SPI_GETFONTSMOOTHING, 0, &now, 0);
    EXPECT_EQ(now != FALSE, before == FALSE);
    SetFontSmoothing(before != FALSE);
}

// The installed program's folder lies in the user's local application data, written with '/'.
TEST(SystemServicesWindowsTest, DataFolderIsTheLocalApplicationData) {
    wchar_t local[MAX_PATH * 4] = {};
    ASSERT_GT(::GetEnvironmentVariableW(L"LOCALAPPDATA", local, MAX_PATH * 4), 0u);
    EXPECT_EQ(std::filesystem::path(Utf8Path(DataFolder())), std::filesystem::path(local));
    EXPECT_EQ(DataFolder().find('\\'), std::string::npos);
}

// One build serves the zip and the installer: the installer's marker beside the program file
// moves the operator's files to %LOCALAPPDATA%/Vardo/, and the shipped skins come after the
// operator's own; without it everything stays beside the program.
TEST(SystemServicesWindowsTest, TheInstallersMarker_ChoosesTheInstalledPlace) {
    test::TempFolder folder;
    const std::string program = folder.File("程序/vardo.exe");
    std::filesystem::create_directories(Utf8Path(folder.File("程序")));
    test::WriteBytes(program, "");

    const ProgramPlace portable = MarkedPlace(program);
    EXPECT_EQ(std::filesystem::path(Utf8Path(portable.folder)),
              std::filesystem::path(Utf8Path(folder.File("程序/"))));

    test::WriteBytes(folder.File("程序/vardo.installed"), "");
    const ProgramPlace installed = MarkedPlace(program);
    EXPECT_EQ(installed.programFile, program);
    EXPECT_EQ(installed.folder, DataFolder() + "/Vardo/");
    EXPECT_EQ(installed.settingsFile, DataFolder() + "/Vardo/VARDO.INI");
    ASSERT_EQ(installed.skinFolders.size(), 2u);
    EXPECT_EQ(installed.skinFolders[0], DataFolder() + "/Vardo/Skins/");
    EXPECT_EQ(std::filesystem::path(Utf8Path(installed.skinFolders[1])),
              std::filesystem::path(Utf8Path(folder.File("程序/Skins/"))));
}

}  // namespace
}  // namespace vardo::platform
