#include "AsRun.h"

#include <gtest/gtest.h>

namespace vardo {
namespace {

HistoryEvent Event(int seconds, HistoryEventKind kind,
                   const std::string& subject = "/bin/a 】  A") {
    return {seconds, kind, subject};
}

constexpr auto kStart = HistoryEventKind::Start;
constexpr auto kEnd = HistoryEventKind::End;

TEST(AsRunTest, ParseHistoryLine_ReadsTheThreeEventsAndRefusesAnythingElse) {
    const auto start = ParseHistoryLine("  08:30:05 启动任务: 【/opt/p 】  Morning 】  news");
    ASSERT_TRUE(start);
    EXPECT_EQ(start->seconds, 8 * 3600 + 30 * 60 + 5);
    EXPECT_EQ(start->kind, HistoryEventKind::Start);
    EXPECT_EQ(start->Application(), "/opt/p");
    EXPECT_EQ(start->Description(), "Morning 】  news");
    EXPECT_EQ(ParseHistoryLine("  23:59:59 结束任务: 【/opt/p 】  ")->kind, HistoryEventKind::End);
    EXPECT_EQ(ParseHistoryLine("  00:00:00 任务结束: 【 】  x")->kind, HistoryEventKind::Exit);

    for (const char* damaged :
         {"", "08:30:05 启动任务: 【/opt/p 】  x", "  24:00:00 启动任务: 【/p 】  x",
          "  08:60:00 启动任务: 【/p 】  x", "  8:30:05 启动任务: 【/p 】  x",
          "  08:30:05 启动任务: 【/opt/p", "  08:30:05 开始任务: 【/p 】  x", "  08:30:05"}) {
        EXPECT_FALSE(ParseHistoryLine(damaged)) << damaged;
    }
}

TEST(AsRunTest, ParseHistoryFile_OnlyATrailingReturnToJustAfterMidnightSpills) {
    const auto spillOf = [](std::vector<std::string> times) {
        std::vector<std::string> lines;
        for (const std::string& time : times) lines.push_back("  " + time + " 启动任务: 【a 】  b");
        return ParseHistoryFile(lines).spillBegin;
    };
    EXPECT_EQ(spillOf({"22:00:00", "23:59:58", "00:00:30", "00:01:59"}), 2u);
    EXPECT_EQ(spillOf({"23:59:58", "00:02:00"}), 2u);              // after the minute tick
    EXPECT_EQ(spillOf({"10:00:00", "09:00:00", "09:30:00"}), 3u);  // a clock set back
    EXPECT_EQ(spillOf({"00:00:30", "00:00:40"}), 2u);              // started just after midnight
    EXPECT_EQ(spillOf({"00:00:30", "23:00:00", "00:00:40"}), 2u);

    const HistoryFileEvents damaged = ParseHistoryFile(
        {"  23:00:00 启动任务: 【a 】  b", "x", "", "  23:00:10 窗口未能放置: 【a 】  b"});
    EXPECT_EQ(damaged.events.size(), 1u);
    EXPECT_EQ(damaged.skippedLines, 2);  // the notice is a history line, not an event

    // A launch that created no process: its start line is taken back by the notice after it.
    const HistoryFileEvents failed = ParseHistoryFile(
        {"  08:00:00 启动任务: 【/opt/a 】  b", "  08:00:00 启动失败: 【/opt/a 】  No such file",
         "  08:00:05 启动任务: 【/opt/c 】  d", "  08:00:05 启动失败: 【/opt/a 】  unrelated"});
    ASSERT_EQ(failed.events.size(), 1u);
    EXPECT_EQ(failed.events[0].Application(), "/opt/c");
    EXPECT_EQ(failed.skippedLines, 0);
    EXPECT_EQ(failed.noticeLines, 3);

    // An end the system refused: the run goes on until a later end.
    const HistoryFileEvents refused =
        ParseHistoryFile({"  08:00:00 启动任务: 【/opt/a 】  b",
                          "  09:00:00 结束失败: 【/opt/a 】  Operation not permitted"});
    EXPECT_EQ(refused.events.size(), 1u);
    EXPECT_EQ(refused.skippedLines, 0);
    EXPECT_EQ(refused.noticeLines, 1);
}

TEST(AsRunTest, MatchAsRun_PairsRowsOfOneTaskByNearestStartAndEndsTheOldestRunFirst) {
    constexpr int h = 3600;
    const std::vector<PlannedRow> rows = {{1, "/bin/a", "A", 8 * h, 9 * h},
                                          {2, "/bin/a", "A", 10 * h, 11 * h},
                                          {3, "/bin/a", "B", 9 * h, std::nullopt}};
    // A manual start at 09:10 between the two planned ones.
    const std::vector<HistoryEvent> day = {Event(8 * h + 9, kStart), Event(9 * h + 600, kStart),
                                           Event(9 * h + 1800, kEnd), Event(10 * h + 3, kStart),
                                           Event(12 * h, kEnd)};
    // The 10:00 run is still open at the end of the day: the next day ends it, before the task
    // starts again there.
    const std::vector<HistoryEvent> nextDay = {Event(30, HistoryEventKind::Exit), Event(40, kStart),
                                               Event(50, kEnd)};
    const std::vector<AsRunEntry> entries = MatchAsRun(rows, day, nextDay);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].actualStart, 8 * h + 9);
    EXPECT_EQ(entries[0].StartDelay(), 9);
    EXPECT_EQ(entries[0].actualEnd, 9 * h + 1800);
    EXPECT_EQ(entries[1].actualStart, 10 * h + 3);
    EXPECT_EQ(entries[1].actualEnd, 24 * h + 30);
    EXPECT_EQ(entries[1].endKind, EndKind::Exited);
    EXPECT_EQ(entries[1].runSeconds, 14 * h - 3 + 30);
    EXPECT_FALSE(entries[2].actualStart);
    EXPECT_FALSE(entries[2].StartDelay());
    EXPECT_EQ(entries[3].row, 0);
    EXPECT_EQ(entries[3].application, "/bin/a");
    EXPECT_EQ(entries[3].description, "A");
    EXPECT_EQ(entries[3].actualStart, 9 * h + 600);
    EXPECT_EQ(entries[3].actualEnd, 12 * h);
    EXPECT_EQ(entries[3].endKind, EndKind::Ended);

    // Started again on the next day before any end: the run lasts until the day's last line.
    const std::vector<HistoryEvent> startedAgain = {Event(40, kStart), Event(50, kEnd)};
    const std::vector<AsRunEntry> open = MatchAsRun({}, day, startedAgain);
    ASSERT_EQ(open.size(), 3u);
    EXPECT_EQ(open[2].endKind, EndKind::None);
    EXPECT_FALSE(open[2].actualEnd);
    EXPECT_EQ(open[2].runSeconds, 12 * h - (10 * h + 3));
}

TEST(AsRunTest, MatchAsRun_ManyRowsOfOneTaskStillGetTheirOwnRuns) {
    // 600 rows of one task against 600 starts: too many pairs to weigh them all.
    std::vector<PlannedRow> rows;
    std::vector<HistoryEvent> day;
    for (int row = 1; row <= 600; ++row) {
        rows.push_back({row, "/bin/a", "A", row * 50, std::nullopt});
        day.push_back(Event(row * 50 + 2, kStart));
    }
    const std::vector<AsRunEntry> entries = MatchAsRun(rows, day, {});
    ASSERT_EQ(entries.size(), rows.size());
    for (const AsRunEntry& entry : entries) ASSERT_EQ(entry.StartDelay(), 2) << entry.row;
}

}  // namespace
}  // namespace vardo
