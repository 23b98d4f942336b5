#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vardo {

// Columns of the task table. Cells hold UTF-8 text; 10 to 14 are run-time state written only by
// the task runner and emptied on every timetable load.
enum Column : int {
    ColNumber = 0,
    ColApplication = 1,
    ColParameters = 2,
    ColDescription = 3,
    ColStartTime = 4,
    ColEndTime = 5,
    ColCaption = 6,
    ColExclusive = 7,
    ColWindowSetting = 8,
    ColMonitor = 9,
    ColProcessId = 10,
    ColWindowHandle = 11,
    ColProcessHandle = 12,
    ColRunState = 13,
    ColRunTime = 14,
    ColReminder = 15,
};

inline constexpr int kStandardColumnCount = 16;

// Header captions written into row 0, and the hints shown over the task rows, by column.
extern const std::array<std::string_view, kStandardColumnCount> kHeaderCaptions;
extern const std::array<std::string_view, kStandardColumnCount> kColumnHints;
// Grid column widths in pixels, by column.
extern const std::array<int, kStandardColumnCount> kColumnWidths;

inline constexpr std::string_view kYes = "是";
inline constexpr std::string_view kNo = "否";
inline constexpr std::string_view kRunning = "在播";
inline constexpr std::string_view kStopped = "停播";

// The timetable grid: row 0 holds the captions, column 0 the row numbers, rows 1 and below one
// task each. There is always at least one task row. Cells are addressed (column, row) as the
// grid addresses them. Out-of-range reads give the empty text; out-of-range writes are ignored.
class TaskTable {
  public:
    // Observers, used by the view model. Structure changes (row or column count, row moves,
    // bulk loads) are reported once per operation; single cell writes per cell.
    struct Observer {
        std::function<void()> structureChanged;
        std::function<void(int column, int row)> cellChanged;
        std::function<void(int row)> currentRowChanged;
    };

    // Names a row for as long as it exists, wherever it moves; never given to another row. A
    // copy of a row's cells is not the row: it keeps the key of the row it was copied into.
    using RowKey = std::uint64_t;

    TaskTable();

    int RowCount() const { return static_cast<int>(rows_.size()); }
    int ColCount() const { return colCount_; }
    void SetRowCount(int count);  // at least 2; new rows are empty
    void SetColCount(int count);  // at least 1; cells beyond it are dropped

    const std::string& Cell(int column, int row) const;
    void SetCell(int column, int row, std::string text);
    void ClearRow(int row);
    const std::vector<std::string>& Row(int row) const;
    RowKey Key(int row) const;  // 0 for no row

    int CurrentRow() const { return currentRow_; }
    void SetCurrentRow(int row);  // clamped to the task rows

    // Moves a task row to another place (dragging by the number cell); no renumbering.
    void MoveRow(int from, int to);

    // Inserts an empty task row before row (1..RowCount), or removes task row row, shifting the
    // rows below; one structure change each. RemoveRow keeps at least one task row.
    void InsertRow(int row);
    void RemoveRow(int row);

    // Replaces every row at once (loader); rows are padded or cut to ColCount.
    void ReplaceRows(std::vector<std::vector<std::string>> rows);

    Observer& observer() { return observer_; }

  private:
    void NotifyStructure();
    void GiveNewKeys(std::size_t count);

    int colCount_ = kStandardColumnCount;
    int currentRow_ = 1;
    std::vector<std::vector<std::string>> rows_;
    std::vector<RowKey> keys_;  // by row, as rows_
    RowKey lastKey_ = 0;
    Observer observer_;
};

// Row operations. Callers renumber after append, insert, copy and delete.
void SetHeaderRow(TaskTable& table,
                  const std::array<std::string_view, kStandardColumnCount>& captions, int last);
void RenumberRows(TaskTable& table, int column, int first, char padChar, int width);
void AppendTaskRow(TaskTable& table);
void InsertTaskRow(TaskTable& table, int row);
void CopyTaskRow(TaskTable& table, int from, int to);
void DeleteTaskRow(TaskTable& table, int row);

// Renumbers as every caller does: column 0, first 1, blank padding, width 3.
inline constexpr char kRowNumberPad = ' ';
inline constexpr int kRowNumberWidth = 3;
inline void RenumberTaskRows(TaskTable& table) {
    RenumberRows(table, ColNumber, 1, kRowNumberPad, kRowNumberWidth);
}

// True when the number cell of row 1 is empty.
bool IsTableEmpty(const TaskTable& table);

// The application file's name without folder and extension ("/apps/Player.exe" -> "Player");
// both '/' and '\' separate folders so that timetables written on other stations draw well.
std::string BareProgramName(std::string_view path);

}  // namespace vardo
