// The real vardo executable on the Wayland sessions of GNOME (mutter), KDE Plasma
// (kwin_wayland) and sway, each with XWayland, started with the session's environment: its tasks, GTK, Qt
// and plain X programs, open X11 windows that fill the row's monitor or are withdrawn, and a task
// whose window opens on Wayland itself, out of X's reach, is reported as not placed.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "TextCodec.h"
#include "VardoProgramFolder.h"
#include "X11Windows.h"

namespace vardo::platform {
void PrintTo(const Rect& rect, std::ostream* out) {
    *out << rect.width << "x" << rect.height << "+" << rect.left << "+" << rect.top;
}
}  // namespace vardo::platform

namespace vardo::test {
namespace {

using namespace std::chrono_literals;

// A task row, on monitor 2 from the timetable's first second on, without an end time.
struct TaskRow {
    std::string application;
    std::string parameters;
    std::string description;
    std::string windowSetting;
};

// Its line in a timetable file, run-time cells empty.
std::string TableLine(int number, const TaskRow& row, const std::string& start) {
    return TimetableLine({"  " + std::to_string(number), row.application, row.parameters,
                          row.description, start, "", "", "否", row.windowSetting, "2", "", "", "",
                          "", "", ""});
}

std::string Required(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? "" : value;
}

// A Wayland desktop of the test beds: the prefix of the variables that name its Wayland socket
// (_DISPLAY), XWayland's display (_X_DISPLAY) and cookie file (_XAUTHORITY), its name in
// XDG_CURRENT_DESKTOP, and whether it has sway's IPC socket (_SWAYSOCK), which its session names
// in SWAYSOCK.
struct Desktop {
    std::string name;
    std::string variables;
    std::string currentDesktop;
    bool swayIpc = false;
};

void PrintTo(const Desktop& desktop, std::ostream* out) {
    *out << desktop.name;
}

class VardoOnWayland : public VardoProgramFolder, public ::testing::WithParamInterface<Desktop> {
  protected:
    void SetUp() override {
        const std::string& prefix = GetParam().variables;
        waylandDisplay_ = Required((prefix + "_DISPLAY").c_str());
        display_ = Required((prefix + "_X_DISPLAY").c_str());
        xauthority_ = Required((prefix + "_XAUTHORITY").c_str());
        swaySocket_ = Required((prefix + "_SWAYSOCK").c_str());
        ASSERT_FALSE(waylandDisplay_.empty() || display_.empty() || xauthority_.empty() ||
                     (GetParam().swayIpc && swaySocket_.empty()))
            << prefix << "_DISPLAY, " << prefix << "_X_DISPLAY, " << prefix << "_XAUTHORITY"
            << (GetParam().swayIpc ? " and " + prefix + "_SWAYSOCK" : std::string())
            << " are not all set: the " << GetParam().name
            << " test bed is not running (scripts/wlbed.sh, scripts/test.sh)";
        // This test's own X connection needs XWayland's cookie as well.
        setenv("XAUTHORITY", xauthority_.c_str(), 1);
        MakeProgramFolder();
    }

    // As the desktop's Wayland login leaves it: nothing chooses a toolkit's window system.
    void SetSessionEnvironment() override {
        setenv("DISPLAY", display_.c_str(), 1);
        setenv("WAYLAND_DISPLAY", waylandDisplay_.c_str(), 1);
        setenv("XDG_SESSION_TYPE", "wayland", 1);
        setenv("XDG_CURRENT_DESKTOP", GetParam().currentDesktop.c_str(), 1);
        if (GetParam().swayIpc)
            setenv("SWAYSOCK", swaySocket_.c_str(), 1);
        else
            unsetenv("SWAYSOCK");
        for (const char* name : {"QT_QPA_PLATFORM", "GDK_BACKEND", "SDL_VIDEODRIVER",
                                 "CLUTTER_BACKEND", "MOZ_ENABLE_WAYLAND"})
            unsetenv(name);
    }

    // Starts the program with `rows` starting at its first second and closing itself
    // `closeAfter` seconds later, with `settings` added to its settings file. Returns that second.
    std::time_t RunTimetable(const std::vector<TaskRow>& rows, const std::string& settings,
                             int closeAfter) {
        return StartVardoAhead([&](std::time_t first) {
            startText_ = LocalTimeText(first, 0, "%02d:%02d:%02d");
            std::string table;
            for (std::size_t i = 0; i < rows.size(); ++i)
                table += TableLine(static_cast<int>(i) + 1, rows[i], startText_);
            WriteBytes("Data/任务计划表.tab", Utf8ToGb18030(table));
            WriteBytes("VARDO.INI",
                       "[START]\r\nchkSaveHis=YES\r\nchkAutoShutDown=YES\r\n"
                       "TimePicker=" +
                           LocalTimeText(first, closeAfter, "%d:%02d:%02d") + "\r\n" + settings);
        });
    }

    std::vector<std::string> HistoryLines(std::time_t when) const {
        char day[16];
        std::tm local{};
        localtime_r(&when, &local);
        std::strftime(day, sizeof day, "%Y%m%d", &local);
        const std::string history = Gb18030ToUtf8(
            ReadBytes(std::filesystem::path("History") / (std::string(day) + ".txt")));
        std::vector<std::string> lines;
        for (std::size_t from = 0, to; (to = history.find("\r\n", from)) != std::string::npos;
             from = to + 2)
            lines.push_back(history.substr(from, to - from));
        return lines;
    }

