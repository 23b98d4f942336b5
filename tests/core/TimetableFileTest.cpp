#include "TimetableFile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "SettingsStore.h"
#include "TempFolder.h"

namespace vardo {
namespace {

using namespace std::chrono;

const std::string kExampleLineGb =
    "  1^^D:\\Show\\Player.exe^^^^Morning show^^08:00:00^^^^Player^^\xB7\xF1^^\xCA\xC7,"
    "\xD7\xEE\xB4\xF3^^1^^^^^^^^^^^^^^";

void FillExampleRow(TaskTable& table, int row) {
    const std::vector<std::string> cells = {"  1",      "D:\\Show\\Player.exe",
                                            "",         "Morning show",
                                            "08:00:00", "",
                                            "Player",   "否",
                                            "是,最大",  "1"};
    for (int column = 0; column < static_cast<int>(cells.size()); ++column)
        table.SetCell(column, row, cells[column]);
}

TaskTable TableOf(int tasks) {
    TaskTable table;
    table.SetRowCount(tasks + 1);
    for (int row = 1; row <= tasks; ++row) {
        FillExampleRow(table, row);
        table.SetCell(ColDescription, row, "task " + std::to_string(row));
    }
    RenumberTaskRows(table);
    return table;
}

TEST(TimetableFileTest, CountSeparators_CountsNonOverlappingPairs) {
    EXPECT_EQ(CountSeparators(""), 0);
    EXPECT_EQ(CountSeparators("a^b"), 0);
    EXPECT_EQ(CountSeparators("^^^"), 1);
    EXPECT_EQ(CountSeparators("^^^^"), 2);
    EXPECT_EQ(CountSeparators("a^^b^^"), 2);
}

TEST(TimetableFileTest, SaveTable_WritesTheExampleLineInGb18030ByteForByte) {
    test::TempFolder folder;
    TaskTable table;
    FillExampleRow(table, 1);
    ASSERT_TRUE(SaveTable(table, folder.File("a.tab")));
    EXPECT_EQ(test::ReadBytes(folder.File("a.tab")), kExampleLineGb + "\r\n");
}

TEST(TimetableFileTest, LineToRow_SplitsFieldsAndLeavesTheRestEmpty) {
    TaskTable table;
    table.SetCell(5, 1, "old");
    LineToRow("a^^b", table, 1);
    EXPECT_EQ(table.Cell(0, 1), "a");
    EXPECT_EQ(table.Cell(1, 1), "b");
    EXPECT_EQ(table.Cell(5, 1), "");
    LineToRow("", table, 1);
    EXPECT_EQ(table.Row(1), std::vector<std::string>(16));
}

TEST(TimetableFileTest, LineToRow_DropsFieldsBeyondTheColumnCount) {
    TaskTable table;
    table.SetColCount(3);
    LineToRow("a^^b^^c^^d^^e", table, 1);
    EXPECT_EQ(table.Row(1), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(TimetableFileTest, SaveThenLoad_GivesBackTheSameCells) {
    test::TempFolder folder;
    const std::string path = folder.File("three.tab");
    const TaskTable saved = TableOf(3);
    ASSERT_TRUE(SaveTable(saved, path));
    const std::string bytes = test::ReadBytes(path);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 3);
    for (int row = 1; row <= 3; ++row) EXPECT_EQ(CountSeparators(RowToLine(saved, row)), 16);

    TaskTable loaded;
    LoadTable(loaded, path);
    EXPECT_EQ(loaded.RowCount(), 4);
    for (int row = 1; row <= 3; ++row) EXPECT_EQ(loaded.Row(row), saved.Row(row));
}

TEST(TimetableFileTest, LoadTable_AcceptsLoneLfCrAndALastLineWithoutEnd) {
    TaskTable table;
    LoadTableFromBytes(table, "a^^1\nb^^2\r\nc^^3\rignored\nd^^4");
    ASSERT_EQ(table.RowCount(), 5);
    EXPECT_EQ(table.Cell(0, 1), "a");
    EXPECT_EQ(table.Cell(1, 2), "2");
    EXPECT_EQ(table.Cell(0, 3), "c");
    EXPECT_EQ(table.Cell(1, 3), "3");
    EXPECT_EQ(table.Cell(0, 4), "d");
}

TEST(TimetableFileTest, LoadTable_EmptyMissingOrUnreadableGivesOneEmptyRow) {
    test::TempFolder folder;
    TaskTable table = TableOf(3);
    test::WriteBytes(folder.File("empty.tab"), "");
    for (const std::string& path :
         {folder.File("empty.tab"), folder.File("missing.tab"), folder.path()}) {
        LoadTable(table, path);
        EXPECT_EQ(table.RowCount(), 2) << path;
        EXPECT_TRUE(IsTableEmpty(table));
        EXPECT_EQ(table.Row(1), std::vector<std::string>(16));
    }
    EXPECT_FALSE(std::filesystem::exists(folder.File("missing.tab")));
}

TEST(TimetableFileTest, LoadTable_WideFirstLineWidensGrid) {
    TaskTable table;
    LoadTableFromBytes(table, std::string(18 * 2, '^') + "\r\na^^b\r\n");
    EXPECT_EQ(table.ColCount(), 18);
}

TEST(TimetableFileTest, LoadTable_ReadsUtf8FilesAndHugeLines) {
    TaskTable table;
    const std::string longCell(200000, 'x');
    LoadTableFromBytes(table, "  1^^任务^^" + longCell + "^^\n");
    EXPECT_EQ(table.Cell(1, 1), "任务");
    EXPECT_EQ(table.Cell(2, 1), longCell);
}

TEST(TimetableFileTest, LoadTimetable_CutsToSixteenColumnsClearsRunStateAndNumbers) {
    test::TempFolder folder;
    const std::string path = folder.File("a.tab");
    const std::string settings = folder.File("VARDO.INI");
    std::string wide = "7^^app^^^^one^^^^^^^^^^^^^^4711^^99^^5^^在播^^00:00:10^^00:01:00^^x^^y^^";
    test::WriteBytes(path, wide + "\r\n9^^app2^^\r\n");
    TaskTable table;
    table.SetCell(ColRunState, 0, "leftover");
    LoadTimetable(table, path, settings);

    EXPECT_EQ(table.ColCount(), 16);
    EXPECT_EQ(table.RowCount(), 3);
    EXPECT_EQ(table.Cell(ColNumber, 1), "  1");
    EXPECT_EQ(table.Cell(ColNumber, 2), "  2");
    EXPECT_EQ(table.Cell(ColDescription, 1), "one");
    EXPECT_EQ(table.Cell(ColReminder, 1), "00:01:00");
    for (int column = ColProcessId; column <= ColRunTime; ++column)
        EXPECT_EQ(table.Cell(column, 1), "") << column;
    EXPECT_EQ(table.Cell(ColRunState, 0), "状态");
    EXPECT_EQ(table.Cell(ColNumber, 0), "序号");
    EXPECT_EQ(ReadSetting(settings, kSettingsSection, "LastOrloJM"), path);
}

TEST(TimetableFileTest, LoadTimetable_ReportsOneBulkChangeAndNoCellChanges) {
    test::TempFolder folder;
    ASSERT_TRUE(SaveTable(TableOf(50), folder.File("a.tab")));
    TaskTable table;
    int structureChanges = 0, cellChanges = 0;
    table.observer().structureChanged = [&] { ++structureChanges; };
    table.observer().cellChanged = [&](int, int) { ++cellChanges; };
    LoadTimetable(table, folder.File("a.tab"), folder.File("VARDO.INI"));
    EXPECT_EQ(structureChanges, 1);
    EXPECT_EQ(cellChanges, 0);
    EXPECT_EQ(table.Cell(ColNumber, 50), " 50");
}

TEST(TimetableFileTest, LoadTimetable_HugeFirstLineDoesNotWidenEveryRow) {
    test::TempFolder folder;
    std::string bytes = "a^^b^^" + std::string(400000, '^') + "\r\n";
    bytes += std::string(100000, '\n');
    test::WriteBytes(folder.File("wide.tab"), bytes);
    TaskTable table;
    LoadTimetable(table, folder.File("wide.tab"), folder.File("VARDO.INI"));
    EXPECT_EQ(table.ColCount(), 16);
    EXPECT_EQ(table.RowCount(), 100002);
    EXPECT_EQ(table.Cell(1, 1), "b");
}

TEST(TimetableFileTest, LoadTimetable_EmptyFileGivesOneNumberedRow) {
    test::TempFolder folder;
    TaskTable table;
    LoadTimetable(table, folder.File("none.tab"), folder.File("VARDO.INI"));
    EXPECT_EQ(table.RowCount(), 2);
    EXPECT_EQ(table.Cell(ColNumber, 1), "  1");
}

TEST(TimetableFileTest, LoadTimetable_SettingsFailureRaisesAfterTheTableIsLoaded) {
    test::TempFolder folder;
    test::WriteBytes(folder.File("a.tab"), "1^^app^^\r\n");
    TaskTable table;
    EXPECT_THROW(LoadTimetable(table, folder.File("a.tab"), folder.path()), SettingsWriteError);
    EXPECT_EQ(table.Cell(ColApplication, 1), "app");
    EXPECT_EQ(table.Cell(ColNumber, 0), "序号");
}

TEST(TimetableFileTest, SaveTable_FailureIsReportedAndOldFileKept) {
    test::TempFolder folder;
    std::filesystem::create_directory(folder.File("dir.tab"));
    const WriteResult result = SaveTable(TableOf(1), folder.File("dir.tab"));
    EXPECT_FALSE(result);
    EXPECT_FALSE(result.error.empty());
    EXPECT_TRUE(std::filesystem::is_directory(folder.File("dir.tab")));
}

TEST(TimetableFileTest, DailyTablePath_PrefersDateThenWeekdayThenDefault) {
    test::TempFolder folder;
    const std::string data = folder.Slash() + "Data/";
    std::filesystem::create_directory(data);
    const auto friday = 2024y / March / 15;
    EXPECT_EQ(DailyTablePath(folder.Slash(), friday), data + "任务计划表.tab");
    test::WriteBytes(data + "星期五.tab", "");
    EXPECT_EQ(DailyTablePath(folder.Slash(), friday), data + "星期五.tab");
    EXPECT_EQ(DailyTablePath(folder.Slash(), 2024y / March / 16), data + "任务计划表.tab");
    test::WriteBytes(data + "2024-03-15.tab", "");
    EXPECT_EQ(DailyTablePath(folder.Slash(), friday), data + "2024-03-15.tab");
}

}  // namespace
}  // namespace vardo
