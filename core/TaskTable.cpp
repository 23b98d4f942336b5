#include "TaskTable.h"

#include <algorithm>
#include <utility>

#include "TextFields.h"

namespace vardo {

const std::array<std::string_view, kStandardColumnCount> kHeaderCaptions = {
    "序号",         "程序文件", "参数列表", "任务说明", "启动时间", "结束时间",
    "应用程序标题", "排它",     "窗口设置", "显示器",   "PID",      "HWND",
    "PHDL",         "状态",     "运行时间", "提示时长"};

const std::array<std::string_view, kStandardColumnCount> kColumnHints = {
    "拖动序号栏，可改变节目先后顺序",
    "执行任务的应用程序文件名",
    "参数请用双引号括起来，多个参数则要分别括起来，之间要留一个空格符号",
    "此栏填写任务说明，便于了解任务信息",
    "启动时间：对需要定时启动的任务，指定其启动时间",
    "结束时间：对需要定时结束的任务，指定其结束时间",
    "重要，如果只改变应用程序的一个窗口位置，请输入该窗口的标题！否则由其创建的全部窗口都会改变位"
    "置",
    "选择排它运行任务，则该任务启动时，先前启动的任何任务都会被强行结束",
    "选择维持，表示任务创建的窗口维持原应用程序创建它们时的大小不变；否则，都会被最大化",
    "如果计算机安装有扩展的显示器，可以指定任务显示窗口到指定的显示器",
    "PID 系统使用的数据，由计算机自动填写！",
    "PWND 系统使用的数据，由计算机自动填写！",
    "PHDL 系统使用的数据，由计算机自动填写！",
    "由本系统启动的应用程序的工作状态",
    "系统记录任务运行的时间",
    "任务运行时间长度超过此值：系统弹出提示窗口"};

const std::array<int, kStandardColumnCount> kColumnWidths = {30, 60, 55, 61, 53, 52, 80, 30,
                                                             52, 40, 28, 40, 29, 30, 51, 52};

namespace {
const std::string emptyText;
const std::vector<std::string> emptyRow;
constexpr int kMinRowCount = 2;
}  // namespace

TaskTable::TaskTable() : rows_(kMinRowCount, std::vector<std::string>(kStandardColumnCount)) {
    GiveNewKeys(rows_.size());
}

// Keys for the rows beyond those that have one.
void TaskTable::GiveNewKeys(std::size_t count) {
    keys_.resize(std::min(keys_.size(), count));
    while (keys_.size() < count) keys_.push_back(++lastKey_);
}

TaskTable::RowKey TaskTable::Key(int row) const {
    return row >= 0 && row < RowCount() ? keys_[static_cast<size_t>(row)] : 0;
}

void TaskTable::NotifyStructure() {
    if (observer_.structureChanged) observer_.structureChanged();
}

void TaskTable::SetRowCount(int count) {
    count = std::max(count, kMinRowCount);
    if (count == RowCount()) return;
    rows_.resize(static_cast<size_t>(count), std::vector<std::string>(colCount_));
    GiveNewKeys(rows_.size());
    NotifyStructure();
    SetCurrentRow(currentRow_);
}

void TaskTable::SetColCount(int count) {
    count = std::max(count, 1);
    if (count == colCount_) return;
    colCount_ = count;
    for (auto& row : rows_) row.resize(static_cast<size_t>(count));
    NotifyStructure();
}

const std::string& TaskTable::Cell(int column, int row) const {
    if (row < 0 || row >= RowCount() || column < 0 || column >= colCount_) return emptyText;
    return rows_[row][column];
}

void TaskTable::SetCell(int column, int row, std::string text) {
    if (row < 0 || row >= RowCount() || column < 0 || column >= colCount_) return;
    rows_[row][column] = std::move(text);
    if (observer_.cellChanged) observer_.cellChanged(column, row);
}

void TaskTable::ClearRow(int row) {
    for (int column = 0; column < colCount_; ++column) SetCell(column, row, {});
}

const std::vector<std::string>& TaskTable::Row(int row) const {
    if (row < 0 || row >= RowCount()) return emptyRow;
    return rows_[row];
}

void TaskTable::SetCurrentRow(int row) {
    row = std::clamp(row, 1, RowCount() - 1);
    if (row == currentRow_) return;
    currentRow_ = row;
    if (observer_.currentRowChanged) observer_.currentRowChanged(row);
}

void TaskTable::MoveRow(int from, int to) {
    const int last = RowCount() - 1;
    if (from < 1 || from > last || to < 1 || to > last || from == to) return;
    const auto first = rows_.begin();
    const auto firstKey = keys_.begin();
    if (from < to) {
        std::rotate(first + from, first + from + 1, first + to + 1);
        std::rotate(firstKey + from, firstKey + from + 1, firstKey + to + 1);
    } else {
        std::rotate(first + to, first + from, first + from + 1);
        std::rotate(firstKey + to, firstKey + from, firstKey + from + 1);
    }
    NotifyStructure();
}

void TaskTable::InsertRow(int row) {
    if (row < 1 || row > RowCount()) return;
    rows_.insert(rows_.begin() + row, std::vector<std::string>(colCount_));
    keys_.insert(keys_.begin() + row, ++lastKey_);
    NotifyStructure();
}

void TaskTable::RemoveRow(int row) {
    if (row < 1 || row >= RowCount() || RowCount() <= kMinRowCount) return;
    rows_.erase(rows_.begin() + row);
    keys_.erase(keys_.begin() + row);
    NotifyStructure();
    SetCurrentRow(currentRow_);
}

void TaskTable::ReplaceRows(std::vector<std::vector<std::string>> rows) {
    rows_ = std::move(rows);
    if (rows_.size() < kMinRowCount) rows_.resize(kMinRowCount);
    for (auto& row : rows_) row.resize(static_cast<size_t>(colCount_));
    keys_.clear();
    GiveNewKeys(rows_.size());
    NotifyStructure();
    SetCurrentRow(currentRow_);
}

void SetHeaderRow(TaskTable& table,
                  const std::array<std::string_view, kStandardColumnCount>& captions, int last) {
    if (table.ColCount() < last + 1) table.SetColCount(last + 1);
    const int count = std::min(last + 1, kStandardColumnCount);
    for (int column = 0; column < count; ++column)
        table.SetCell(column, 0, std::string(captions[column]));
}

void RenumberRows(TaskTable& table, int column, int first, char padChar, int width) {
    for (int row = 1; row < table.RowCount(); ++row)
        table.SetCell(column, row, PadLeft(std::to_string(first + row - 1), padChar, width));
}

bool IsTableEmpty(const TaskTable& table) {
    return table.Cell(ColNumber, 1).empty();
}

void AppendTaskRow(TaskTable& table) {
    if (IsTableEmpty(table)) {
        table.SetRowCount(2);
        table.SetCurrentRow(1);
        return;
    }
    // SetRowCount adds the row empty.
    table.SetRowCount(table.RowCount() + 1);
    table.SetCurrentRow(table.RowCount() - 1);
}

void InsertTaskRow(TaskTable& table, int row) {
    if (table.Cell(ColNumber, row).empty()) return;
    table.InsertRow(row);
    table.SetCurrentRow(row);
}

void CopyTaskRow(TaskTable& table, int from, int to) {
    if (from == to) return;
    const std::vector<std::string> source = table.Row(from);
    for (int column = 0; column < table.ColCount(); ++column)
        table.SetCell(column, to, column < static_cast<int>(source.size()) ? source[column] : "");
}

void DeleteTaskRow(TaskTable& table, int row) {
    if (table.RowCount() < 3) {
        table.ClearRow(1);
        return;
    }
    if (row < 1 || row >= table.RowCount()) return;
    if (row == table.RowCount() - 1) table.SetCurrentRow(table.RowCount() - 2);
    table.RemoveRow(row);
}

std::string BareProgramName(std::string_view path) {
    const size_t slash = path.find_last_of("/\\");
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string_view::npos) name = name.substr(0, dot);
    return std::string(name);
}

}  // namespace vardo
