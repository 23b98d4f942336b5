// The runner's row logic over whole stretches of a day, with a manual clock and in-memory
// processes and windows.
#include "TaskRunner.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <map>

#include "ManualClock.h"
#include "RunnerFakes.h"
#include "StationMetrics.h"
#include "TaskTable.h"

namespace vardo {
namespace {

using test::At;
using test::FakeHost;
using test::FakeProcesses;
using test::FakeWindows;
using test::ManualClock;

// A new task row running /apps/player, with the given cells changed.
using RowCells = std::map<Column, std::string>;

class TaskRunnerTest : public ::testing::Test {
  protected:
    void SetRow(int row, const RowCells& changes) {
        if (table.RowCount() <= row) table.SetRowCount(row + 1);
        RowCells cells = {{ColApplication, "/apps/player"},
                          {ColDescription, "News"},
                          {ColExclusive, "否"},
                          {ColWindowSetting, "是"},
                          {ColMonitor, "1"}};
        for (const auto& [column, text] : changes) cells[column] = text;
        table.ClearRow(row);
        table.SetCell(ColNumber, row, std::to_string(row));
        for (const auto& [column, text] : cells) table.SetCell(column, row, text);
    }

    const std::string& Cell(Column column, int row) const { return table.Cell(column, row); }

    // One wall-clock second: the schedule tick, then the watch tick half a second later.
    void Second() {
        runner.ScheduleTick();
        clock.Advance(std::chrono::milliseconds(500));
        runner.WatchTick();
        clock.Advance(std::chrono::milliseconds(500));
    }

    void Seconds(int count) {
        for (int i = 0; i < count; ++i) Second();
    }

    // Runs from the clock's time up to, not including, hh:mm:ss.
    void RunUntil(int hour, int minute, int second) {
        const LocalTime stop = At(2026, 12, 7, hour, minute, second);
        while (clock.Now() < stop) Second();
    }

    int RowProcess(int row) const { return std::stoi(Cell(ColProcessId, row)); }

    // A timetable load as the main window does it: new rows, their run-time cells empty.
    void Load(const std::vector<RowCells>& rows) {
        runner.BeginTableLoad();
        table.SetRowCount(static_cast<int>(rows.size()) + 1);
        for (std::size_t i = 0; i < rows.size(); ++i) SetRow(static_cast<int>(i) + 1, rows[i]);
        runner.EndTableLoad();
    }

