#pragma once

// A temporary portable program folder on Windows: a copy of the shipped program folder (the zip's
// folder, named by VARDO_WINDOWS_PROGRAM) below a folder with a Chinese name, with the Win32 test
// client beside it as the tasks' program. vardo.exe is started there as an operator starts it,
// and the tests read back what it wrote.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "StartAhead.h"
#include "TempFolder.h"
#include "TextCodec.h"
#include "WideText.h"
#include "WinDesktop.h"
#include "WinTestClient.h"

namespace vardo::test {

using namespace std::chrono_literals;

// The program folder the package build stages, as the test command names it.
inline std::filesystem::path ShippedProgramFolder() {
    return EnvironmentPath(L"VARDO_WINDOWS_PROGRAM");
}

class VardoWindowsFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(MonitorRects().size(), 2u)
            << "needs Wine on the two-monitor test bed: scripts/winebed.sh start DIR";
        const std::filesystem::path shipped = ShippedProgramFolder();
        ASSERT_FALSE(shipped.empty())
            << "VARDO_WINDOWS_PROGRAM is not set: it names the program folder scripts/windows.sh "
               "stages (build-windows-release/stage)";
        ASSERT_TRUE(std::filesystem::exists(shipped / L"vardo.exe"))
            << "no vardo.exe in " << Utf8Text(shipped.wstring()) << ": run scripts/windows.sh";
        folder_ = std::filesystem::path(Utf8FilePath(temp_.path())) / L"节目站";
        std::filesystem::copy(shipped, folder_, std::filesystem::copy_options::recursive);
        // The client brings the compiler's runtime as every Windows program brings its own.
        client_ =
            std::filesystem::path(Utf8FilePath(temp_.path())) / L"任务" / L"wintestclient.exe";
        std::filesystem::create_directories(client_.parent_path());
        std::filesystem::copy_file(Utf8FilePath(WinTestClientPath()), client_);
        for (const wchar_t* runtime :
             {L"libstdc++-6.dll", L"libgcc_s_seh-1.dll", L"libwinpthread-1.dll"})
            std::filesystem::copy_file(shipped / runtime, client_.parent_path() / runtime);
        ClearInheritedOverrides();
    }

    void TearDown() override { vardo_.End(); }

    // The test client's path as a timetable row names it.
    std::string ClientPath() const { return Utf8Text(client_.wstring()); }
    std::wstring FolderFile(const std::wstring& relative) const {
        return (folder_ / relative).wstring();
    }

    void WriteFile(const std::wstring& relative, const std::string& bytes) {
        std::filesystem::create_directories((folder_ / relative).parent_path());
        WriteBytes(Utf8Text(FolderFile(relative)), bytes);
    }
    std::string ReadFile(const std::wstring& relative) const {
        return ReadBytes(Utf8Text(FolderFile(relative)));
    }

    // The timetable (UTF-8 lines, written in GB18030) and the settings file, Chinese pinned as the
    // language so that the history's texts are known whatever Wine's locale.
    void WriteDay(const std::string& timetable, const std::string& settings) {
        WriteFile(L"Data\\任务计划表.tab", Utf8ToGb18030(timetable));
        WriteFile(L"VARDO.INI", "[START]\r\nLanguage=zh_CN\r\n" + settings);
    }

    // The day's history file, decoded; the raw bytes in `bytes` when asked.
    std::string History(std::time_t day, std::string* bytes = nullptr) const {
        const std::string raw =
            ReadFile(L"History\\" + std::wstring(WideText(HistoryFileName(day))));
        if (bytes != nullptr) *bytes = raw;
        return Gb18030ToUtf8(raw);
    }

    bool StartVardo() {
        const std::wstring program = FolderFile(L"vardo.exe");
        return vardo_.Start(L"\"" + program + L"\"", folder_.wstring());
    }

    // The program's main window once it has shown (its event loop, and its clock, run by then).
    std::optional<DesktopWindow> WaitForMainWindow(std::chrono::milliseconds limit = 60s) {
        std::optional<DesktopWindow> main;
        WaitUntil(
            [&] {
                for (const DesktopWindow& window : WindowsOfProcess(vardo_.Id()))
                    if (window.visible && window.caption == L"Vardo") main = window;
                return main.has_value();
            },
            limit);
        return main;
    }

    // Starts the program ahead of the first second its files schedule (StartAhead).
    std::time_t StartVardoAhead(const std::function<void(std::time_t first)>& writeFiles) {
        return StartAhead(
            writeFiles, [this] { return StartVardo() && WaitForMainWindow().has_value(); },
            [this] {
                vardo_.End();
                std::filesystem::remove_all(folder_ / L"History");
            });
    }

    TempFolder temp_;
    std::filesystem::path folder_;
    std::filesystem::path client_;
    JobProcess vardo_;
};

}  // namespace vardo::test
