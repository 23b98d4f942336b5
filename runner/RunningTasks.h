#pragma once

#include <array>
#include <string>
#include <vector>

namespace vardo {

class TaskTable;

// A task that was running ("在播") when its timetable was replaced by a load: what finds its row in
// the new table, what ends it when no row does, and the run-time cells (columns 10 to 14) that
// go with it.
struct RunningTask {
    int row = 0;  // its row in the replaced table
    std::string application;
    std::string parameters;
    std::string startTime;
    std::string description;
    std::string endTime;
    std::array<std::string, 5> runCells;

    const std::string& ProcessIdCell() const;
};

// Every running row of the table, top to bottom.
std::vector<RunningTask> RunningTasksOf(const TaskTable& table);

// Gives each task, in order, to the first row of `table` not yet given one that has the same
// application file, parameters and start time (as a second of the day), writing the task's
// run-time cells into that row. Returns, for each task, the row it went to; 0 when none matched.
std::vector<int> HandOverRunningTasks(const std::vector<RunningTask>& tasks, TaskTable& table);

}  // namespace vardo
