#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "AtomicFile.h"
#include "OperatorText.h"
#include "TaskTable.h"

namespace vardo {

// Timetable files: one line per task row, every cell followed by "^^", lines ending in CR LF,
// written in GB18030; read from GB18030 or from a file that is entirely valid UTF-8.

inline constexpr std::string_view kFieldSeparator = "^^";
inline constexpr std::string_view kDefaultTableName = "任务计划表.tab";
// The context of the timetable's texts for the translators.
inline constexpr char kTimetableTextContext[] = "vardo::Timetable";

// Non-overlapping "^^" occurrences, left to right ("^^^" counts 1, "^^^^" counts 2).
int CountSeparators(std::string_view line);

// The cells of row 0..ColCount-1, each followed by "^^" (UTF-8).
std::string RowToLine(const TaskTable& table, int row);

// Empties the row, then fills its cells from the line split on "^^"; the text after the last
// separator goes into the next cell, fields beyond the column count are dropped.
void LineToRow(std::string_view line, TaskTable& table, int row);

// Writes rows 1 and below, replacing the file atomically; a failure leaves the old file intact.
WriteResult SaveTable(const TaskTable& table, const std::string& path);

// Reads the file into task rows 1 and below (row 0 is kept); a missing or unreadable file gives
// one empty task row. A first line with more separators than columns widens the table.
void LoadTable(TaskTable& table, const std::string& path);

// LoadTable from the file's bytes.
void LoadTableFromBytes(TaskTable& table, std::string_view bytes);

// The core of loading a timetable into the main grid: LoadTable, back to the 16 standard
// columns, the run-time columns 10 to 14 emptied in every row (header included), the header
// captions written and the rows numbered; then "LastOrloJM" := path in section "START" of the
// settings file. The table is complete before that write, whose failure propagates as
// SettingsWriteError.
void LoadTimetable(TaskTable& table, const std::string& path, const std::string& settingsFilePath);

// LoadTimetable from bytes already read from path.
void LoadTimetableFromBytes(TaskTable& table, std::string_view bytes, const std::string& path,
                            const std::string& settingsFilePath);

// Why the bytes are not a whole timetable as the program writes one, or no text when they are: a
// file that arrives from elsewhere is taken only when it is not empty, holds no NUL byte, ends in a
// line end and gives every line the standard columns' separators. Catches a file cut short.
OperatorText TimetableTextProblem(std::string_view bytes);

// programFolder + "Data/" + "YYYY-MM-DD.tab" if that file exists, else the weekday's
// "星期X.tab" if that exists, else "任务计划表.tab" (existing or not). programFolder ends in '/'.
std::string DailyTablePath(std::string_view programFolder, std::chrono::year_month_day date);

}  // namespace vardo
