#include "TaskTable.h"

#include <gtest/gtest.h>

namespace vardo {
namespace {

// A table of count numbered task rows whose description (column 3) is "task N".
TaskTable NumberedTable(int count) {
    TaskTable table;
    table.SetRowCount(count + 1);
    for (int row = 1; row <= count; ++row)
        table.SetCell(ColDescription, row, "task " + std::to_string(row));
    RenumberTaskRows(table);
    return table;
}

std::vector<std::string> Descriptions(const TaskTable& table) {
    std::vector<std::string> texts;
    for (int row = 1; row < table.RowCount(); ++row)
        texts.push_back(table.Cell(ColDescription, row));
    return texts;
}

TEST(TaskTableTest, NewTable_HasOneEmptyTaskRowOfSixteenColumns) {
    TaskTable table;
    EXPECT_EQ(table.RowCount(), 2);
    EXPECT_EQ(table.ColCount(), kStandardColumnCount);
    EXPECT_EQ(table.CurrentRow(), 1);
    EXPECT_TRUE(IsTableEmpty(table));
}

TEST(TaskTableTest, Cells_OutOfRangeReadsEmptyAndWritesAreIgnored) {
    TaskTable table;
    table.SetCell(16, 1, "x");
    table.SetCell(0, 5, "x");
    table.SetCell(-1, 1, "x");
    EXPECT_EQ(table.Cell(16, 1), "");
    EXPECT_EQ(table.Cell(0, 5), "");
    EXPECT_EQ(table.Cell(-1, -1), "");
    EXPECT_TRUE(table.Row(9).empty());
}

TEST(TaskTableTest, SetColCount_DropsCellsBeyondIt) {
    TaskTable table = NumberedTable(1);
    table.SetCell(15, 1, "00:10:00");
    table.SetColCount(18);
    table.SetCell(17, 1, "extra");
    table.SetColCount(16);
    EXPECT_EQ(table.Cell(15, 1), "00:10:00");
    table.SetColCount(18);
    EXPECT_EQ(table.Cell(17, 1), "");
}

TEST(TaskTableTest, AppendTaskRow_EmptyTableReusesRowOne) {
    TaskTable table;
    table.SetCell(ColDescription, 1, "kept");
    AppendTaskRow(table);
    EXPECT_EQ(table.RowCount(), 2);
    EXPECT_EQ(table.CurrentRow(), 1);
    EXPECT_EQ(table.Cell(ColDescription, 1), "kept");
}

TEST(TaskTableTest, AppendTaskRow_AddsEmptyCurrentRowAtTheEnd) {
    TaskTable table = NumberedTable(2);
    AppendTaskRow(table);
    EXPECT_EQ(table.RowCount(), 4);
    EXPECT_EQ(table.CurrentRow(), 3);
    EXPECT_EQ(table.Row(3), std::vector<std::string>(16));
}

TEST(TaskTableTest, InsertTaskRow_ShiftsRowsDownAndMakesNewRowCurrent) {
    TaskTable table = NumberedTable(3);
    InsertTaskRow(table, 2);
    EXPECT_EQ(Descriptions(table), (std::vector<std::string>{"task 1", "", "task 2", "task 3"}));
    EXPECT_EQ(table.CurrentRow(), 2);
    EXPECT_EQ(table.Cell(ColNumber, 2), "");
}

TEST(TaskTableTest, InsertTaskRow_AtRowWithEmptyNumberChangesNothing) {
    TaskTable table;
    InsertTaskRow(table, 1);
    EXPECT_EQ(table.RowCount(), 2);
    TaskTable numbered = NumberedTable(2);
    InsertTaskRow(numbered, 5);
    EXPECT_EQ(numbered.RowCount(), 3);
}

TEST(TaskTableTest, CopyTaskRow_CopiesEveryColumnIncludingWideOnes) {
    TaskTable table = NumberedTable(2);
    table.SetColCount(18);
    table.SetCell(17, 1, "wide");
    CopyTaskRow(table, 1, 2);
    EXPECT_EQ(table.Row(2), table.Row(1));
}

TEST(TaskTableTest, DeleteTaskRow_OnlyRowIsEmptiedNotRemoved) {
    TaskTable table = NumberedTable(1);
    DeleteTaskRow(table, 1);
    EXPECT_EQ(table.RowCount(), 2);
    EXPECT_TRUE(IsTableEmpty(table));
    EXPECT_EQ(table.Cell(ColDescription, 1), "");
}

TEST(TaskTableTest, DeleteTaskRow_LastRowMakesTheRowAboveCurrent) {
    TaskTable table = NumberedTable(3);
    table.SetCurrentRow(3);
    DeleteTaskRow(table, 3);
    EXPECT_EQ(table.RowCount(), 3);
    EXPECT_EQ(table.CurrentRow(), 2);
    EXPECT_EQ(Descriptions(table), (std::vector<std::string>{"task 1", "task 2"}));
}

TEST(TaskTableTest, DeleteTaskRow_MiddleRowKeepsCurrentIndexOnTheNextTask) {
    TaskTable table = NumberedTable(3);
    table.SetCurrentRow(2);
    DeleteTaskRow(table, 2);
    EXPECT_EQ(table.CurrentRow(), 2);
    EXPECT_EQ(Descriptions(table), (std::vector<std::string>{"task 1", "task 3"}));
}

TEST(TaskTableTest, MoveRow_MovesOneRowEitherWayWithoutRenumbering) {
    TaskTable table = NumberedTable(4);
    table.MoveRow(1, 3);
    EXPECT_EQ(Descriptions(table),
              (std::vector<std::string>{"task 2", "task 3", "task 1", "task 4"}));
    EXPECT_EQ(table.Cell(ColNumber, 3), "  1");
    table.MoveRow(4, 1);
    EXPECT_EQ(Descriptions(table),
              (std::vector<std::string>{"task 4", "task 2", "task 3", "task 1"}));
    table.MoveRow(0, 2);
    table.MoveRow(1, 9);
    EXPECT_EQ(table.Cell(ColDescription, 0), "");
    EXPECT_EQ(table.Cell(ColDescription, 1), "task 4");
}

TEST(TaskTableTest, RenumberRows_PadsToThreeAndKeepsLongNumbers) {
    TaskTable table = NumberedTable(1000);
    EXPECT_EQ(table.Cell(ColNumber, 1), "  1");
    EXPECT_EQ(table.Cell(ColNumber, 12), " 12");
    EXPECT_EQ(table.Cell(ColNumber, 123), "123");
    EXPECT_EQ(table.Cell(ColNumber, 1000), "1000");
    EXPECT_EQ(table.Cell(ColNumber, 0), "");
}

TEST(TaskTableTest, SetHeaderRow_WidensNarrowTableAndWritesCaptions) {
    TaskTable table;
    table.SetColCount(4);
    SetHeaderRow(table, kHeaderCaptions, 15);
    EXPECT_EQ(table.ColCount(), 16);
    EXPECT_EQ(table.Cell(0, 0), "序号");
    EXPECT_EQ(table.Cell(15, 0), "提示时长");
}

TEST(TaskTableTest, Observer_ReportsStructureOncePerOperation) {
    TaskTable table = NumberedTable(5);
    int structureChanges = 0;
    std::vector<int> currentRows;
    table.observer().structureChanged = [&] { ++structureChanges; };
    table.observer().currentRowChanged = [&](int row) { currentRows.push_back(row); };
    InsertTaskRow(table, 2);
    DeleteTaskRow(table, 2);
    table.MoveRow(1, 2);
    table.ReplaceRows({{}, {"a"}});
    EXPECT_EQ(structureChanges, 4);
    EXPECT_EQ(currentRows, (std::vector<int>{2, 1}));
}

TEST(TaskTableTest, BareProgramName_DropsFolderAndExtension) {
    EXPECT_EQ(BareProgramName("C:\\Apps\\Player.exe"), "Player");
    EXPECT_EQ(BareProgramName("/opt/show/player.v2.bin"), "player.v2");
    EXPECT_EQ(BareProgramName("/usr/bin/xterm"), "xterm");
    EXPECT_EQ(BareProgramName("/opt/app.d/run"), "run");
    EXPECT_EQ(BareProgramName(""), "");
}

}  // namespace
}  // namespace vardo
