// Tasks cut loose from their rows, by a load without their row or by an edit that takes the row
// away, started by the runner as real processes: they stay followed, are ended at their old end
// time, by a start of the same task or at exit, and a load with their row hands them back.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <map>
#include <string>
#include <thread>

#include "ManualClock.h"
#include "PosixProcesses.h"
#include "RunnerFakes.h"
#include "StationMetrics.h"
#include "TaskRunner.h"
#include "TaskTable.h"
#include "TempFolder.h"

namespace vardo {
namespace {

using test::At;
using RowCells = std::map<Column, std::string>;

// Whether the process runs (a zombie has ended).
bool Running(int processId) {
    std::ifstream stat("/proc/" + std::to_string(processId) + "/stat");
    std::string line;
    if (processId <= 0 || !std::getline(stat, line)) return false;
    const std::size_t end = line.rfind(") ");
    return end != std::string::npos && line[end + 2] != 'Z';
}

class CarryOverTest : public ::testing::Test {
  protected:
    CarryOverTest() { host_.programFolder = folder_.Slash(); }
    ~CarryOverTest() override {
        runner_.EndAllTasks();
        for (const int processId : started_) ::kill(processId, SIGKILL);
    }

    // A row running /bin/sleep with the given parameters, other cells changed as given.
    void SetRow(int row, const RowCells& changes) {
        if (table_.RowCount() <= row) table_.SetRowCount(row + 1);
        RowCells cells = {{ColApplication, "/bin/sleep"}, {ColParameters, "60"},
                          {ColDescription, "Player"},     {ColExclusive, "否"},
                          {ColWindowSetting, "是"},       {ColMonitor, "1"}};
        for (const auto& [column, text] : changes) cells[column] = text;
        table_.ClearRow(row);
        table_.SetCell(ColNumber, row, std::to_string(row));
        for (const auto& [column, text] : cells) table_.SetCell(column, row, text);
    }

    void Load(const std::vector<RowCells>& rows) {
        runner_.BeginTableLoad();
        table_.SetRowCount(static_cast<int>(rows.size()) + 1);
        for (std::size_t i = 0; i < rows.size(); ++i) SetRow(static_cast<int>(i) + 1, rows[i]);
        runner_.EndTableLoad();
    }

    // The schedule tick of hh:mm:ss, then a watch tick.
    void SecondAt(int hour, int minute, int second) {
        clock_.Set(At(2026, 12, 7, hour, minute, second, 100));
        runner_.ScheduleTick();
        runner_.WatchTick();
        Remember();
    }

    int RowProcess(int row) const { return ProcessIdValue(table_.Cell(ColProcessId, row)); }

    // Every process a row shows, to be killed should the test fail half-way.
    void Remember() {
        for (int row = 1; row < table_.RowCount(); ++row) {
            if (RowProcess(row) != 0) started_.push_back(RowProcess(row));
        }
    }

    bool Ends(int processId) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (Running(processId)) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            processes_.ReapExitedChildren();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    }

    int HistoryLinesWith(const std::string& text) const {
        return static_cast<int>(std::count_if(
            host_.history.begin(), host_.history.end(),
            [&](const std::string& line) { return line.find(text) != std::string::npos; }));
    }

    test::TempFolder folder_;
    test::ManualClock clock_{At(2026, 12, 7, 7, 59, 59)};
    TaskTable table_;
    test::FakeHost host_;
    platform::PosixProcesses processes_;
    test::FakeWindows windows_;
    TaskRunner runner_{table_, host_, processes_, windows_};
    std::vector<int> started_;
};

const RowCells kPlayer = {{ColStartTime, "08:00:00"}};
const RowCells kOtherDay = {{ColApplication, "/bin/true"}, {ColStartTime, "09:00:00"}};

// The wrong table loaded over a running player, then the right one again: the row shows the
// player running, the metrics count it there, and its stop button ends it.
TEST_F(CarryOverTest, RightTableLoadedAgain_TakesTheCutLooseTaskBackToItsRow) {
    Load({kPlayer});
    SecondAt(8, 0, 0);
    const int player = RowProcess(1);
    ASSERT_TRUE(Running(player));
    Load({kOtherDay});
    SecondAt(8, 0, 1);
    Load({kOtherDay, kPlayer});
    EXPECT_EQ(table_.Cell(ColRunState, 2), "在播");
    EXPECT_EQ(RowProcess(2), player);
    StationMetrics metrics(table_);
    EXPECT_NE(metrics.Exposition().find("vardo_task_running{row=\"2\",application=\"/bin/sleep\","
                                        "description=\"Player\"} 1"),
              std::string::npos);

    table_.SetCurrentRow(2);
    runner_.btnStopFlashClick();
    EXPECT_TRUE(Ends(player));
    EXPECT_EQ(HistoryLinesWith(" 结束任务: 【/bin/sleep 】  Player"), 1);
    runner_.EndAllTasks();
    EXPECT_EQ(HistoryLinesWith(" 结束任务: 【"), 1) << "ended twice";
}

// A row of the same task, typed in by hand after the load that cut the task loose, starts it
// only once the task cut loose has ended, as a restart of its own row would.
TEST_F(CarryOverTest, StartOfTheSameTask_EndsTheTaskCutLooseFirst) {
    Load({kPlayer});
    SecondAt(8, 0, 0);
    const int player = RowProcess(1);
    Load({kOtherDay});
    SetRow(2, kPlayer);
    table_.SetCurrentRow(2);
    runner_.btnPlayFlashClick();
    Remember();
    EXPECT_TRUE(Ends(player)) << "a second player started over the first";
    EXPECT_TRUE(Running(RowProcess(2)));
    ASSERT_EQ(host_.history.size(), 3u);
    EXPECT_NE(host_.history[1].find(" 结束任务: 【/bin/sleep 】  Player"), std::string::npos);
    EXPECT_NE(host_.history[2].find(" 启动任务: 【/bin/sleep 】  Player"), std::string::npos);
}

// Deleting a running row, or clearing the only row, leaves its task followed: ended at the
// row's end time, or at exit, and logged.
TEST_F(CarryOverTest, DeletedOrClearedRunningRow_TaskIsEndedAtItsEndTimeOrOnExit) {
    Load({{{ColStartTime, "08:00:00"}, {ColEndTime, "08:00:05"}, {ColDescription, "Clip"}},
          {{ColStartTime, "08:00:00"}, {ColParameters, "61"}, {ColDescription, "Loop"}}});
    SecondAt(8, 0, 0);
    const int clip = RowProcess(1);
    const int loop = RowProcess(2);
    host_.editState = true;
    SecondAt(8, 0, 1);
    DeleteTaskRow(table_, 1);
    host_.editState = false;
    // The end time's schedule scan comes before any watch has seen the row gone.
    clock_.Set(At(2026, 12, 7, 8, 0, 5, 100));
    runner_.ScheduleTick();
    EXPECT_TRUE(Ends(clip)) << "the deleted row's task outlived its end time";
    EXPECT_EQ(HistoryLinesWith(" 结束任务: 【/bin/sleep 】  Clip"), 1);

    ASSERT_EQ(table_.RowCount(), 2);
    DeleteTaskRow(table_, 1);  // the only row: cleared
    SecondAt(8, 0, 6);
    EXPECT_TRUE(Running(loop));
    runner_.EndAllTasks();
    EXPECT_TRUE(Ends(loop)) << "the cleared row's task outlived the exit";
    EXPECT_EQ(HistoryLinesWith(" 结束任务: 【/bin/sleep 】  Loop"), 1);
}

}  // namespace
}  // namespace vardo
