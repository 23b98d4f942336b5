// The real vardo executable runs a timetable on the test X server: tasks start and end at their
// seconds, their windows land on the monitors their rows name, the day's history file records
// every start and end, and the tasks still running are ended when the program closes itself.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "PosixProcesses.h"
#include "TextCodec.h"
#include "X11Windows.h"

namespace vardo {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string ReadBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::tm LocalIn(std::time_t start, int seconds) {
    const std::time_t when = start + seconds;
    std::tm local{};
    localtime_r(&when, &local);
    return local;
}

std::string TimeText(const std::tm& local, const char* format) {
    char text[32];
    std::snprintf(text, sizeof text, format, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

// One task row of a timetable file: the sixteen cells joined by "^^", run-time cells empty.
std::string TableLine(int number, const std::string& parameters, const std::string& description,
                      const std::string& start, const std::string& end, const std::string& caption,
                      const std::string& monitor) {
    const std::string cells[] = {"  " + std::to_string(number),
                                 VARDO_XTESTCLIENT,
                                 parameters,
                                 description,
                                 start,
                                 end,
                                 caption,
                                 "否",
                                 "否,最大",
                                 monitor,
                                 "",
                                 "",
                                 "",
                                 "",
                                 "",
                                 ""};
    std::string line;
    for (const std::string& cell : cells) line += (line.empty() ? "" : "^^") + cell;
    return line + "\r\n";
}

class VardoRunner : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* display = std::getenv("VARDO_TEST_DISPLAY_WM");
        if (display == nullptr || *display == '\0') {
            GTEST_SKIP() << "VARDO_TEST_DISPLAY_WM is not set";
        }
        display_ = display;
        char folderTemplate[] = "/tmp/vardo-e2e-runner-XXXXXX";
        ASSERT_NE(mkdtemp(folderTemplate), nullptr);
        folder_ = folderTemplate;
        fs::copy_file(VARDO_EXECUTABLE, folder_ / "vardo");
    }

    void TearDown() override {
        if (info_.processHandle != 0) {
            processes_.TerminateProcess(info_.processHandle, 1);
            processes_.CloseHandle(info_.processHandle);
        }
        if (!folder_.empty()) fs::remove_all(folder_);
    }

    void StartVardo() {
        // The child inherits this environment; this test process itself uses no toolkit.
        setenv("DISPLAY", display_.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        setenv("XDG_CONFIG_HOME", (folder_ / "config").c_str(), 1);
        ASSERT_TRUE(processes_.CreateProcess((folder_ / "vardo").string() + " ", folder_.string(),
                                             true, info_));
    }

    std::optional<std::uint32_t> WaitForExit(std::chrono::seconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            const platform::ExitQuery query = processes_.GetExitCodeProcess(info_.processHandle);
            if (query.succeeded && !query.running) return query.exitCode;
            std::this_thread::sleep_for(50ms);
        }
        return std::nullopt;
    }

    std::string display_;
    fs::path folder_;
    platform::PosixProcesses processes_;
    platform::ProcessInformation info_;
};

TEST_F(VardoRunner, Timetable_StartsPlacesEndsAndLogsTasks) {
    const std::time_t now = std::time(nullptr);
    const std::tm start = LocalIn(now, 4);
    const std::tm end = LocalIn(now, 7);
    const std::tm shutDown = LocalIn(now, 10);
    const std::string table =
        TableLine(1, "--window \"E2E Fill\"", "Fill", TimeText(start, "%02d:%02d:%02d"),
                  TimeText(end, "%02d:%02d:%02d"), "", "2") +
        TableLine(2, "--child --window \"E2E Caption Window\"", "Caption",
                  TimeText(start, "%02d:%02d:%02d"), "", "E2E Caption", "1");
    WriteBytes(folder_ / "Data" / "任务计划表.tab", Utf8ToGb18030(table));
    WriteBytes(folder_ / "VARDO.INI",
               "[START]\r\nchkSaveHis=YES\r\nchkAutoShutDown=YES\r\n"
               "TimePicker=" +
                   TimeText(shutDown, "%d:%02d:%02d") + "\r\n");
    StartVardo();

    // Watch the task windows as an operator would see them on the two monitors.
    platform::X11Windows windows(display_);
    ASSERT_TRUE(windows.Available());
    std::optional<platform::Rect> fill;
    std::optional<platform::Rect> caption;
    const auto deadline = std::chrono::steady_clock::now() + 7s;
    while (std::chrono::steady_clock::now() < deadline && !(fill && caption)) {
        for (const platform::TopLevelWindow& window : windows.EnumWindows()) {
            const auto rect = windows.GetWindowRect(window.window);
            if (!rect || rect->left % 1920 != 0 || rect->width != 1920) continue;
            if (window.caption == "E2E Fill") fill = rect;
            if (window.caption == "E2E Caption Window") caption = rect;
        }
        std::this_thread::sleep_for(50ms);
    }
    EXPECT_EQ(fill, (platform::Rect{1920, 0, 1920, 1080}));
    EXPECT_EQ(caption, (platform::Rect{0, 0, 1920, 1080}));

    const std::optional<std::uint32_t> status = WaitForExit(15s);
    ASSERT_TRUE(status.has_value()) << "vardo did not close itself";
    EXPECT_EQ(*status, 0u);

    // Both tasks are gone: row 1 at its end time, row 2 when the program closed.
    std::this_thread::sleep_for(300ms);
    for (const platform::TopLevelWindow& window : windows.EnumWindows()) {
        EXPECT_NE(window.caption.rfind("E2E ", 0), 0u) << window.caption << " still open";
    }

    char day[16];
    std::strftime(day, sizeof day, "%Y%m%d", &start);
    const std::string history =
        Gb18030ToUtf8(ReadBytes(folder_ / "History" / (std::string(day) + ".txt")));
    std::vector<std::string> lines;
    for (std::size_t from = 0, to; (to = history.find("\r\n", from)) != std::string::npos;
         from = to + 2) {
        lines.push_back(history.substr(from, to - from));
    }
    const std::string app = VARDO_XTESTCLIENT;
    const std::string startText = TimeText(start, "%02d:%02d:%02d");
    ASSERT_EQ(lines.size(), 4u) << history;
    EXPECT_EQ(lines[0], "  " + startText + " 启动任务: 【" + app + " 】  Fill");
    EXPECT_EQ(lines[1], "  " + startText + " 启动任务: 【" + app + " 】  Caption");
    EXPECT_EQ(lines[2],
              "  " + TimeText(end, "%02d:%02d:%02d") + " 结束任务: 【" + app + " 】  Fill");
    EXPECT_TRUE(std::regex_match(
        lines[3], std::regex("  \\d\\d:\\d\\d:\\d\\d 结束任务: 【" + app + " 】  Caption")))
        << lines[3];
}

}  // namespace
}  // namespace vardo
