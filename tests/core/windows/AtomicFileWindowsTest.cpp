#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "AtomicFile.h"
#include "TempFolder.h"
#include "Utf8Path.h"

namespace vardo {
namespace {

namespace fs = std::filesystem;

size_t EntryCount(const std::string& folder) {
    return static_cast<size_t>(
        std::distance(fs::directory_iterator(Utf8Path(folder)), fs::directory_iterator()));
}

// Names outside the ANSI code page (Chinese on a Western system, as under Wine here) reach the
// disk as they are, and the file is replaced without a temporary file left beside it.
TEST(AtomicFileWindowsTest, Write_ReplacesAFileWithAChineseNameInAChineseFolder) {
    test::TempFolder base;
    const std::string folder = base.File("数据");
    ASSERT_TRUE(fs::create_directory(Utf8Path(folder)));
    const std::string path = folder + "/星期一.tab";
    ASSERT_TRUE(WriteFileAtomically(path, "first"));
    ASSERT_TRUE(WriteFileAtomically(path, "second\r\n"));
    EXPECT_EQ(test::ReadBytes(path), "second\r\n");
    // The name on disk is the wide name itself.
    EXPECT_TRUE(fs::exists(Utf8Path(folder) / L"\u661f\u671f\u4e00.tab"));
    EXPECT_EQ(EntryCount(folder), 1u);
    std::error_code error;
    EXPECT_EQ(ReadFileBytes(path, error), "second\r\n");
    EXPECT_FALSE(error);
}

TEST(AtomicFileWindowsTest, Write_RefusesAReadOnlyFileAndKeepsIt) {
    test::TempFolder folder;
    const std::string path = folder.File("VARDO.INI");
    test::WriteBytes(path, "old");
    ASSERT_TRUE(::SetFileAttributesW(Utf8Path(path).c_str(), FILE_ATTRIBUTE_READONLY));
    const WriteResult result = WriteFileAtomically(path, "new");
    EXPECT_FALSE(result);
    EXPECT_EQ(result.error.rfind(path + ": ", 0), 0u);
    EXPECT_EQ(test::ReadBytes(path), "old");
    EXPECT_EQ(EntryCount(folder.path()), 1u);
    ::SetFileAttributesW(Utf8Path(path).c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The replaced file keeps its attributes (a hidden settings file stays hidden).
TEST(AtomicFileWindowsTest, Write_KeepsTheAttributesOfTheReplacedFile) {
    test::TempFolder folder;
    const std::string path = folder.File("a.ini");
    test::WriteBytes(path, "old");
    ASSERT_TRUE(::SetFileAttributesW(Utf8Path(path).c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(WriteFileAtomically(path, "new"));
    EXPECT_EQ(test::ReadBytes(path), "new");
    EXPECT_TRUE(::GetFileAttributesW(Utf8Path(path).c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

TEST(AtomicFileWindowsTest, WriteAndRead_RefuseAFolderAndTellAMissingFile) {
    test::TempFolder folder;
    EXPECT_FALSE(WriteFileAtomically(folder.path(), "x"));
    std::error_code error;
    EXPECT_EQ(ReadFileBytes(folder.path(), error), "");
    EXPECT_EQ(error, std::errc::is_a_directory);
    EXPECT_EQ(ReadFileBytes(folder.File("none.tab"), error), "");
    EXPECT_EQ(error, std::errc::no_such_file_or_directory);
}

// A temporary file of a process that is gone (a write killed before its rename) is removed by the
// first write into the folder; one of a running process stays.
TEST(AtomicFileWindowsTest, Write_RemovesTheTemporaryFilesOfEndedProcesses) {
    test::TempFolder folder;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION ended{};
    wchar_t command[] = L"cmd.exe /c exit 0";
    ASSERT_TRUE(::CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                                 nullptr, nullptr, &startup, &ended));
    ::WaitForSingleObject(ended.hProcess, INFINITE);
    const std::string left = folder.File(".vardo-" + std::to_string(ended.dwProcessId) + "-0.tmp");
    ::CloseHandle(ended.hThread);
    ::CloseHandle(ended.hProcess);
    const std::string alive =
        folder.File(".vardo-" + std::to_string(::GetCurrentProcessId()) + "-999.tmp");
    test::WriteBytes(left, "half");
    test::WriteBytes(alive, "mine");
    ASSERT_TRUE(WriteFileAtomically(folder.File("a.tab"), "whole"));
    EXPECT_FALSE(fs::exists(Utf8Path(left)));
    EXPECT_TRUE(fs::exists(Utf8Path(alive)));
}

}  // namespace
}  // namespace vardo