    std::string waylandDisplay_;
    std::string xauthority_;
    std::string swaySocket_;
    std::string startText_;
};

constexpr platform::Rect kMonitorTwo{1920, 0, 1920, 1080};

TEST_P(VardoOnWayland, GtkQtAndXTasks_FillMonitorTwo_HiddenRowIsWithdrawn) {
    constexpr int kCloseAfter = 13;
    const std::time_t start =
        RunTimetable({{{"/usr/bin/xclock", "", "X", "否,最大"},
                       {"/usr/bin/zenity", "--text-info --title \"E2E GTK\"", "GTK", "否,最大"},
                       {QTTESTCLIENT, "\"E2E Qt\"", "Qt", "否,最大"},
                       {XTESTCLIENT, "--window \"E2E Hidden\"", "Hidden", "否,无"}}},
                     "", kCloseAfter);
    ASSERT_NE(start, 0);

    platform::X11Windows windows(display_);
    ASSERT_TRUE(windows.Available());
    // The program's own window is an X window too, centred on the first monitor.
    std::optional<platform::Rect> main;
    // Where each task window was last seen, shown.
    std::map<std::string, platform::Rect> seen;
    const std::vector<std::string> filling = {"xclock", "E2E GTK", "E2E Qt"};
    const auto allFilled = [&] {
        return std::all_of(filling.begin(), filling.end(), [&](const std::string& caption) {
            return seen.contains(caption) && seen[caption] == kMonitorTwo;
        });
    };
    // The hidden row's window, withdrawn and then given monitor 2's size, unseen.
    const auto hiddenPlaced = [](const platform::Rect& rect) {
        return rect.left >= 1920 && rect.width == 1920 && rect.height == 1080;
    };
    std::optional<platform::Rect> hidden;
    while (std::time(nullptr) < start + kCloseAfter - 1 &&
           !(allFilled() && hidden && hiddenPlaced(*hidden))) {
        for (const platform::TopLevelWindow& window : windows.EnumWindows()) {
            const auto rect = windows.GetWindowRect(window.window);
            if (!rect) continue;
            if (window.caption == "Vardo" && window.viewable) main = rect;
            if (window.viewable) seen[window.caption] = *rect;
            if (window.caption == "E2E Hidden") hidden = window.viewable ? std::nullopt : rect;
        }
        std::this_thread::sleep_for(100ms);
    }
    for (const std::string& caption : filling) {
        ASSERT_TRUE(seen.contains(caption)) << caption << " never showed";
        EXPECT_EQ(seen[caption], kMonitorTwo) << caption;
    }
    ASSERT_TRUE(hidden.has_value()) << "the hidden row's window is not withdrawn";
    EXPECT_TRUE(hiddenPlaced(*hidden)) << ::testing::PrintToString(*hidden);
    ASSERT_TRUE(main.has_value());
    // sway tiles the program's own window on the output that has the focus, which a task's window
    // placed on monitor 2 may have taken first: centred on either monitor there.
    const int monitorLeft = GetParam().swayIpc && main->left >= 1920 ? 1920 : 0;
    EXPECT_NEAR(main->left + main->width / 2, monitorLeft + 960, 40);
    EXPECT_NEAR(main->top + main->height / 2, 540, 40);

    ASSERT_TRUE(WaitForExit(60s).has_value()) << "vardo did not close itself";
    const std::vector<std::string> history = HistoryLines(start);
    ASSERT_EQ(history.size(), 8u);
    for (const std::string& line : history)
        EXPECT_EQ(line.find("窗口未能放置"), std::string::npos) << line;
}

TEST_P(VardoOnWayland, TasksOnX11Off_GtkWindowOpensOnWayland_IsReportedAsNotPlaced) {
    constexpr int kCloseAfter = 14;
    const std::time_t start = RunTimetable(
        {{{"/usr/bin/zenity", "--text-info --title \"E2E Wayland\"", "GTK", "否,最大"}}},
        "TasksOnX11=NO\r\n", kCloseAfter);
    ASSERT_NE(start, 0);

    ASSERT_TRUE(WaitForExit(60s).has_value()) << "vardo did not close itself";
    const std::vector<std::string> history = HistoryLines(start);
    ASSERT_EQ(history.size(), 3u);
    EXPECT_EQ(history[0], "  " + startText_ + " 启动任务: 【/usr/bin/zenity 】  GTK");
    // The tenth watch tick after the start (a second later on a machine too busy to keep the
    // timer's pace), while the task still runs; closing ends it.
    const std::string unplaced = " 窗口未能放置: 【/usr/bin/zenity 】  GTK";
    EXPECT_TRUE(history[1] == "  " + LocalTimeText(start, 10, "%02d:%02d:%02d") + unplaced ||
                history[1] == "  " + LocalTimeText(start, 11, "%02d:%02d:%02d") + unplaced)
        << history[1];
    EXPECT_NE(history[2].find(" 结束任务: 【/usr/bin/zenity 】  GTK"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Desktops, VardoOnWayland,
                         ::testing::Values(Desktop{"Gnome", "VARDO_TEST_WAYLAND", "GNOME"},
                                           Desktop{"Kde", "VARDO_TEST_KWIN", "KDE"},
                                           Desktop{"Sway", "VARDO_TEST_SWAY", "sway", true}),
                         [](const ::testing::TestParamInfo<Desktop>& info) {
                             return info.param.name;
                         });

}  // namespace
}  // namespace vardo::test
