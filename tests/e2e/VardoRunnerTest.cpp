// The real vardo executable runs a timetable on the test X server: tasks start and end at their
// seconds, their windows land on the monitors their rows name, the day's history file records
// every start and end, and the tasks still running are ended when the program closes itself.
#include <chrono>
#include <ctime>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "TextCodec.h"
#include "VardoProgramFolder.h"
#include "X11Windows.h"

namespace vardo::test {
namespace {

using namespace std::chrono_literals;

// One task row of a timetable file: the sixteen cells joined by "^^", run-time cells empty.
std::string TableLine(int number, const std::string& parameters, const std::string& description,
                      const std::string& start, const std::string& end, const std::string& caption,
                      const std::string& monitor) {
    return TimetableLine({"  " + std::to_string(number), VARDO_XTESTCLIENT, parameters, description,
                          start, end, caption, "否", "否,最大", monitor, "", "", "", "", "", ""});
}

using VardoRunner = VardoProgramFolder;

// How long the fill task runs: time enough for a loaded machine to start it and map its window.
constexpr int kFillSeconds = 5;

TEST_F(VardoRunner, Timetable_StartsPlacesEndsAndLogsTasks) {
    std::string startText;
    std::string endText;
    const std::time_t start = StartVardoAhead([&](std::time_t first) {
        startText = LocalTimeText(first, 0, "%02d:%02d:%02d");
        endText = LocalTimeText(first, kFillSeconds, "%02d:%02d:%02d");
        const std::string table =
            TableLine(1, "--window \"E2E Fill\"", "Fill", startText, endText, "", "2") +
            TableLine(2, "--child --window \"E2E Caption Window\"", "Caption", startText, "",
                      "E2E Caption", "1");
        WriteBytes("Data/任务计划表.tab", Utf8ToGb18030(table));
        WriteBytes("VARDO.INI",
                   "[START]\r\nchkSaveHis=YES\r\nchkAutoShutDown=YES\r\n"
                   "TimePicker=" +
                       LocalTimeText(first, kFillSeconds + 3, "%d:%02d:%02d") + "\r\n");
    });
    ASSERT_NE(start, 0);

    // Watch the task windows as an operator would see them on the two monitors.
    platform::X11Windows windows(display_);
    ASSERT_TRUE(windows.Available());
    std::optional<platform::Rect> fill;
    std::optional<platform::Rect> caption;
    // The fill task's window can be seen until the task ends.
    while (!(fill && caption) && std::time(nullptr) < start + kFillSeconds) {
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

    const std::optional<std::uint32_t> status = WaitForExit(60s);
    ASSERT_TRUE(status.has_value()) << "vardo did not close itself";
    EXPECT_EQ(*status, 0u);

    // Both tasks are gone: row 1 at its end time, row 2 when the program closed. The server
    // drops a killed client's windows once it notices the closed connection.
    const auto openTaskWindows = [&] {
        std::vector<std::string> open;
        for (const platform::TopLevelWindow& window : windows.EnumWindows())
            if (window.caption.rfind("E2E ", 0) == 0) open.push_back(window.caption);
        return open;
    };
    const auto closeDeadline = std::chrono::steady_clock::now() + 20s;
    while (!openTaskWindows().empty() && std::chrono::steady_clock::now() < closeDeadline)
        std::this_thread::sleep_for(50ms);
    EXPECT_EQ(openTaskWindows(), std::vector<std::string>{});

    char day[16];
    std::tm startDay{};
    localtime_r(&start, &startDay);
    std::strftime(day, sizeof day, "%Y%m%d", &startDay);
    const std::string history =
        Gb18030ToUtf8(ReadBytes(std::filesystem::path("History") / (std::string(day) + ".txt")));
    std::vector<std::string> lines;
    for (std::size_t from = 0, to; (to = history.find("\r\n", from)) != std::string::npos;
         from = to + 2) {
        lines.push_back(history.substr(from, to - from));
    }
    const std::string app = VARDO_XTESTCLIENT;
    ASSERT_EQ(lines.size(), 4u) << history;
    EXPECT_EQ(lines[0], "  " + startText + " 启动任务: 【" + app + " 】  Fill");
    EXPECT_EQ(lines[1], "  " + startText + " 启动任务: 【" + app + " 】  Caption");
    EXPECT_EQ(lines[2], "  " + endText + " 结束任务: 【" + app + " 】  Fill");
    EXPECT_TRUE(std::regex_match(
        lines[3], std::regex("  \\d\\d:\\d\\d:\\d\\d 结束任务: 【" + app + " 】  Caption")))
        << lines[3];
}

}  // namespace
}  // namespace vardo::test
