// The shipped vardo.exe runs a day on Windows (Wine on two monitors): Win32 tasks start at their
// seconds, their windows fill monitor 2, keep their size there or are hidden, a task's own exit
// is noticed, a task is ended at its end time, and the day's history file is GB18030 with CR LF.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "VardoWindowsFolder.h"

namespace vardo::test {
namespace {

using VardoWindowsRunner = VardoWindowsFolder;

// How long the ended task runs: time enough for a loaded machine to start it and show its window.
constexpr int kEndAfter = 12;
// The client's window before it is placed (its defaults).
constexpr RECT kClientWindow = {100, 100, 400, 300};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t from = 0, to; (to = text.find("\r\n", from)) != std::string::npos;
         from = to + 2)
        lines.push_back(text.substr(from, to - from));
    return lines;
}

TEST_F(VardoWindowsRunner, Day_PlacesEndsAndLogsWin32Tasks) {
    std::string startText;
    std::string endText;
    const std::string client = ClientPath();
    const auto row = [&](int number, const std::string& caption, const std::string& description,
                         const std::string& end, const std::string& setting,
                         const std::string& options = {}) {
        return TimetableLine({"  " + std::to_string(number), client,
                              "--window \"" + caption + "\" " + options, description, startText,
                              end, "", "否", setting, "2", "", "", "", "", "", ""});
    };
    const std::time_t start = StartVardoAhead([&](std::time_t first) {
        startText = LocalTimeText(first, 0, "%02d:%02d:%02d");
        endText = LocalTimeText(first, kEndAfter, "%02d:%02d:%02d");
        WriteDay(
            row(1, "E2E Fill", "填充第二屏", endText, "否,最大") +
                row(2, "E2E Keep", "保持大小", "", "是,最大") +
                row(3, "E2E Hidden", "后台任务", "", "否,无") +
                row(4, "E2E Brief", "自行退出", "", "否,最大", "--lifetime 1500 --exit-code 3"),
            "chkSaveHis=YES\r\nchkShutTask=YES\r\n");
    });
    ASSERT_NE(start, 0);

    // Watch the tasks' windows until each has taken its place.
    bool fill = false;
    bool keep = false;
    bool hidden = false;
    const RECT filled = {1920, 0, 3840, 1080};
    const RECT kept = {kClientWindow.left + 1920, kClientWindow.top, kClientWindow.right + 1920,
                       kClientWindow.bottom};
    const auto placedBy = [&](const wchar_t* caption, const RECT& wanted) {
        const std::optional<DesktopWindow> window = WindowCaptioned(caption);
        return window && window->visible && EqualRect(&window->rect, &wanted);
    };
    // The fill task's window can be seen until its end time.
    WaitUntil(
        [&] {
            if (!fill) fill = placedBy(L"E2E Fill", filled);
            if (!keep) keep = placedBy(L"E2E Keep", kept);
            if (!hidden) {
                const std::optional<DesktopWindow> window = WindowCaptioned(L"E2E Hidden");
                hidden = window && !window->visible;
            }
            return fill && keep && hidden;
        },
        std::chrono::seconds(start + kEndAfter - 1 - std::time(nullptr)));
    EXPECT_TRUE(fill) << "the fill task's window did not fill monitor 2";
    EXPECT_TRUE(keep) << "the keep-size task's window did not keep its size on monitor 2";
    EXPECT_TRUE(hidden) << "the hidden task's window was not hidden";

    // Row 1 ends at its end time; the others run on.
    EXPECT_TRUE(WaitUntil([] { return !WindowCaptioned(L"E2E Fill"); }, 20s))
        << "the fill task was not ended at its end time";
    EXPECT_TRUE(WindowCaptioned(L"E2E Keep")) << "a task without an end time ended";

    // The history: GB18030, lines ended by CR LF and nothing else, the tasks' starts, the brief
    // task's own exit and the fill task's end.
    std::string bytes;
    std::string history;
    WaitUntil(
        [&] {
            history = History(start, &bytes);
            return history.find(" 结束任务: 【") != std::string::npos;
        },
        10s);
    EXPECT_EQ(Gb18030ToUtf8(Utf8ToGb18030(history)), history);
    EXPECT_NE(bytes.find(Utf8ToGb18030("填充第二屏")), std::string::npos) << "not GB18030";
    EXPECT_EQ(std::regex_search(bytes, std::regex("[^\r]\n")), false)
        << "a line not ended by CR LF";
    const std::vector<std::string> lines = Lines(history);
    const std::string task = " 】  ";
    const auto has = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    for (const char* description : {"填充第二屏", "保持大小", "后台任务", "自行退出"})
        EXPECT_TRUE(has("  " + startText + " 启动任务: 【" + client + task + description))
            << description << " did not start at " << startText << ":\n"
            << history;
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                            [&](const std::string& line) {
                                return line.find(" 任务结束: 【" + client + task + "自行退出") !=
                                       std::string::npos;
                            }))
        << "the brief task's own exit was not noticed:\n"
        << history;
    EXPECT_TRUE(has("  " + endText + " 结束任务: 【" + client + task + "填充第二屏"))
        << "the fill task's end at " << endText << " is not logged:\n"
        << history;
}

}  // namespace
}  // namespace vardo::test
