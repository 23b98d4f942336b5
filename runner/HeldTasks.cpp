#include "HeldTasks.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace vardo {

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
    if (held.handle != handle) CloseHandle(held.handle);
    held = {processId, handle};
}

bool HeldTasks::Holds(int row) const {
    if (table_.Cell(ColRunState, row) != kRunning) return false;
    const auto held = held_.find(table_.Key(row));
    return held != held_.end() &&
           held->second.processId == ProcessIdValue(table_.Cell(ColProcessId, row)) &&
           held->second.handle == ProcessIdValue(table_.Cell(ColProcessHandle, row));
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

void HeldTasks::ReleaseTasksNoRowHolds(const std::unordered_set<TaskTable::RowKey>& holding) {
    std::erase_if(held_, [&](const auto& entry) {
        const auto& [key, held] = entry;
        if (holding.contains(key)) return false;
        CloseHandle(held.handle);
        return true;
    });
}

void HeldTasks::BeginTableLoad() {
    loading_.clear();
    std::unordered_set<platform::ProcessHandle> carried;
    for (RunningTask& task : RunningTasksOf(table_)) {
        if (!Holds(task.row)) continue;  // a copy holds nothing to carry over
        const platform::ProcessHandle handle = held_.at(table_.Key(task.row)).handle;
        carried.insert(handle);
        loading_.push_back({std::move(task), handle});
    }
    // The rows go with the load: the carried list holds their tasks until it ends.
    for (const auto& [key, held] : held_) {
        if (!carried.contains(held.handle)) CloseHandle(held.handle);
    }
    held_.clear();
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
            held_[table_.Key(rows[i])] = {processId, task.handle};
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

}  // namespace vardo
