#pragma once

// A temporary program folder holding a copy of the real vardo executable, started on the X test
// bed as an operator would start it, and what the tests read back from the folder.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "PosixProcesses.h"

namespace vardo::test {

// The local wall-clock time `ahead` from now, formatted from hour, minute and second.
inline std::string LocalTimeText(std::time_t from, int aheadSeconds, const char* format) {
    const std::time_t when = from + aheadSeconds;
    std::tm local{};
    localtime_r(&when, &local);
    char text[32];
    std::snprintf(text, sizeof text, format, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

class VardoProgramFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* display = std::getenv("VARDO_TEST_DISPLAY_WM");
        ASSERT_TRUE(display != nullptr && *display != '\0')
            << "VARDO_TEST_DISPLAY_WM is not set: the X test bed is not running (scripts/test.sh)";
        display_ = display;
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

    void StartVardo() {
        // The child inherits this environment; the test process itself uses no toolkit.
        setenv("DISPLAY", display_.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        setenv("XDG_CONFIG_HOME", (folder_ / "config").c_str(), 1);
        ASSERT_TRUE(processes_.CreateProcess((folder_ / "vardo").string() + " ", folder_.string(),
                                             true, info_));
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
    std::filesystem::path folder_;
    platform::PosixProcesses processes_;
    platform::ProcessInformation info_;
};

}  // namespace vardo::test