    ManualClock clock{At(2026, 12, 7, 8, 29, 58)};
    TaskTable table;
    FakeHost host;
    FakeProcesses processes;
    FakeWindows windows;
    TaskRunner runner{table, host, processes, windows};
};

std::string Line(const std::string& time, const std::string& event, const std::string& app,
                 const std::string& description) {
    return "  " + time + event + app + " 】  " + description;
}

// ---- Process mode over a day ------------------------------------------------------------------

TEST_F(TaskRunnerTest, ProcessModeDay_StartsFindsPlacesAndEndsAtItsTimes) {
    SetRow(1, {{ColParameters, "\"a.mp4\""},
               {ColStartTime, "08:30:00"},
               {ColEndTime, "08:30:05"},
               {ColWindowSetting, "否,最大"},
               {ColMonitor, "2"}});
    RunUntil(8, 30, 0);
    EXPECT_TRUE(processes.launches.empty());

    Second();  // 08:30:00
    ASSERT_EQ(processes.launches.size(), 1u);
    EXPECT_EQ(processes.launches[0].commandLine, "/apps/player \"a.mp4\"");
    EXPECT_EQ(processes.launches[0].workingDirectory, "/opt/vardo/");
    EXPECT_TRUE(processes.launches[0].showWindow);
    const int pid = processes.launches[0].processId;
    EXPECT_EQ(Cell(ColProcessId, 1), std::to_string(pid));
    EXPECT_EQ(Cell(ColRunState, 1), "在播");
    EXPECT_EQ(host.history.back(), Line("08:30:00", " 启动任务: 【", "/apps/player", "News"));
    EXPECT_EQ(host.statusLine, host.history.back());
    EXPECT_EQ(host.watchTimerEvents, (std::vector<std::string>{"stop", "start"}));

    const auto first = windows.Open(pid, "Player", {5, 5, 640, 480});
    const auto second = windows.Open(pid, "", {0, 0, 1, 1});
    Second();  // 08:30:01: both windows found; the last one enumerated is recorded
    EXPECT_EQ(Cell(ColWindowHandle, 1), std::to_string(first));
    EXPECT_EQ(windows.Find(first)->rect, (platform::Rect{1920, 0, 1920, 1080}));
    EXPECT_EQ(windows.Find(second)->rect, (platform::Rect{1920, 0, 1920, 1080}));
    EXPECT_EQ(host.mainWindowRaises, 1);

    RunUntil(8, 30, 6);
    EXPECT_EQ(processes.terminated, std::vector<int>{pid});
    EXPECT_EQ(processes.exitCodes[pid], 1u);
    EXPECT_TRUE(processes.handles.empty());
    EXPECT_EQ(host.history.back(), Line("08:30:05", " 结束任务: 【", "/apps/player", "News"));
    EXPECT_EQ(Cell(ColRunState, 1), "停播");
    EXPECT_EQ(Cell(ColProcessId, 1), "");
    EXPECT_EQ(Cell(ColWindowHandle, 1), "");
    EXPECT_EQ(Cell(ColProcessHandle, 1), "");
    // Counted on the watch ticks from 08:30:00.5 to 08:30:04.5, and kept after the end.
    EXPECT_EQ(Cell(ColRunTime, 1), "00:00:05");
    EXPECT_EQ(host.panels[3], " 08:30:05");
    EXPECT_EQ(host.history.size(), 2u);
}

TEST_F(TaskRunnerTest, ProcessMode_WindowsOpenedAfterTheFirstFindAreLeftAlone) {
    SetRow(1, {{ColStartTime, "08:30:00"}, {ColWindowSetting, "否,最大"}, {ColMonitor, "2"}});
    RunUntil(8, 30, 1);
    const int pid = RowProcess(1);
    windows.Open(pid, "Main");
    Second();
    const auto late = windows.Open(pid, "Late", {1, 2, 3, 4});
    Seconds(3);
    EXPECT_EQ(windows.Find(late)->rect, (platform::Rect{1, 2, 3, 4}));
}

TEST_F(TaskRunnerTest, ProcessMode_NonNumericProcessIdSkipsWatchAndCount) {
    SetRow(1, {});
    table.SetCell(ColRunState, 1, "在播");
    table.SetCell(ColProcessId, 1, "abc");
    table.SetCell(ColProcessHandle, 1, "3");
    Seconds(3);
    EXPECT_EQ(windows.enumerations, 0);
    EXPECT_EQ(Cell(ColRunTime, 1), "");
}

// ---- Caption mode -----------------------------------------------------------------------------

TEST_F(TaskRunnerTest, CaptionModeDay_FollowsTheProcessShowingTheCaption) {
    SetRow(1, {{ColStartTime, "08:30:00"}, {ColEndTime, "08:30:04"}, {ColCaption, "Player"}});
    RunUntil(8, 30, 1);
    ASSERT_EQ(processes.launches.size(), 1u);
    // The created process is not followed: its handle is closed at once, columns stay empty.
    EXPECT_EQ(Cell(ColProcessId, 1), "");
    EXPECT_EQ(Cell(ColProcessHandle, 1), "");
    EXPECT_TRUE(processes.handles.empty());
    EXPECT_EQ(Cell(ColRunTime, 1), "");  // no counting while searching

    const int owner = processes.AddForeignProcess();
    windows.Open(owner, "player");  // case differs
    const auto window = windows.Open(owner, "Player - clip.mp4");
    Second();  // 08:30:01
    EXPECT_EQ(Cell(ColProcessId, 1), std::to_string(owner));
    EXPECT_EQ(Cell(ColWindowHandle, 1), std::to_string(window));
    ASSERT_EQ(processes.handles.size(), 1u);
    EXPECT_EQ(Cell(ColProcessHandle, 1), std::to_string(processes.handles.begin()->first));
    EXPECT_EQ(host.mainWindowRaises, 1);
    EXPECT_EQ(Cell(ColRunTime, 1), "00:00:01");  // found, then counted in the same tick

    RunUntil(8, 30, 5);
    EXPECT_EQ(processes.terminated, std::vector<int>{owner});
    EXPECT_TRUE(processes.handles.empty());
}

TEST_F(TaskRunnerTest, FindWindowByCaption_PrefixIsExactAndKeepsBlanks) {
    const auto player = windows.Open(41, "Player");
    windows.Open(42, "");
    EXPECT_EQ(runner.FindWindowByCaption(" Player").processId, 0);
    EXPECT_EQ(runner.FindWindowByCaption("").processId, 0);
    EXPECT_EQ(runner.FindWindowByCaption("Playerx").processId, 0);
    EXPECT_EQ(runner.FindWindowByCaption("Play").window, player);
    const auto upper = windows.Open(43, "Player 2");  // now above the first one
    EXPECT_EQ(runner.FindWindowByCaption("Player").window, upper);
}

TEST_F(TaskRunnerTest, FindWindowByCaption_NeverTakesTheProgramsOwnOrOwnerlessWindows) {
    windows.Open(::getpid(), "Vardo");
    EXPECT_EQ(runner.FindWindowByCaption("Var").processId, 0);
    const auto task = windows.Open(4242, "Varieties");
    windows.Open(::getpid(), "Vardo settings");
    windows.Open(0, "Variable owner unknown");
    EXPECT_EQ(runner.FindWindowByCaption("Var").window, task);
}

TEST_F(TaskRunnerTest, CaptionMode_StartAndEndInOneSecondKeepsRunningPastItsEnd) {
    SetRow(1, {{ColStartTime, "08:30:00"}, {ColEndTime, "08:30:00"}, {ColCaption, "Player"}});
    RunUntil(8, 30, 1);
    EXPECT_EQ(Cell(ColRunState, 1), "在播");
    EXPECT_EQ(host.history.size(), 1u);
    const int owner = processes.AddForeignProcess();
    windows.Open(owner, "Player");
    Second();
    EXPECT_EQ(Cell(ColProcessId, 1), std::to_string(owner));
    EXPECT_TRUE(processes.terminated.empty());
}

// ---- Placement --------------------------------------------------------------------------------

struct PlacementCase {
    std::string setting;
    std::string monitor;
    platform::Rect expected;
    bool hidden;
    std::vector<std::string> calls;
};

class PlacementTest : public TaskRunnerTest, public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(PlacementTest, PlaceTaskWindow_GivesTheRectangleOfTheSetting) {
    const PlacementCase& c = GetParam();
    SetRow(1, {{ColWindowSetting, c.setting}, {ColMonitor, c.monitor}});
    const auto window = windows.Open(7, "W", {100, 50, 640, 480});
    runner.PlaceTaskWindow(window, 1);
    EXPECT_EQ(windows.Find(window)->rect, c.expected);
    EXPECT_EQ(windows.Find(window)->hidden, c.hidden);
    std::vector<std::string> expectedCalls;
    for (const std::string& call : c.calls)
        expectedCalls.push_back(call + " " + std::to_string(window));
    EXPECT_EQ(windows.calls, expectedCalls);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, PlacementTest,
    ::testing::Values(
        PlacementCase{"否,最大", "2", {1920, 0, 1920, 1080}, false, {"moveresize"}},
        PlacementCase{"是,最大", "2", {2020, 50, 640, 480}, false, {"move", "raise"}},
        PlacementCase{"是,无", "2", {2020, 50, 640, 480}, false, {"move", "raise"}},
        PlacementCase{"是", "1", {100, 50, 640, 480}, false, {"move", "raise"}},
        PlacementCase{"否,无", "2", {2020, 50, 1920, 1080}, true, {"hide", "moveresize"}},
        PlacementCase{"否", "2", {2020, 50, 1920, 1080}, true, {"hide", "moveresize"}},
        PlacementCase{"否,最大", "3", {0, 0, 1920, 1080}, false, {"moveresize"}},
        PlacementCase{"否,最大", "02", {0, 0, 1920, 1080}, false, {"moveresize"}},
        PlacementCase{"否,最大", "", {0, 0, 1920, 1080}, false, {"moveresize"}}));

TEST_F(TaskRunnerTest, PlaceTaskWindow_UnreadableRectangleCountsAsTenByTen) {
    SetRow(1, {{ColWindowSetting, "是,无"}, {ColMonitor, "2"}});
    const auto window = windows.Open(7, "W", {300, 300, 50, 50});
    windows.Find(window)->rectReadable = false;
    runner.PlaceTaskWindow(window, 1);
    EXPECT_EQ(windows.Find(window)->rect, (platform::Rect{1920, 0, 50, 50}));
}

TEST_F(TaskRunnerTest, HiddenStart_OnlyForExactlyNoAndNone) {
    SetRow(1, {{ColWindowSetting, "否,无"}});
    SetRow(2, {{ColWindowSetting, "否"}});
    runner.StartTask(1);
    runner.StartTask(2);
    EXPECT_FALSE(processes.launches[0].showWindow);
    EXPECT_TRUE(processes.launches[1].showWindow);
}

TEST_F(TaskRunnerTest, HiddenStart_WindowsAreHiddenWhenFoundEvenIfTheSettingChanged) {
    SetRow(1, {{ColWindowSetting, "否,无"}});
    runner.StartTask(1);
    table.SetCell(ColWindowSetting, 1, "是,最大");
    const auto window = windows.Open(RowProcess(1), "W");
    runner.WatchTick();
    EXPECT_TRUE(windows.Find(window)->hidden);
}

TEST_F(TaskRunnerTest, KeepSize_KeepsThePlaceWithinTheMonitorItLiesOnAndStaysInside) {
    SetRow(1, {{ColWindowSetting, "是"}, {ColMonitor, "1"}});
    const auto onTwo = windows.Open(7, "W", {2020, 50, 640, 480});
    const auto inCorner = windows.Open(7, "W", {3700, 900, 400, 300});
    runner.PlaceTaskWindow(onTwo, 1);
    runner.PlaceTaskWindow(inCorner, 1);
    EXPECT_EQ(windows.Find(onTwo)->rect, (platform::Rect{100, 50, 640, 480}));
    EXPECT_EQ(windows.Find(inCorner)->rect, (platform::Rect{1520, 780, 400, 300}));
}

// ---- Windows as they show ----------------------------------------------------------------------

TEST_F(TaskRunnerTest, ShownWindows_EachWindowOfTheTaskIsPlacedOnceAsItShows) {
    SetRow(1, {{ColWindowSetting, "否,最大"}, {ColMonitor, "2"}});
    runner.StartTask(1);
    const int pid = RowProcess(1);
    const auto other = windows.Open(pid + 1, "Other", {1, 2, 3, 4}, false);
    windows.Show(other);
    const auto first = windows.Open(pid, "Main", {10, 20, 300, 200}, false);
    windows.Show(first);
    EXPECT_EQ(windows.Find(first)->rect, (platform::Rect{1920, 0, 1920, 1080}));
    EXPECT_EQ(Cell(ColWindowHandle, 1), std::to_string(first));
    const auto second = windows.Open(pid, "Dialog", {10, 20, 300, 200}, false);
    windows.Show(second);
    EXPECT_EQ(Cell(ColWindowHandle, 1), std::to_string(second));
    EXPECT_EQ(runner.HandleList(),
              (std::vector<std::string>{std::to_string(first), std::to_string(second)}));
    // Shown again (its caption changed, or the operator moved it back): it is the operator's.
    windows.Find(first)->rect = {5, 5, 300, 200};
    windows.Show(first);
    EXPECT_EQ(windows.Find(first)->rect, (platform::Rect{5, 5, 300, 200}));
    EXPECT_EQ(windows.Find(other)->rect, (platform::Rect{1, 2, 3, 4}));
    EXPECT_EQ(host.mainWindowRaises, 1) << "raised again over the task's later window";
}

// The placed windows are forgotten as they go: the server gives a destroyed window's id to a
// new window, which is the task's new window, placed as it shows.
TEST_F(TaskRunnerTest, ShownWindows_AWindowDestroyedIsForgotten_ItsIdShownAgainIsPlaced) {
    SetRow(1, {{ColWindowSetting, "否,最大"}, {ColMonitor, "2"}});
    runner.StartTask(1);
    const auto window = windows.Open(RowProcess(1), "Clip 1", {10, 20, 300, 200}, false);
    windows.Show(window);
    ASSERT_EQ(windows.Find(window)->rect, (platform::Rect{1920, 0, 1920, 1080}));
    windows.listener->WindowDestroyed(window);
    windows.Find(window)->rect = {10, 20, 300, 200};
    windows.Show(window);
    EXPECT_EQ(windows.Find(window)->rect, (platform::Rect{1920, 0, 1920, 1080}));
}

TEST_F(TaskRunnerTest, ShownWindows_CaptionGivenAfterShowingIsAdopted_NothingInTheEditState) {
    SetRow(1, {{ColCaption, "Player"}, {ColWindowSetting, "否,最大"}});
    runner.StartTask(1);
    const int owner = processes.AddForeignProcess();
    const auto window = windows.Open(owner, "Loading", {10, 20, 300, 200}, false);
    windows.Show(window);
    EXPECT_EQ(Cell(ColProcessId, 1), "");
    windows.Find(window)->info.caption = "Player - clip.mp4";
    host.editState = true;
    windows.Show(window);
    EXPECT_EQ(Cell(ColProcessId, 1), "");
    host.editState = false;
    windows.Show(window);
    EXPECT_EQ(Cell(ColProcessId, 1), std::to_string(owner));
    EXPECT_EQ(Cell(ColWindowHandle, 1), std::to_string(window));
    EXPECT_EQ(windows.Find(window)->rect, (platform::Rect{0, 0, 1920, 1080}));
}

TEST_F(TaskRunnerTest, WatchTick_NeverTakesAWindowThatHasNotShown) {
    SetRow(1, {{ColWindowSetting, "否,无"}});
    runner.StartTask(1);
    const auto leader = windows.Open(RowProcess(1), "Leader", {0, 0, 10, 10}, false);
    Seconds(2);
    EXPECT_EQ(Cell(ColWindowHandle, 1), "");
    EXPECT_TRUE(windows.calls.empty());
    const auto real = windows.Open(RowProcess(1), "Real");
    Second();
    EXPECT_EQ(Cell(ColWindowHandle, 1), std::to_string(real));
    EXPECT_FALSE(windows.Find(leader)->hidden);
    // Withdrawn before anything else is done to it.
    EXPECT_EQ(windows.calls.front(), "hide " + std::to_string(real));
}

// ---- Windows that never show -------------------------------------------------------------------

constexpr const char* kUnplaced = " 窗口未能放置: 【";

int UnplacedLines(const FakeHost& host) {
    return static_cast<int>(std::count_if(
        host.history.begin(), host.history.end(),
        [](const std::string& line) { return line.find(kUnplaced) != std::string::npos; }));
}

// On a Wayland session a task may have opened a native window that placement cannot see.
TEST_F(TaskRunnerTest, WaylandSession_NoWindowWithinTenSeconds_IsReportedOnce) {
    windows.waylandSession = true;
    SetRow(1, {{ColStartTime, "08:30:00"}, {ColWindowSetting, "否,最大"}, {ColMonitor, "2"}});
    SetRow(2, {{ColStartTime, "08:30:00"}, {ColCaption, "Player"}, {ColDescription, "Clip"}});
    RunUntil(8, 30, 9);
    EXPECT_EQ(UnplacedLines(host), 0);
    Second();  // the tenth watch tick since the start
    ASSERT_EQ(UnplacedLines(host), 2);
    EXPECT_EQ(host.history[2], Line("08:30:09", kUnplaced, "/apps/player", "News"));
    EXPECT_EQ(host.history[3], Line("08:30:09", kUnplaced, "/apps/player", "Clip"));
    EXPECT_EQ(host.statusLine, host.history.back());
    // Still followed: a window that shows late is placed all the same, and nothing more is said.
    const auto late = windows.Open(RowProcess(1), "Late");
    Seconds(30);
    EXPECT_EQ(windows.Find(late)->rect, (platform::Rect{1920, 0, 1920, 1080}));
    EXPECT_EQ(UnplacedLines(host), 2);

    // A new start waits its own ten seconds.
    table.SetCell(ColStartTime, 2, "08:30:40");
    RunUntil(8, 30, 49);
    EXPECT_EQ(UnplacedLines(host), 2);
    Second();
    EXPECT_EQ(host.history.back(), Line("08:30:49", kUnplaced, "/apps/player", "Clip"));
}

// On X every window of a task is seen: a task showing none (an audio player, a script) needs
// no placing, one showing only windows that are not placed (a caption that does not match, a tool
// window) is reported, and a launch that failed has said so already.
TEST_F(TaskRunnerTest, X11Session_OnlyATaskShowingAWindowThatIsNotPlacedIsReported) {
    SetRow(1, {{ColStartTime, "08:30:00"}, {ColDescription, "Audio"}});
    SetRow(2, {{ColStartTime, "08:30:00"}, {ColCaption, "Player"}, {ColDescription, "Caption"}});
    SetRow(3, {{ColStartTime, "08:30:00"}, {ColDescription, "Tool"}});
    RunUntil(8, 30, 1);
    windows.Open(processes.launches[1].processId, "Other caption");
    windows.Find(windows.Open(RowProcess(3), "Palette"))->info.role =
        platform::WindowRole::Secondary;
    RunUntil(8, 30, 30);
    EXPECT_EQ(UnplacedLines(host), 2);
    EXPECT_EQ(host.history[3], Line("08:30:09", kUnplaced, "/apps/player", "Caption"));
    EXPECT_EQ(host.history[4], Line("08:30:09", kUnplaced, "/apps/player", "Tool"));

    processes.failLaunches = true;
    table.SetCell(ColStartTime, 1, "08:30:40");
    windows.waylandSession = true;
    RunUntil(8, 31, 0);
    EXPECT_EQ(UnplacedLines(host), 2) << "a failed launch reported twice";
    EXPECT_NE(host.history.back().find(" 启动失败: 【"), std::string::npos);
}

TEST_F(TaskRunnerTest, NoWindowReport_NotForAPlacedEndedOrUnplaceableTask) {
    windows.waylandSession = true;
    SetRow(1, {{ColStartTime, "08:30:00"}, {ColWindowSetting, "否,无"}});
    SetRow(2, {{ColStartTime, "08:30:00"}, {ColEndTime, "08:30:05"}});
    SetRow(3, {{ColStartTime, "08:30:00"}});
    RunUntil(8, 30, 3);
    windows.Open(RowProcess(1), "Hidden at once");
    processes.Exit(RowProcess(3), 0);
    RunUntil(8, 30, 30);
    EXPECT_EQ(UnplacedLines(host), 0);

    // Without an X display nothing is placed, and the main window says so instead.
    windows.available = false;
    table.SetCell(ColStartTime, 3, "08:30:40");
    RunUntil(8, 31, 0);
    EXPECT_EQ(Cell(ColRunState, 3), "在播");
    EXPECT_EQ(UnplacedLines(host), 0);
}

// ---- Schedule order ---------------------------------------------------------------------------

TEST_F(TaskRunnerTest, ExclusiveRow_EndsTheTasksStartedAboveItInTheSameSecond) {
    SetRow(1, {{ColApplication, "/apps/a"}, {ColDescription, "A"}, {ColStartTime, "08:30:00"}});
    SetRow(2, {{ColApplication, "/apps/b"},
               {ColDescription, "B"},
               {ColStartTime, "08:30:00"},
               {ColCaption, "Clock"}});
    SetRow(3, {{ColApplication, "/apps/c"},
               {ColDescription, "C"},
               {ColStartTime, "08:30:00"},
               {ColExclusive, "是"}});
    RunUntil(8, 30, 1);
    ASSERT_EQ(processes.launches.size(), 3u);
    EXPECT_EQ(processes.terminated, std::vector<int>{processes.launches[0].processId});
    EXPECT_EQ(host.history,
              (std::vector<std::string>{Line("08:30:00", " 启动任务: 【", "/apps/a", "A"),
                                        Line("08:30:00", " 启动任务: 【", "/apps/b", "B"),
                                        Line("08:30:00", " 结束任务: 【", "/apps/a", "A"),
                                        Line("08:30:00", " 启动任务: 【", "/apps/c", "C")}));
    EXPECT_EQ(Cell(ColRunState, 1), "停播");
    EXPECT_EQ(Cell(ColRunState, 2), "在播");  // still searching for its caption: not ended
    EXPECT_EQ(Cell(ColRunState, 3), "在播");
}

TEST_F(TaskRunnerTest, RunningRowStartingAgain_IsEndedThenStarted) {
    SetRow(1, {{ColStartTime, "08:30:00"}});
    RunUntil(8, 30, 3);
    const int first = RowProcess(1);
    host.history.clear();
    runner.ScanSchedule(8 * 3600 + 30 * 60);
    EXPECT_EQ(processes.terminated, std::vector<int>{first});
    EXPECT_NE(RowProcess(1), first);
    ASSERT_EQ(host.history.size(), 2u);
    EXPECT_NE(host.history[0].find(" 结束任务: 【"), std::string::npos);
    EXPECT_NE(host.history[1].find(" 启动任务: 【"), std::string::npos);
    EXPECT_EQ(Cell(ColRunTime, 1), "00:00:03");  // the count goes on across runs
}

TEST_F(TaskRunnerTest, StartAndEndInOneSecond_StartsThenEnds) {
    SetRow(1, {{ColStartTime, "08:30:00"}, {ColEndTime, "08:30:00"}});
    RunUntil(8, 30, 1);
    ASSERT_EQ(processes.launches.size(), 1u);
    EXPECT_EQ(processes.terminated, std::vector<int>{processes.launches[0].processId});
    ASSERT_EQ(host.history.size(), 2u);
    EXPECT_NE(host.history[1].find(" 结束任务: 【"), std::string::npos);
}

TEST_F(TaskRunnerTest, ScanSchedule_SkipsRowsWithoutApplicationAndReadsBlankTimesAsMidnight) {
    SetRow(1, {{ColApplication, ""}, {ColStartTime, "08:30:00"}, {ColEndTime, "08:30:00"}});
    SetRow(2, {{ColStartTime, "  :  :  "}});
    runner.ScanSchedule(8 * 3600 + 30 * 60);
    EXPECT_TRUE(processes.launches.empty());
    runner.ScanSchedule(0);
    ASSERT_EQ(processes.launches.size(), 1u);
    EXPECT_EQ(Cell(ColRunState, 2), "在播");
}

TEST_F(TaskRunnerTest, ScanSchedule_ReadsEveryWayOfWritingTheSameSecond) {
    const std::vector<std::string> starts = {"08:30:00", "8:30:00",  " 8:30:0",
                                             "08:30",    "08:29:60", "8:30:00 "};
    for (std::size_t i = 0; i < starts.size(); ++i) {
        SetRow(static_cast<int>(i) + 1, {{ColStartTime, starts[i]}});
    }
    SetRow(7, {{ColStartTime, "08:30:01"}});
    runner.ScanSchedule(8 * 3600 + 30 * 60);
    EXPECT_EQ(processes.launches.size(), starts.size());
    EXPECT_EQ(Cell(ColRunState, 7), "");
}

TEST_F(TaskRunnerTest, TaskEndingByItself_IsLoggedOnceAndNotEndedAgain) {
    SetRow(1, {{ColStartTime, "08:30:00"}, {ColEndTime, "08:30:10"}});
    RunUntil(8, 30, 3);
    const int pid = RowProcess(1);
    processes.Exit(pid, 0);
    Second();  // 08:30:03
    EXPECT_EQ(host.history.back(), Line("08:30:03", " 任务结束: 【", "/apps/player", "News"));
    EXPECT_EQ(Cell(ColRunState, 1), "停播");
    EXPECT_EQ(Cell(ColProcessId, 1), "");
    EXPECT_EQ(Cell(ColRunTime, 1), "00:00:03");  // not counted on the tick that saw the end
    EXPECT_TRUE(processes.handles.empty());
    RunUntil(8, 30, 12);
    EXPECT_EQ(host.history.size(), 2u);
    EXPECT_TRUE(processes.terminated.empty());
}

TEST_F(TaskRunnerTest, ExitCodeOfStillActiveIsStillAnEnd) {
    SetRow(1, {});
    runner.StartTask(1);
    processes.Exit(RowProcess(1), platform::kStillActive);
    runner.WatchTick();
    EXPECT_EQ(Cell(ColRunState, 1), "停播");
}

// ---- Timer seconds ----------------------------------------------------------------------------

TEST_F(TaskRunnerTest, SkippedSecond_IsCaughtUpOnce) {
    SetRow(1, {{ColStartTime, "08:30:00"}});
    clock.Set(At(2026, 12, 7, 8, 29, 59, 990));
    runner.ScheduleTick();
    clock.Set(At(2026, 12, 7, 8, 30, 1, 2));  // no tick fell into 08:30:00
    runner.ScheduleTick();
    EXPECT_EQ(processes.launches.size(), 1u);
    EXPECT_EQ(host.panels[3], " 08:30:01");
}

TEST_F(TaskRunnerTest, ScheduleTick_ShowsTheSecondItScans) {
    // Every reading of this clock is a millisecond later than the one before.
    class SteppingClock final : public Clock {
      public:
        LocalTime Now() const override { return now += std::chrono::milliseconds(1); }
        mutable LocalTime now = At(2026, 12, 7, 8, 29, 59, 998);
    } stepping;
    SetClock(&stepping);
    runner.ScheduleTick();
    SetClock(&clock);
    EXPECT_EQ(host.panels[3], " 08:29:59");
}

// Start latency is measured on the monotonic clock from a reading of the wall clock finer than
// its milliseconds, so that a start within a millisecond counts as one.
TEST_F(TaskRunnerTest, ScheduledStart_LatencyIsMeasuredInFinerStepsThanMilliseconds) {
    class PreciseClock final : public Clock {
      public:
        LocalTime Now() const override { return At(2026, 12, 7, 8, 30, 0); }
        PreciseLocalTime PreciseNow() const override {
            return Now() + std::chrono::microseconds(400);
        }
    } precise;
    struct Latencies final : TaskRunnerEvents {
        void TaskStarted(bool, std::optional<std::chrono::nanoseconds> latency) override {
            seen.push_back(latency);
        }
        std::vector<std::optional<std::chrono::nanoseconds>> seen;
    } latencies;
    SetRow(1, {{ColStartTime, "08:30:00"}});
    runner.SetEvents(&latencies);
    SetClock(&precise);
    const auto before = std::chrono::steady_clock::now();
    runner.ScheduleTick();
    const auto took = std::chrono::steady_clock::now() - before;
    SetClock(&clock);
    runner.SetEvents(nullptr);
    ASSERT_EQ(latencies.seen.size(), 1u);
    ASSERT_TRUE(latencies.seen[0].has_value());
    EXPECT_GE(*latencies.seen[0], std::chrono::microseconds(400));
    EXPECT_LE(*latencies.seen[0], std::chrono::microseconds(400) + took);
}

TEST_F(TaskRunnerTest, RepeatedSecond_IsNotProcessedTwice) {
    SetRow(1, {{ColStartTime, "08:30:00"}});
    clock.Set(At(2026, 12, 7, 8, 30, 0, 1));
    runner.ScheduleTick();
    clock.Set(At(2026, 12, 7, 8, 30, 0, 998));
    runner.ScheduleTick();
    EXPECT_EQ(processes.launches.size(), 1u);
    EXPECT_TRUE(processes.terminated.empty());
}

TEST_F(TaskRunnerTest, EditState_StopsBothTicksAndSkipsItsSeconds) {
    SetRow(1, {{ColStartTime, "08:30:00"}});
    SetRow(2, {{ColStartTime, "08:30:03"}});
    Second();  // 08:29:58
    host.editState = true;
    RunUntil(8, 30, 2);
    EXPECT_TRUE(processes.launches.empty());
    EXPECT_EQ(host.panels[4], " 1");
    host.editState = false;
    Seconds(2);  // 08:30:02 and 08:30:03
    ASSERT_EQ(processes.launches.size(), 1u);
    EXPECT_EQ(Cell(ColRunState, 2), "在播");
    EXPECT_EQ(host.panels[4], " 3");
}

TEST_F(TaskRunnerTest, TickNestedInAHistoryWrite_IsLeftToTheNextTick) {
    SetRow(1, {{ColStartTime, "08:30:00"}});
    SetRow(2, {{ColStartTime, "08:30:01"}});
    clock.Set(At(2026, 12, 7, 8, 30, 0, 5));
    host.onHistoryLine = [&] {
        clock.Set(At(2026, 12, 7, 8, 30, 1, 5));
        runner.ScheduleTick();
    };
    runner.ScheduleTick();
    host.onHistoryLine = nullptr;
    EXPECT_EQ(processes.launches.size(), 1u);
    runner.ScheduleTick();
    EXPECT_EQ(processes.launches.size(), 2u);
}

TEST_F(TaskRunnerTest, EndNoticedByTheWatch_ScheduleTickNestedInItsHistoryWriteKeepsTheNewRun) {
    SetRow(1, {{ColStartTime, "08:30:04"}});
    runner.StartTask(1);
    processes.Exit(RowProcess(1), 0);
    host.onHistoryLine = [&] {
        host.onHistoryLine = nullptr;
        clock.Set(At(2026, 12, 7, 8, 30, 4, 2));
        runner.ScheduleTick();
    };
    runner.WatchTick();
    ASSERT_EQ(processes.launches.size(), 2u);
    EXPECT_EQ(host.history, (std::vector<std::string>{
                                Line("08:29:58", " 启动任务: 【", "/apps/player", "News"),
                                Line("08:29:58", " 任务结束: 【", "/apps/player", "News"),
                                Line("08:30:04", " 启动任务: 【", "/apps/player", "News")}));
    EXPECT_EQ(Cell(ColRunState, 1), "在播");
    EXPECT_EQ(RowProcess(1), processes.launches[1].processId);
    runner.EndTask(1);
    EXPECT_EQ(processes.terminated, std::vector<int>{processes.launches[1].processId});
}

TEST_F(TaskRunnerTest, StartLoggedThroughAnErrorBox_KeepsTheWatchRunningMeanwhile) {
    SetRow(1, {});
    std::string watchDuringWrite;
    host.onHistoryLine = [&] { watchDuringWrite = host.watchTimerEvents.back(); };
    runner.StartTask(1);
    EXPECT_EQ(watchDuringWrite, "start");
    EXPECT_EQ(host.watchTimerEvents, (std::vector<std::string>{"stop", "start"}));
}

TEST_F(TaskRunnerTest, Midnight_IsJustTheNextSecond) {
    SetRow(1, {{ColStartTime, "00:00:00"}});
    clock.Set(At(2026, 12, 7, 23, 59, 59, 500));
    runner.ScheduleTick();
    clock.Set(At(2026, 12, 8, 0, 0, 1, 0));
    runner.ScheduleTick();
    EXPECT_EQ(processes.launches.size(), 1u);
}

// ---- Buttons and ending -----------------------------------------------------------------------

TEST_F(TaskRunnerTest, StopButton_ActsOnlyOnATrackedRow) {
    SetRow(1, {});
    SetRow(2, {{ColCaption, "Never"}});
    table.SetCurrentRow(1);
    runner.btnStopFlashClick();  // idle
    table.SetCell(ColRunState, 1, "停播");
    runner.btnStopFlashClick();  // stopped
    table.SetCurrentRow(2);
    runner.btnPlayFlashClick();  // caption mode, window never found
    runner.btnStopFlashClick();
    EXPECT_EQ(Cell(ColRunState, 2), "在播");
    EXPECT_EQ(host.history.size(), 1u);
}

// The start is logged as the row says, and the failure with its reason right after it.
TEST_F(TaskRunnerTest, PlayButton_EmptyApplicationStillMarksAndLogsTheFailure) {
    SetRow(1, {{ColApplication, ""}, {ColParameters, "\"x\""}});
    table.SetCurrentRow(1);
    processes.failLaunches = true;
    runner.btnPlayFlashClick();
    EXPECT_EQ(processes.launches[0].commandLine, " \"x\"");
    EXPECT_EQ(Cell(ColRunState, 1), "在播");
    ASSERT_EQ(host.history.size(), 2u);
    EXPECT_EQ(host.history[0], Line("08:29:58", " 启动任务: 【", "", "News"));
    EXPECT_EQ(host.history[1], Line("08:29:58", " 启动失败: 【", "", "no such program"));
    EXPECT_EQ(host.statusLine, host.history[1]);
}

TEST_F(TaskRunnerTest, FailedLaunch_NeverKeepsAnEarlierLaunchsProcessNorAdoptsAWindow) {
    SetRow(1, {{ColCaption, "  "}});  // blanks only: process mode
    runner.StartTask(1);
    const int first = RowProcess(1);
    table.SetCurrentRow(1);
    processes.failLaunches = true;
    runner.btnPlayFlashClick();
    EXPECT_EQ(processes.terminated, std::vector<int>{first});
    EXPECT_EQ(Cell(ColProcessId, 1), "");
    EXPECT_EQ(Cell(ColProcessHandle, 1), "");
    EXPECT_EQ(Cell(ColRunState, 1), "在播");
    EXPECT_EQ(runner.LastCreation().processId, 0);
    windows.Open(processes.AddForeignProcess(), "  Other");
    runner.WatchTick();
    EXPECT_EQ(Cell(ColProcessId, 1), "");
    runner.btnStopFlashClick();  // nothing left to end
    EXPECT_EQ(processes.terminated.size(), 1u);
}

TEST_F(TaskRunnerTest, EndAllTasks_EndsEveryTrackedRowOnExit) {
    SetRow(1, {});
    SetRow(2, {{ColCaption, "X"}});
    SetRow(3, {});
    runner.StartTask(1);
    runner.StartTask(2);
    runner.StartTask(3);
    runner.EndAllTasks();
    EXPECT_EQ(processes.terminated.size(), 2u);
    EXPECT_TRUE(processes.handles.empty());
    EXPECT_EQ(Cell(ColRunState, 1), "停播");
    EXPECT_EQ(Cell(ColRunState, 3), "停播");
}

// A task of another user (a caption row that took another user's window) cannot be ended: the
// refusal is logged and counted, and the task stays on its row, still followed.
TEST_F(TaskRunnerTest, EndRefused_IsLoggedAndCountedAndTheTaskStaysFollowed) {
    StationMetrics metrics(table);
    runner.SetEvents(&metrics);
    SetRow(1, {});
    runner.StartTask(1);
    const int pid = RowProcess(1);
    processes.refuseKills = true;
    table.SetCurrentRow(1);
    runner.btnStopFlashClick();
    EXPECT_EQ(host.history.back(),
              Line("08:29:58", " 结束失败: 【", "/apps/player", "Operation not permitted"));
    EXPECT_EQ(host.statusLine, host.history.back());
    EXPECT_EQ(Cell(ColRunState, 1), "在播");
    EXPECT_EQ(RowProcess(1), pid);
    EXPECT_NE(metrics.Exposition().find("vardo_task_end_failures_total 1\n"), std::string::npos);
    runner.WatchTick();
    EXPECT_EQ(Cell(ColRunTime, 1), "00:00:01");

    // A restart whose end was refused starts no second copy beside the task.
    runner.btnPlayFlashClick();
    EXPECT_EQ(RowProcess(1), pid);
    processes.refuseKills = false;
    runner.EndAllTasks();
    EXPECT_EQ(processes.terminated, (std::vector<int>{pid}));
    EXPECT_TRUE(processes.handles.empty());
    runner.SetEvents(nullptr);
}

// ---- Reminder ---------------------------------------------------------------------------------

TEST_F(TaskRunnerTest, Reminder_ExactTextOnceAtTheThresholdPerLoad) {
    SetRow(1, {});
    SetRow(2, {{ColDescription, "Morning news"},
               {ColStartTime, "08:30:00"},
               {ColEndTime, "08:30:07"},
               {ColReminder, "00:00:05"}});
    RunUntil(8, 30, 4);
    EXPECT_TRUE(host.reminders.empty());
    Second();  // fifth counted tick, at 08:30:04.5
    ASSERT_EQ(host.reminders.size(), 1u);
    EXPECT_EQ(host.reminders[0].row, 2);
    EXPECT_EQ(host.reminders[0].description, "Morning news");
    EXPECT_EQ(host.reminders[0].runTime, "00:00:05");
    // A second run of the row goes on counting from 5 and never meets the threshold again.
    table.SetCurrentRow(2);
    runner.btnPlayFlashClick();
    Seconds(10);
    EXPECT_EQ(host.reminders.size(), 1u);
}

TEST_F(TaskRunnerTest, Reminder_ZeroOrEmptyThresholdNeverFires) {
    SetRow(1, {{ColReminder, "00:00:00"}});
    SetRow(2, {{ColReminder, ""}});
    SetRow(3, {{ColReminder, "  :  :  "}});
    runner.StartTask(1);
    runner.StartTask(2);
    runner.StartTask(3);
    Seconds(5);
    EXPECT_TRUE(host.reminders.empty());
}

// ---- Handles ----------------------------------------------------------------------------------

// Copy-insert as the editor does it: an empty row above the running one, which the original's
// cells, run-time cells included, are copied into; the copy's end time is then changed.
TEST_F(TaskRunnerTest, CopyInsertedAboveARunningRow_TheTaskStaysWithTheOriginal) {
    SetRow(1, {{ColStartTime, "08:30:00"}, {ColEndTime, "08:30:05"}});
    RunUntil(8, 30, 2);
    const int pid = RowProcess(1);
    InsertTaskRow(table, 1);
    CopyTaskRow(table, 2, 1);
    table.SetCell(ColEndTime, 1, "08:30:03");

    RunUntil(8, 30, 4);  // the copy's end time passes: nothing ran there
    EXPECT_TRUE(processes.terminated.empty());
    EXPECT_EQ(Cell(ColRunState, 1), "停播");
    EXPECT_EQ(Cell(ColRunState, 2), "在播");
    EXPECT_EQ(Cell(ColRunTime, 2), "00:00:04");
    table.SetCurrentRow(1);
    runner.btnStopFlashClick();
    EXPECT_TRUE(processes.terminated.empty());

    RunUntil(8, 30, 6);
    EXPECT_EQ(processes.terminated, std::vector<int>{pid});
    EXPECT_EQ(host.history, (std::vector<std::string>{
                                Line("08:30:00", " 启动任务: 【", "/apps/player", "News"),
                                Line("08:30:05", " 结束任务: 【", "/apps/player", "News"),
                            }));
}

// A copy carries no task across a load, and so never logs the end of one; the original's task
// goes to the row that has its end time too, wherever the copy stands.
TEST_F(TaskRunnerTest, CopiedRunningRow_ThroughALoad_LogsNoEndAndLeavesTheTaskToItsRow) {
    SetRow(1, {{ColStartTime, "08:30:00"}, {ColEndTime, "08:30:05"}});
    RunUntil(8, 30, 1);
    const int pid = RowProcess(1);
    InsertTaskRow(table, 1);
    CopyTaskRow(table, 2, 1);
    table.SetCell(ColEndTime, 1, "08:30:03");
    table.SetRowCount(4);
    CopyTaskRow(table, 2, 3);  // a second copy, without a row of its own after the load
    table.SetCell(ColEndTime, 3, "08:30:02");
    table.SetCell(ColProcessHandle, 3, "");

    Load({{{ColStartTime, "08:30:00"}, {ColEndTime, "08:30:03"}},
          {{ColStartTime, "08:30:00"}, {ColEndTime, "08:30:05"}}});
    EXPECT_EQ(Cell(ColRunState, 1), "");
    EXPECT_EQ(RowProcess(2), pid);
    RunUntil(8, 30, 6);
    runner.EndAllTasks();
    EXPECT_EQ(processes.terminated, std::vector<int>{pid});
    EXPECT_EQ(host.history, (std::vector<std::string>{
                                Line("08:30:00", " 启动任务: 【", "/apps/player", "News"),
                                Line("08:30:05", " 结束任务: 【", "/apps/player", "News"),
                            }));
}

TEST_F(TaskRunnerTest, RowShowingATaskItNeverHeld_IsStoppedWithoutEndingOrLogging) {
    SetRow(1, {});
    table.SetCell(ColRunState, 1, "在播");
    table.SetCell(ColProcessId, 1, std::to_string(processes.AddForeignProcess()));
    table.SetCell(ColProcessHandle, 1, "3");
    runner.WatchTick();
    EXPECT_EQ(Cell(ColRunState, 1), "停播");
    runner.EndAllTasks();
    EXPECT_TRUE(processes.terminated.empty());
    EXPECT_TRUE(host.history.empty());
}

TEST_F(TaskRunnerTest, CopiedRow_NeverEndsALaterProcessReusingTheHandleNumber) {
    table.SetRowCount(4);
    SetRow(1, {});
    runner.StartTask(1);
    CopyTaskRow(table, 1, 2);
    runner.EndTask(1);  // closes the handle
    SetRow(3, {});
    runner.StartTask(3);
    ASSERT_EQ(Cell(ColProcessHandle, 3), Cell(ColProcessHandle, 2));
    table.SetCurrentRow(2);
    runner.btnStopFlashClick();
    EXPECT_EQ(processes.terminated.size(), 1u);
    EXPECT_EQ(Cell(ColRunState, 3), "在播");
    runner.WatchTick();
    EXPECT_EQ(Cell(ColRunState, 3), "在播");
}

TEST_F(TaskRunnerTest, MovedRow_KeepsItsTask) {
    SetRow(1, {});
    SetRow(2, {});
    runner.StartTask(1);
    const int pid = RowProcess(1);
    table.MoveRow(1, 2);
    runner.WatchTick();
    table.SetCurrentRow(2);
    runner.btnStopFlashClick();
    EXPECT_EQ(processes.terminated, std::vector<int>{pid});
}

TEST_F(TaskRunnerTest, DeletedRunningRow_ItsTaskIsStillFollowedAndEndedOnExit) {
    SetRow(1, {});
    SetRow(2, {});
    runner.StartTask(1);
    const int pid = RowProcess(1);
    DeleteTaskRow(table, 1);
    runner.WatchTick();
    EXPECT_EQ(processes.handles.size(), 1u);
    EXPECT_TRUE(processes.terminated.empty());
    runner.EndAllTasks();
    EXPECT_EQ(processes.terminated, std::vector<int>{pid});
    EXPECT_TRUE(processes.handles.empty());
}

// ---- Timetable loads --------------------------------------------------------------------------

TEST_F(TaskRunnerTest, Load_RowOfTheSameTask_TakesItOverWithRunTimeAndHandle) {
    SetRow(1, {{ColStartTime, "08:30:00"}, {ColEndTime, "08:30:06"}, {ColReminder, "00:00:04"}});
    RunUntil(8, 30, 2);
    const int pid = RowProcess(1);
    const std::string handle = Cell(ColProcessHandle, 1);
    ASSERT_EQ(Cell(ColRunTime, 1), "00:00:02");

    Load({{{ColApplication, "/apps/other"}, {ColStartTime, "08:30:00"}},
          {{ColDescription, "News again"},
           {ColStartTime, "8:30:0"},
           {ColEndTime, "08:30:06"},
           {ColReminder, "00:00:04"}}});
    EXPECT_EQ(Cell(ColRunState, 1), "");
    EXPECT_EQ(Cell(ColRunState, 2), "在播");
    EXPECT_EQ(RowProcess(2), pid);
    EXPECT_EQ(Cell(ColProcessHandle, 2), handle);

    RunUntil(8, 30, 7);
    EXPECT_EQ(host.reminders.size(), 1u);  // the run time went on from 2 seconds
    EXPECT_EQ(processes.terminated, std::vector<int>{pid});
    // Named as its start line named it, so that the history's start and end pair up.
    EXPECT_EQ(host.history.back(), Line("08:30:06", " 结束任务: 【", "/apps/player", "News"));
    EXPECT_TRUE(processes.handles.empty());
}

// Two runs of the same player started at the same second, one ending 08:30:02 on monitor 1,
// the other 08:30:04 on monitor 2: after the first has ended, a load of the same rows hands the
// one still running to its own row, which then ends it at its own time.
TEST_F(TaskRunnerTest, Load_TwoRowsOfTheSameStart_TheTaskGoesToTheRowWithItsEndAndMonitor) {
    const std::vector<RowCells> rows = {
        {{ColStartTime, "08:30:00"}, {ColEndTime, "08:30:02"}},
        {{ColStartTime, "08:30:00"}, {ColEndTime, "08:30:04"}, {ColMonitor, "2"}}};
    SetRow(1, rows[0]);
    SetRow(2, rows[1]);
    RunUntil(8, 30, 3);
    const int second = RowProcess(2);
    Load(rows);
    EXPECT_EQ(Cell(ColRunState, 1), "");
    EXPECT_EQ(RowProcess(2), second);

    // Among rows that fit as well, the one at the task's old position.
    Load({rows[1], rows[1], rows[1]});
    EXPECT_EQ(RowProcess(2), second);
    Load(rows);
    RunUntil(8, 30, 5);
    EXPECT_EQ(processes.terminated.back(), second);
    EXPECT_EQ(host.history.back(), Line("08:30:04", " 结束任务: 【", "/apps/player", "News"));
}

TEST_F(TaskRunnerTest, Load_WithoutTheTasksRow_EndsItAtItsOldEndTimeOrOnExit) {
    SetRow(1, {{ColStartTime, "08:30:00"}, {ColEndTime, "08:30:03"}});
    SetRow(2, {{ColApplication, "/apps/clock"}, {ColStartTime, "08:30:00"}});
    SetRow(3, {{ColApplication, "/apps/ticker"}, {ColStartTime, "08:30:00"}});
    RunUntil(8, 30, 1);
    const int player = RowProcess(1);
    const int clockTask = RowProcess(2);
    const int ticker = RowProcess(3);

    // Other parameters make another task.
    Load({{{ColParameters, "-other"}, {ColStartTime, "08:30:00"}, {ColEndTime, "08:30:03"}}});
    EXPECT_EQ(Cell(ColRunState, 1), "");
    processes.Exit(ticker, 0);
    RunUntil(8, 30, 4);
    EXPECT_EQ(processes.terminated, std::vector<int>{player});
    EXPECT_EQ(host.history, (std::vector<std::string>{
                                Line("08:30:00", " 启动任务: 【", "/apps/player", "News"),
                                Line("08:30:00", " 启动任务: 【", "/apps/clock", "News"),
                                Line("08:30:00", " 启动任务: 【", "/apps/ticker", "News"),
                                Line("08:30:01", " 任务结束: 【", "/apps/ticker", "News"),
                                Line("08:30:03", " 结束任务: 【", "/apps/player", "News"),
                            }));

    runner.EndAllTasks();
    EXPECT_EQ(processes.terminated, (std::vector<int>{player, clockTask}));
    EXPECT_EQ(host.history.back(), Line("08:30:04", " 结束任务: 【", "/apps/clock", "News"));
    EXPECT_TRUE(processes.handles.empty());
}

// ---- Diagnostics ------------------------------------------------------------------------------

TEST_F(TaskRunnerTest, Diagnostics_ListTheMostRecentCreationsWindows) {
    SetRow(1, {});
    windows.Open(999, "Other");
    windows.Open(0, "");    // owner unknown
    runner.MyEnumWindow();  // before any creation
    EXPECT_TRUE(runner.HandleList().empty());
    runner.StartTask(1);
    const int pid = RowProcess(1);
    const auto a = windows.Open(pid, "");
    const auto b = windows.Open(pid, "Main");
    runner.MyEnumWindow();
    EXPECT_EQ(runner.HandleList(),
              (std::vector<std::string>{std::to_string(b), std::to_string(a)}));
    runner.MyGetWindow();
    EXPECT_EQ(runner.HandleList(),
              (std::vector<std::string>{"=============Finded:" + std::to_string(b), "Main",
                                        "=============Finded:" + std::to_string(a), "Other"}));
}

}  // namespace
}  // namespace vardo
