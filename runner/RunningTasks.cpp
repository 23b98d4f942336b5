#include "RunningTasks.h"

#include "TaskTable.h"
#include "TimeText.h"

namespace vardo {

namespace {

constexpr int kFirstRunColumn = ColProcessId;

// Start times compare as the scan reads them: an empty cell never starts, any other is a second.
bool SameStartTime(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return a.empty() && b.empty();
    return TimeTextToSeconds(a) == TimeTextToSeconds(b);
}

bool RowRunsTask(const TaskTable& table, int row, const RunningTask& task) {
    return table.Cell(ColApplication, row) == task.application &&
           table.Cell(ColParameters, row) == task.parameters &&
           SameStartTime(table.Cell(ColStartTime, row), task.startTime);
}

}  // namespace

const std::string& RunningTask::ProcessIdCell() const {
    return runCells[ColProcessId - kFirstRunColumn];
}

std::vector<RunningTask> RunningTasksOf(const TaskTable& table) {
    std::vector<RunningTask> tasks;
    for (int row = 1; row < table.RowCount(); ++row) {
        if (table.Cell(ColRunState, row) != kRunning) continue;
        RunningTask task{row,
                         table.Cell(ColApplication, row),
                         table.Cell(ColParameters, row),
                         table.Cell(ColStartTime, row),
                         table.Cell(ColDescription, row),
                         table.Cell(ColEndTime, row),
                         {}};
        for (std::size_t i = 0; i < task.runCells.size(); ++i)
            task.runCells[i] = table.Cell(kFirstRunColumn + static_cast<int>(i), row);
        tasks.push_back(std::move(task));
    }
    return tasks;
}

std::vector<int> HandOverRunningTasks(const std::vector<RunningTask>& tasks, TaskTable& table) {
    std::vector<int> rows;
    std::vector<bool> taken(static_cast<std::size_t>(table.RowCount()), false);
    for (const RunningTask& task : tasks) {
        int found = 0;
        for (int row = 1; row < table.RowCount() && found == 0; ++row) {
            if (!taken[static_cast<std::size_t>(row)] && RowRunsTask(table, row, task)) found = row;
        }
        if (found != 0) {
            taken[static_cast<std::size_t>(found)] = true;
            for (std::size_t i = 0; i < task.runCells.size(); ++i)
                table.SetCell(kFirstRunColumn + static_cast<int>(i), found, task.runCells[i]);
        }
        rows.push_back(found);
    }
    return rows;
}

}  // namespace vardo
