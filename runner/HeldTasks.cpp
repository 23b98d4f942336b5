#include "HeldTasks.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <unordered_set>
#include <utility>

namespace vardo {

namespace {

// The run-time cells of a task, in the order of columns 10 to 14.
enum RunCell { kProcessIdCell, kWindowCell, kHandleCell, kStateCell, kRunTimeCell };

}  // namespace

HeldTasks::HeldTasks(TaskTable& table, platform::Processes& processes)
    : table_(table), processes_(processes) {}

HeldTasks::~HeldTasks() {
    for (const auto& [key, held] : held_) CloseHandle(held.handle);
    for (const CarriedTask& orphan : orphans_) CloseHandle(orphan.handle);
}

void HeldTasks::CloseHandle(platform::ProcessHandle handle) {
    if (handle != 0) processes_.CloseHandle(handle);
}

void HeldTasks::Hold(int row, int processId, platform::ProcessHandle handle) {
    HeldTask& held = held_[table_.Key(row)];
    if (held.processId != 0 && held.handle != handle) CutLoose(std::move(held));
    held = {processId, handle, RunningTaskOf(table_, row),
            {table_.Cell(ColApplication, row), table_.Cell(ColDescription, row)}};
}

bool HeldTasks::Holds(int row) const {
    if (table_.Cell(ColRunState, row) != kRunning) return false;
    const auto held = held_.find(table_.Key(row));
    return held != held_.end() &&
           held->second.processId == ProcessIdValue(table_.Cell(ColProcessId, row)) &&
           held->second.handle == ProcessIdValue(table_.Cell(ColProcessHandle, row));
}

TaskName HeldTasks::NameOf(int row) const {
    if (!Holds(row)) return {table_.Cell(ColApplication, row), table_.Cell(ColDescription, row)};
    return held_.at(table_.Key(row)).name;
}

platform::ProcessHandle HeldTasks::TrackedHandle(int row) const {
    if (!Holds(row)) return 0;
    const HeldTask& held = held_.at(table_.Key(row));
    if (held.handle == 0 || processes_.ProcessIdOfHandle(held.handle) != held.processId) return 0;
    return held.handle;
}

void HeldTasks::Release(int row) {
    const auto held = held_.find(table_.Key(row));
    if (held == held_.end()) return;
    CloseHandle(held->second.handle);
    held_.erase(held);
}

void HeldTasks::Note(int row) {
    RunningTask& task = held_.at(table_.Key(row)).task;
    TaskIdentity started = std::move(task.started);
    task = RunningTaskOf(table_, row);
    task.started = std::move(started);
}

void HeldTasks::CutLoose(HeldTask held) {
    if (held.processId == 0) {
        CloseHandle(held.handle);
        return;
    }
    // The run-time cells as the row would show them now, whatever it showed when last noted.
    auto& cells = held.task.runCells;
    cells[kProcessIdCell] = std::to_string(held.processId);
    cells[kHandleCell] = held.handle == 0 ? "" : std::to_string(held.handle);
    cells[kStateCell] = std::string(kRunning);
    orphans_.push_back({std::move(held.task), held.handle, std::move(held.name)});
}

void HeldTasks::CutLooseTasksNoRowHolds() {
    std::unordered_set<TaskTable::RowKey> holding;
    for (int row = 1; row < table_.RowCount(); ++row) {
        if (Holds(row)) holding.insert(table_.Key(row));
    }
    CutLooseTasksNoRowHolds(holding);
}

void HeldTasks::CutLooseTasksNoRowHolds(const std::unordered_set<TaskTable::RowKey>& holding) {
    for (auto entry = held_.begin(); entry != held_.end();) {
        if (holding.contains(entry->first)) {
            ++entry;
            continue;
        }
        CutLoose(std::move(entry->second));
        entry = held_.erase(entry);
    }
}

void HeldTasks::BeginTableLoad() {
    CutLooseTasksNoRowHolds();
    loading_.clear();
    for (RunningTask& task : RunningTasksOf(table_)) {
        if (!Holds(task.row)) continue;  // a copy holds nothing to carry over
        const HeldTask& held = held_.at(table_.Key(task.row));
        task.started = held.task.started;
        loading_.push_back({std::move(task), held.handle, held.name});
    }
    held_.clear();
    // Offered after the rows' own tasks: among rows that fit as well, those go first.
    for (CarriedTask& orphan : TakeAllOrphans()) loading_.push_back(std::move(orphan));
}

void HeldTasks::EndTableLoad() {
    std::vector<CarriedTask> carried = std::exchange(loading_, {});
    std::vector<RunningTask> tasks;
    for (const CarriedTask& task : carried) tasks.push_back(task.task);
    const std::vector<int> rows = HandOverRunningTasks(tasks, table_);
    for (std::size_t i = 0; i < carried.size(); ++i) {
        CarriedTask& task = carried[i];
        const int processId = ProcessIdValue(task.task.ProcessIdCell());
        if (rows[i] != 0) {
            HeldTask& held = held_[table_.Key(rows[i])];
            held = {processId, task.handle, RunningTaskOf(table_, rows[i]), std::move(task.name)};
            held.task.started = std::move(task.task.started);
            continue;
        }
        // A caption-mode task whose window was never found has no process to end.
        if (processId == 0) continue;
        orphans_.push_back(std::move(task));
    }
}

std::vector<CarriedTask> HeldTasks::TakeOrphansIf(
    const std::function<bool(const CarriedTask&)>& which) {
    const auto taken = std::stable_partition(orphans_.begin(), orphans_.end(),
                                             [&](const CarriedTask& task) { return !which(task); });
    std::vector<CarriedTask> result(std::make_move_iterator(taken),
                                    std::make_move_iterator(orphans_.end()));
    orphans_.erase(taken, orphans_.end());
    return result;
}

std::vector<CarriedTask> HeldTasks::TakeAllOrphans() {
    return std::exchange(orphans_, {});
}

void HeldTasks::KeepOrphan(CarriedTask orphan) {
    orphans_.push_back(std::move(orphan));
}

}  // namespace vardo
