#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "SystemServices.h"
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

}  // namespace
}  // namespace vardo::platform
