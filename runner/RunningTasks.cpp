#include "RunningTasks.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "TaskTable.h"
#include "TimeText.h"

namespace vardo {

namespace {

constexpr int kFirstRunColumn = ColProcessId;

// Times compare as the scan reads them: an empty cell never fires, any other is a second.
bool SameTime(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return a.empty() && b.empty();
    return TimeTextToSeconds(a) == TimeTextToSeconds(b);
}

bool RowIs(const TaskTable& table, int row, const TaskIdentity& task) {
    return table.Cell(ColApplication, row) == task.application &&
           table.Cell(ColParameters, row) == task.parameters &&
           SameTime(table.Cell(ColStartTime, row), task.startTime);
}

TaskIdentity PresentIdentity(const RunningTask& task) {
    return {task.application, task.parameters, task.startTime};
}

// How many of the settings that decide where and until when a task runs the row shares with it,
// the task as it is now counting above the task as it started.
int Fit(const TaskTable& table, int row, const RunningTask& task) {
    return int{RowIs(table, row, PresentIdentity(task))} +
           int{SameTime(table.Cell(ColEndTime, row), task.endTime)} +
           int{table.Cell(ColWindowSetting, row) == task.windowSetting} +
           int{table.Cell(ColMonitor, row) == task.monitor};
}

}  // namespace

int ProcessIdValue(std::string_view cell) {
    while (!cell.empty() && cell.front() == ' ') cell.remove_prefix(1);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(cell.data(), cell.data() + cell.size(), value);
    if (error != std::errc() || end != cell.data() + cell.size()) return 0;
    return value > 0 && value <= INT32_MAX ? static_cast<int>(value) : 0;
}

const std::string& RunningTask::ProcessIdCell() const {
    return runCells[ColProcessId - kFirstRunColumn];
}

RunningTask RunningTaskOf(const TaskTable& table, int row) {
    RunningTask task{row,
                     table.Cell(ColApplication, row),
                     table.Cell(ColParameters, row),
                     table.Cell(ColStartTime, row),
                     table.Cell(ColDescription, row),
                     table.Cell(ColEndTime, row),
                     table.Cell(ColWindowSetting, row),
                     table.Cell(ColMonitor, row),
                     {},
                     {}};
    task.started = PresentIdentity(task);
    for (std::size_t i = 0; i < task.runCells.size(); ++i)
        task.runCells[i] = table.Cell(kFirstRunColumn + static_cast<int>(i), row);
    return task;
}

std::vector<RunningTask> RunningTasksOf(const TaskTable& table) {
    std::vector<RunningTask> tasks;
    for (int row = 1; row < table.RowCount(); ++row) {
        if (table.Cell(ColRunState, row) == kRunning) tasks.push_back(RunningTaskOf(table, row));
    }
    return tasks;
}

bool RowRunsTask(const TaskTable& table, int row, const RunningTask& task) {
    return RowIs(table, row, PresentIdentity(task)) || RowIs(table, row, task.started);
}

std::vector<int> HandOverRunningTasks(const std::vector<RunningTask>& tasks, TaskTable& table) {
    struct Candidate {
        int fit = 0;
        bool samePosition = false;
        std::size_t task = 0;
        int row = 0;
    };
    std::vector<Candidate> candidates;
    for (std::size_t task = 0; task < tasks.size(); ++task) {
        for (int row = 1; row < table.RowCount(); ++row) {
            if (RowRunsTask(table, row, tasks[task]))
                candidates.push_back(
                    {Fit(table, row, tasks[task]), row == tasks[task].row, task, row});
        }
    }
    // Stable: among equals, earlier tasks and then earlier rows first.
    std::stable_sort(candidates.begin(), candidates.end(), [](const auto& a, const auto& b) {
        return a.fit != b.fit ? a.fit > b.fit : a.samePosition > b.samePosition;
    });
    std::vector<int> rows(tasks.size(), 0);
    std::vector<bool> taken(static_cast<std::size_t>(table.RowCount()), false);
    for (const Candidate& candidate : candidates) {
        if (rows[candidate.task] != 0 || taken[static_cast<std::size_t>(candidate.row)]) continue;
        rows[candidate.task] = candidate.row;
        taken[static_cast<std::size_t>(candidate.row)] = true;
    }
    for (std::size_t task = 0; task < tasks.size(); ++task) {
        if (rows[task] == 0) continue;
        for (std::size_t i = 0; i < tasks[task].runCells.size(); ++i)
            table.SetCell(kFirstRunColumn + static_cast<int>(i), rows[task],
                          tasks[task].runCells[i]);
    }
    return rows;
}

}  // namespace vardo
