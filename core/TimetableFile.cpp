#include "TimetableFile.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "SettingsStore.h"
#include "TextCodec.h"
#include "TextFields.h"
#include "TimeText.h"
#include "Utf8Path.h"

namespace vardo {

namespace {

using Rows = std::vector<std::vector<std::string>>;

constexpr std::string_view kLineEnd = "\r\n";
constexpr int kFirstRunStateColumn = ColProcessId;
constexpr int kLastRunStateColumn = ColRunTime;

// The cells of a line: up to columnCount fields split on "^^", the rest of the line after the
// last separator used going into the following cell.
std::vector<std::string> SplitCells(std::string_view line, int columnCount) {
    std::vector<std::string> cells(static_cast<size_t>(std::max(columnCount, 0)));
    for (auto& cell : cells) {
        const size_t at = line.find(kFieldSeparator);
        if (at == std::string_view::npos) {
            cell = line;
            break;
        }
        cell = line.substr(0, at);
        line.remove_prefix(at + kFieldSeparator.size());
    }
    return cells;
}

struct ReadTable {
    int columnCount;
    Rows rows;  // row 0 included
};

// The lines of the text as the reader takes them: the text up to the first CR or LF, the rest up
// to and including the next LF skipped; the end of the text ends the last line.
template <typename EachLine>
void ForEachLine(std::string_view text, EachLine&& eachLine) {
    size_t start = 0;
    while (start < text.size()) {
        const size_t lineEnd = FindLineBreak(text, start);
        eachLine(text.substr(start, lineEnd - start));
        const size_t feed = text.find('\n', lineEnd);
        start = feed == std::string_view::npos ? text.size() : feed + 1;
    }
}

// Whether a first line with more separators than columns widens the table. Splitting into more
// columns never changes the cells of the columns before them, so a reader that keeps only the
// standard columns need not widen, and a malformed wide first line cannot blow up every row.
enum class Widening { FromFirstLine, None };

ReadTable ReadRows(std::string_view bytes, int columnCount, std::vector<std::string> headerRow,
                   Widening widening) {
    const std::string text = DecodeFileText(bytes);
    ReadTable table{columnCount, {}};
    table.rows.push_back(std::move(headerRow));
    ForEachLine(text, [&table, widening](std::string_view line) {
        if (table.rows.size() == 1 && widening == Widening::FromFirstLine)
            table.columnCount = std::max(table.columnCount, CountSeparators(line));
        table.rows.push_back(SplitCells(line, table.columnCount));
    });
    if (table.rows.size() == 1) table.rows.emplace_back(table.columnCount);
    return table;
}

// A file that cannot be read loads as one empty task row, as a missing one does.
std::string FileBytesOrNothing(const std::string& path) {
    std::error_code error;
    return ReadFileBytes(path, error);
}

void Install(TaskTable& table, ReadTable read) {
    table.SetColCount(read.columnCount);
    table.ReplaceRows(std::move(read.rows));
}

bool IsFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(Utf8Path(path), error);
}

}  // namespace

int CountSeparators(std::string_view line) {
    return CountFields(line, kFieldSeparator) - 1;
}

std::string RowToLine(const TaskTable& table, int row) {
    std::string line;
    for (int column = 0; column < table.ColCount(); ++column) {
        line += table.Cell(column, row);
        line += kFieldSeparator;
    }
    return line;
}

void LineToRow(std::string_view line, TaskTable& table, int row) {
    std::vector<std::string> cells = SplitCells(line, table.ColCount());
    for (int column = 0; column < table.ColCount(); ++column)
        table.SetCell(column, row, std::move(cells[column]));
}

WriteResult SaveTable(const TaskTable& table, const std::string& path) {
    std::string text;
    for (int row = 1; row < table.RowCount(); ++row) {
        text += RowToLine(table, row);
        text += kLineEnd;
    }
    return WriteFileAtomically(path, Utf8ToGb18030(text));
}

void LoadTable(TaskTable& table, const std::string& path) {
    LoadTableFromBytes(table, FileBytesOrNothing(path));
}

void LoadTableFromBytes(TaskTable& table, std::string_view bytes) {
    Install(table, ReadRows(bytes, table.ColCount(), table.Row(0), Widening::FromFirstLine));
}

void LoadTimetable(TaskTable& table, const std::string& path, const std::string& settingsFilePath) {
    LoadTimetableFromBytes(table, FileBytesOrNothing(path), path, settingsFilePath);
}

void LoadTimetableFromBytes(TaskTable& table, std::string_view bytes, const std::string& path,
                            const std::string& settingsFilePath) {
    // The rows are prepared before they reach the table, so that its observers see one bulk
    // change instead of a change per header and number cell.
    ReadTable read = ReadRows(bytes, kStandardColumnCount,
                              {kHeaderCaptions.begin(), kHeaderCaptions.end()}, Widening::None);
    for (size_t row = 1; row < read.rows.size(); ++row) {
        std::vector<std::string>& cells = read.rows[row];
        for (int column = kFirstRunStateColumn; column <= kLastRunStateColumn; ++column)
            cells[column].clear();
        cells[ColNumber] = PadLeft(std::to_string(row), kRowNumberPad, kRowNumberWidth);
    }
    Install(table, std::move(read));
    WriteSetting(settingsFilePath, kSettingsSection, "LastOrloJM", path);
}

OperatorText TimetableTextProblem(std::string_view bytes) {
    const auto problem = [](const char* wording, std::vector<std::string> arguments = {}) {
        return OperatorText{kTimetableTextContext, wording, std::move(arguments)};
    };
    if (bytes.empty()) return problem(VARDO_TEXT("vardo::Timetable", "文件是空的"));
    if (bytes.find('\0') != std::string_view::npos)
        return problem(VARDO_TEXT("vardo::Timetable", "不是文本文件"));
    if (bytes.back() != '\n') return problem(VARDO_TEXT("vardo::Timetable", "最后一行不完整"));
    int lineNumber = 0;
    OperatorText found;
    ForEachLine(DecodeFileText(bytes), [&](std::string_view line) {
        ++lineNumber;
        if (found.empty() && CountSeparators(line) < kStandardColumnCount)
            found = problem(VARDO_TEXT("vardo::Timetable", "第%1行不完整"),
                            {std::to_string(lineNumber)});
    });
    return found;
}

std::string DailyTablePath(std::string_view programFolder, std::chrono::year_month_day date) {
    const std::string folder = std::string(programFolder) + "Data/";
    if (std::string dated = folder + DateText(true, date) + ".tab"; IsFile(dated)) return dated;
    if (std::string weekday = folder + std::string(WeekdayName(date)) + ".tab"; IsFile(weekday))
        return weekday;
    return folder + std::string(kDefaultTableName);
}

}  // namespace vardo
