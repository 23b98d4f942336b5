#include "Win32Processes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "TempFolder.h"
#include "WinTestClient.h"

namespace vardo::platform {
namespace {

using std::chrono::milliseconds;

// Waits until the process behind handle has ended, and returns the last query.
ExitQuery WaitForExit(Processes& processes, ProcessHandle handle) {
    ExitQuery query = processes.GetExitCodeProcess(handle);
    for (int i = 0; i < 1000 && query.succeeded && query.running; ++i) {
        std::this_thread::sleep_for(milliseconds(20));
        query = processes.GetExitCodeProcess(handle);
    }
    return query;
}

TEST(Win32ProcessesTest, Create_RunsInTheFolderWithTheArgumentsAsWindowsSplitsThem) {
    test::TempFolder folder;
    const std::string work = folder.File("工作 目录");
    ASSERT_TRUE(std::filesystem::create_directory(Utf8Path(work)));
    Win32Processes processes;
    ProcessInformation info;
    ASSERT_TRUE(processes.CreateProcess(
        test::WinTestClientCommand("--write-cwd cwd.txt --write-args args.txt \"二 词\" 一 "
                                   "--lifetime 0"),
        work + "/", false, info))
        << processes.LastCreateError();
    EXPECT_NE(info.processHandle, 0);
    EXPECT_GT(info.processId, 0);
    EXPECT_EQ(processes.ProcessIdOfHandle(info.processHandle), info.processId);
    const ExitQuery query = WaitForExit(processes, info.processHandle);
    EXPECT_TRUE(query.succeeded);
    EXPECT_FALSE(query.running);
    EXPECT_EQ(query.exitCode, 0u);
    EXPECT_EQ(std::filesystem::path(Utf8Path(test::ReadBytes(work + "/cwd.txt"))),
              std::filesystem::path(Utf8Path(work)));
    EXPECT_EQ(test::ReadBytes(work + "/args.txt"),
              "--write-cwd\ncwd.txt\n--write-args\nargs.txt\n二 词\n一\n--lifetime\n0\n");
    processes.CloseHandle(info.processHandle);
    EXPECT_EQ(processes.ProcessIdOfHandle(info.processHandle), 0);
}

// 259 is the code that says "still running": a process that exits with it has still ended.
TEST(Win32ProcessesTest, ExitQuery_TellsRunningFromEndedEvenForExitCode259) {
    Win32Processes processes;
    ProcessInformation running;
    ASSERT_TRUE(processes.CreateProcess(test::WinTestClientCommand("--lifetime 60000"), "", true,
                                        running));
    const ExitQuery alive = processes.GetExitCodeProcess(running.processHandle);
    EXPECT_TRUE(alive.succeeded);
    EXPECT_TRUE(alive.running);
    EXPECT_EQ(alive.exitCode, kStillActive);

    ProcessInformation tricky;
    ASSERT_TRUE(processes.CreateProcess(
        test::WinTestClientCommand("--lifetime 0 --exit-code 259"), "", true, tricky));
    const ExitQuery ended = WaitForExit(processes, tricky.processHandle);
    EXPECT_TRUE(ended.succeeded);
    EXPECT_FALSE(ended.running);
    EXPECT_EQ(ended.exitCode, 259u);
    processes.TerminateProcess(running.processHandle, 1);
}

TEST(Win32ProcessesTest, Terminate_EndsTheProcessWithTheGivenCodeOnlyThroughOurHandle) {
    Win32Processes processes;
    ProcessInformation info;
    ASSERT_TRUE(processes.CreateProcess(test::WinTestClientCommand("--window 终止"), "", true,
                                        info));
    EXPECT_FALSE(processes.TerminateProcess(info.processHandle + 4, 1));  // not a handle we gave
    EXPECT_TRUE(processes.TerminateProcess(info.processHandle, 7));
    const ExitQuery query = WaitForExit(processes, info.processHandle);
    EXPECT_FALSE(query.running);
    EXPECT_EQ(query.exitCode, 7u);
    EXPECT_FALSE(processes.TerminateProcess(info.processHandle, 1));  // already ended
}

TEST(Win32ProcessesTest, OpenProcess_GivesAHandleThatEndsAProcessWeDidNotStart) {
    Win32Processes starter;
    ProcessInformation info;
    ASSERT_TRUE(starter.CreateProcess(test::WinTestClientCommand("--lifetime 60000"), "", true,
                                      info));
    Win32Processes processes;
    const ProcessHandle handle = processes.OpenProcess(info.processId);
    ASSERT_NE(handle, 0);
    EXPECT_EQ(processes.ProcessIdOfHandle(handle), info.processId);
    EXPECT_TRUE(processes.TerminateProcess(handle, 1));
    EXPECT_FALSE(WaitForExit(starter, info.processHandle).running);
}

TEST(Win32ProcessesTest, Create_FailsWithTheSystemsReasonForAMissingProgram) {
    test::TempFolder folder;
    Win32Processes processes;
    ProcessInformation info;
    EXPECT_FALSE(processes.CreateProcess("\"" + folder.File("无此程序.exe") + "\" -x", "", true,
                                         info));
    EXPECT_EQ(info.processHandle, 0);
    EXPECT_FALSE(processes.LastCreateError().empty());
    EXPECT_FALSE(processes.GetExitCodeProcess(1234).succeeded);
}

}  // namespace
}  // namespace vardo::platform
