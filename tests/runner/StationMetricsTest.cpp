// The station's metrics as the runner's work over a stretch of a day makes them, with a manual
// clock and in-memory processes and windows.
#include "StationMetrics.h"

#include <gtest/gtest.h>

#include "ManualClock.h"
#include "RunnerFakes.h"
#include "TaskRunner.h"
#include "TaskTable.h"

namespace vardo {
namespace {

using namespace std::chrono_literals;
using test::At;

class StationMetricsTest : public ::testing::Test {
  protected:
    StationMetricsTest() { runner.SetEvents(&metrics); }

    void SetRow(int row, std::string application, std::string description, std::string start,
                std::string end = "", std::string exclusive = "否") {
        if (table.RowCount() <= row) table.SetRowCount(row + 1);
        table.SetCell(ColNumber, row, std::to_string(row));
        table.SetCell(ColApplication, row, std::move(application));
        table.SetCell(ColDescription, row, std::move(description));
        table.SetCell(ColStartTime, row, std::move(start));
        table.SetCell(ColEndTime, row, std::move(end));
        table.SetCell(ColExclusive, row, std::move(exclusive));
        table.SetCell(ColWindowSetting, row, "否,最大");
        table.SetCell(ColMonitor, row, "1");
    }

    // One wall-clock second; the schedule tick comes 3 ms after the second begins.
    void Second() {
        clock.Advance(3ms);
        runner.ScheduleTick();
        clock.Advance(497ms);
        runner.WatchTick();
        clock.Advance(500ms);
    }

    bool Has(const std::string& line) const {
        return ("\n" + metrics.Exposition()).find("\n" + line + "\n") != std::string::npos;
    }

    test::ManualClock clock{At(2026, 12, 8, 8, 30, 0)};
    TaskTable table;
    test::FakeHost host;
    test::FakeProcesses processes;
    test::FakeWindows windows;
    TaskRunner runner{table, host, processes, windows};
    StationMetrics metrics{table};
};

TEST_F(StationMetricsTest, RunnerEvents_CountStartsEndsByHowLatencyAndRunningRows) {
    SetRow(1, "/apps/a", "A", "08:30:00", "08:30:03");
    SetRow(2, "/apps/b", "B", "08:30:01");
    SetRow(3, "/apps/c", "Say \"hi\"", "08:30:04", "", "是");
    SetRow(4, "/apps/d", "D", "08:30:00");
    SetRow(5, "/apps/e", "E", "08:30:05");

    Second();  // 08:30:00: A and D start
    Second();  // 08:30:01: B starts
    processes.Exit(std::stoi(table.Cell(ColProcessId, 2)), 0);
    Second();  // 08:30:02: B's end is noticed
    Second();  // 08:30:03: A's end time
    Second();  // 08:30:04: C is exclusive and ends D
    processes.failLaunches = true;
    Second();  // 08:30:05: E cannot be created
    windows.Show(windows.Open(std::stoi(table.Cell(ColProcessId, 3)), "C"));

    EXPECT_TRUE(Has("vardo_task_starts_total 5"));
    EXPECT_TRUE(Has("vardo_task_start_failures_total 1"));
    EXPECT_TRUE(Has("vardo_task_ends_total{how=\"end_time\"} 1"));
    EXPECT_TRUE(Has("vardo_task_ends_total{how=\"exited\"} 1"));
    EXPECT_TRUE(Has("vardo_task_ends_total{how=\"exclusive\"} 1"));
    EXPECT_TRUE(Has("vardo_task_ends_total{how=\"exit\"} 0"));
    // The four created processes came 3 ms after their second, plus the real time the tick took
    // to start them: well under a quarter of a second even on a slow or emulated machine.
    EXPECT_TRUE(Has("vardo_start_latency_seconds_bucket{le=\"0.0025\"} 0"));
    EXPECT_TRUE(Has("vardo_start_latency_seconds_bucket{le=\"0.25\"} 4"));
    EXPECT_TRUE(Has("vardo_start_latency_seconds_count 4"));
    EXPECT_TRUE(Has("vardo_window_placement_seconds_count 1"));
    // C runs; E's row shows "在播" though its launch failed, as the row does.
    EXPECT_TRUE(Has("vardo_tasks_running 2"));
    EXPECT_TRUE(Has(
        "vardo_task_running{row=\"3\",application=\"/apps/c\",description=\"Say \\\"hi\\\"\"} 1"));
    EXPECT_TRUE(Has("vardo_last_tick_timestamp_seconds " +
                    std::to_string(UnixSecondsOf(
                        std::chrono::floor<std::chrono::seconds>(At(2026, 12, 8, 8, 30, 5))))));

    runner.EndAllTasks();
    EXPECT_TRUE(Has("vardo_task_ends_total{how=\"exit\"} 1"));
    EXPECT_TRUE(Has("vardo_tasks_running 1"));
}

TEST_F(StationMetricsTest, HandStartAndStop_CountNoLatencyAndEndAsStoppedOrRestart) {
    SetRow(1, "/apps/a", "A", "");
    table.SetCurrentRow(1);
    runner.btnPlayFlashClick();
    runner.btnPlayFlashClick();
    runner.btnStopFlashClick();
    EXPECT_TRUE(Has("vardo_task_starts_total 2"));
    EXPECT_TRUE(Has("vardo_start_latency_seconds_count 0"));
    EXPECT_TRUE(Has("vardo_task_ends_total{how=\"restart\"} 1"));
    EXPECT_TRUE(Has("vardo_task_ends_total{how=\"stopped\"} 1"));
}

}  // namespace
}  // namespace vardo
