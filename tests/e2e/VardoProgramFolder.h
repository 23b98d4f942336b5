#pragma once

// A temporary program folder holding a copy of the real vardo executable, started on the X test
// bed as an operator would start it, and what the tests read back from the folder.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "PosixProcesses.h"
#include "StartAhead.h"
#include "X11Windows.h"

namespace vardo::test {

class VardoProgramFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* display = std::getenv("VARDO_TEST_DISPLAY_WM");
        ASSERT_TRUE(display != nullptr && *display != '\0')
            << "VARDO_TEST_DISPLAY_WM is not set: the X test bed is not running (scripts/test.sh)";
        display_ = display;
        MakeProgramFolder();
    }

    void MakeProgramFolder() {
        char folderTemplate[] = "/tmp/vardo-e2e-XXXXXX";
        ASSERT_NE(mkdtemp(folderTemplate), nullptr);
        folder_ = folderTemplate;
        std::filesystem::copy_file(VARDO_EXECUTABLE, folder_ / "vardo");
    }

    void TearDown() override {
        if (info_.processHandle != 0) {
            processes_.TerminateProcess(info_.processHandle, 1);
            processes_.CloseHandle(info_.processHandle);
        }
        if (!folder_.empty()) std::filesystem::remove_all(folder_);
    }

    void WriteBytes(const std::filesystem::path& relative, const std::string& bytes) {
        std::filesystem::create_directories((folder_ / relative).parent_path());
        std::ofstream(folder_ / relative, std::ios::binary) << bytes;
    }

    std::string ReadBytes(const std::filesystem::path& relative) const {
        std::ifstream file(folder_ / relative, std::ios::binary);
        std::stringstream bytes;
        bytes << file.rdbuf();
        return bytes.str();
    }

    // The session the program starts in: the X test bed, the program's windows on xcb. The child
    // inherits this environment; the test process itself uses no toolkit.
    virtual void SetSessionEnvironment() {
        setenv("DISPLAY", display_.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
    }

    void StartVardo() {
        SetSessionEnvironment();
        setenv("XDG_CONFIG_HOME", (folder_ / "config").c_str(), 1);
        setenv("XDG_STATE_HOME", (folder_ / "state").c_str(), 1);
        ASSERT_TRUE(processes_.CreateProcess(launcher_ + (folder_ / "vardo").string() + " ",
                                             folder_.string(), true, info_));
    }

    // Whether the program's main window has been shown within `limit`: from then on its event
    // loop runs, and its clock with it.
    bool WaitForMainWindow(std::chrono::seconds limit) {
        platform::X11Windows windows(display_);
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            for (const platform::TopLevelWindow& window : windows.EnumWindows()) {
                if (window.processId == info_.processId && window.caption == "Vardo") return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
        }
        return false;
    }

    // Starts the program ahead of the first second its files schedule (StartAhead).
    std::time_t StartVardoAhead(const std::function<void(std::time_t first)>& writeFiles) {
        return StartAhead(
            writeFiles,
            [this] {
                StartVardo();
                return WaitForMainWindow(std::chrono::seconds(60));
            },
            [this] { StopVardo(); });
    }

    // Ends the program and clears what it wrote, for a fresh start in the same folder.
    void StopVardo() {
        processes_.TerminateProcess(info_.processHandle, 1);
        WaitForExit(std::chrono::seconds(10));
        processes_.CloseHandle(info_.processHandle);
        info_ = {};
        std::filesystem::remove_all(folder_ / "History");
        std::filesystem::remove(folder_ / "VARDO.INI");
    }

    // The program's exit code, or nothing when it is still running after `limit`.
    std::optional<std::uint32_t> WaitForExit(std::chrono::seconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            const platform::ExitQuery query = processes_.GetExitCodeProcess(info_.processHandle);
            if (query.succeeded && !query.running) return query.exitCode;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return std::nullopt;
    }

    std::string display_;
    // Runs the program (e.g. "nohup "), ahead of its path on the command line; empty: none.
    std::string launcher_;
    std::filesystem::path folder_;
    platform::PosixProcesses processes_;
    platform::ProcessInformation info_;
};

}  // namespace vardo::test
