// When a timetable that arrives in the Data folder is taken, on real files and a manual clock.
#include "TimetableArrivals.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "ManualClock.h"
#include "TempFolder.h"
#include "TimetableFile.h"
#include "Utf8Path.h"

namespace vardo {
namespace {

using namespace std::chrono_literals;
using test::At;
using test::ManualClock;
using test::TempFolder;
using test::WriteBytes;

class TimetableArrivalsTest : public ::testing::Test {
  protected:
    std::optional<TimetableArrival> Due() { return arrivals.Due(table, clock.Now()); }

    // Due kSettleTime after now, not a millisecond earlier.
    void ExpectDueAfterSettleTime() {
        EXPECT_FALSE(Due());
        clock.Advance(1999ms);
        EXPECT_FALSE(Due());
        clock.Advance(1ms);
        EXPECT_TRUE(Due());
    }

    TempFolder folder;
    std::string table = folder.File("任务计划表.tab");
    ManualClock clock{At(2026, 12, 8, 9, 0, 0)};
    TimetableArrivals arrivals;
};

TEST_F(TimetableArrivalsTest, Renamed_IsTakenAtOnce_AndNotAgainOnceLoaded) {
    WriteBytes(table, "old");
    arrivals.Loaded(table);
    EXPECT_FALSE(Due());

    WriteBytes(folder.File(".incoming"), "new");
    std::filesystem::rename(Utf8Path(folder.File(".incoming")), Utf8Path(table));
    arrivals.RenamedInto(table);
    const std::optional<TimetableArrival> arrival = Due();
    ASSERT_TRUE(arrival);
    EXPECT_EQ(arrival->path, table);

    arrivals.Loaded(*arrival);
    clock.Advance(5s);
    EXPECT_FALSE(Due());
}

TEST_F(TimetableArrivalsTest, WrittenInPlace_IsTakenOnlyAfterTwoSecondsUnchanged) {
    WriteBytes(table, "old");
    arrivals.Loaded(table);

    WriteBytes(table, "half");
    arrivals.WrittenInPlace(table);
    EXPECT_FALSE(Due());
    clock.Advance(1500ms);
    EXPECT_FALSE(Due());

    WriteBytes(table, "half and the rest");  // the writer goes on: the wait starts again
    clock.Advance(1000ms);
    ExpectDueAfterSettleTime();
}

// A rename that is followed by writes to the same name no longer counts as complete.
TEST_F(TimetableArrivalsTest, RenamedThenWritten_WaitsLikeAnInPlaceWrite) {
    WriteBytes(table, "new");
    arrivals.RenamedInto(table);
    arrivals.WrittenInPlace(table);
    EXPECT_FALSE(Due());
    clock.Advance(2s);
    EXPECT_TRUE(Due());
}

// The program's own save renames its file into place too: that is no arrival.
TEST_F(TimetableArrivalsTest, OwnSave_IsNoArrival) {
    WriteBytes(table, "old");
    arrivals.Loaded(table);
    ASSERT_TRUE(SaveTable(TaskTable(), table));
    arrivals.RenamedInto(table);
    arrivals.Saved(table);
    EXPECT_FALSE(Due());
    clock.Advance(3s);
    EXPECT_FALSE(Due());
}

// A copy that stalls at a line end leaves a file that reads as whole and stays unchanged: while
// the watch tells of closes, the file waits for its writer to close it, then for 2 s unchanged.
TEST_F(TimetableArrivalsTest, WriterOpen_IsTakenOnlyTwoSecondsAfterItsClose) {
    WriteBytes(table, "old");
    arrivals.Loaded(table);

    WriteBytes(table, "half");
    arrivals.WriterOpen(table);
    EXPECT_FALSE(Due());
    clock.Advance(10s);
    EXPECT_FALSE(Due());

    arrivals.WriterClosed(table);
    ExpectDueAfterSettleTime();
}

// A watch that lost its folder told of no close: what it knew goes, and the plain 2 s rule holds.
TEST_F(TimetableArrivalsTest, WatchLost_ForgetsOpenWritersAndRenames) {
    WriteBytes(table, "new");
    arrivals.WriterOpen(table);
    clock.Advance(3s);
    EXPECT_FALSE(Due());

    arrivals.WatchLost();
    EXPECT_FALSE(Due());
    clock.Advance(2s);
    EXPECT_TRUE(Due());

    WriteBytes(table, "newer");
    arrivals.RenamedInto(table);
    arrivals.WatchLost();
    EXPECT_FALSE(Due());
}

TEST_F(TimetableArrivalsTest, Refused_IsNotOfferedAgainUntilItChanges) {
    WriteBytes(table, "bad");
    arrivals.RenamedInto(table);
    const std::optional<TimetableArrival> arrival = Due();
    ASSERT_TRUE(arrival);
    arrivals.Refused(*arrival);
    clock.Advance(3s);
    EXPECT_FALSE(Due());

    WriteBytes(table, "better");
    EXPECT_FALSE(Due());
    clock.Advance(2s);
    EXPECT_TRUE(Due());
}

TEST(TimetableTextProblemTest, TellsAWholeTimetableFromACutOrForeignFile) {
    const std::string row = "  1^^/bin/true^^^^新闻^^08:00:00^^^^^^否^^是,最大^^1^^^^^^^^^^^^^^";
    EXPECT_EQ(TimetableTextProblem(row + "\r\n" + row + "\r\n").Worded(), "");
    EXPECT_EQ(TimetableTextProblem("").Worded(), "文件是空的");
    EXPECT_EQ(TimetableTextProblem(row + "\r\n" + row.substr(0, 20)).Worded(), "最后一行不完整");
    EXPECT_EQ(TimetableTextProblem(row + "\r\n" + "a^^b\r\n").Worded(), "第2行不完整");
    EXPECT_EQ(TimetableTextProblem(std::string("\x7f"
                                               "ELF\0\0\n",
                                               7))
                  .Worded(),
              "不是文本文件");
}

}  // namespace
}  // namespace vardo
