#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vardo {

class TaskTable;

// What a row's task is known by: its application file, parameters and start time.
struct TaskIdentity {
    std::string application;
    std::string parameters;
    std::string startTime;
};

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
    std::string windowSetting;
    std::string monitor;
    std::array<std::string, 5> runCells;
    // What the task was started as: its row may have been given another program or start time
    // since, in an edit that a load then replaced with the timetable's own row.
    TaskIdentity started;

    const std::string& ProcessIdCell() const;
};

// The decimal value of a process id or handle cell, leading blanks allowed; 0 when it holds none.
int ProcessIdValue(std::string_view cell);

// The task of a row as its cells show it, started at the row's start time.
RunningTask RunningTaskOf(const TaskTable& table, int row);
// Every running row of the table, top to bottom.
std::vector<RunningTask> RunningTasksOf(const TaskTable& table);

// Whether the row runs the same task: the same application file, parameters and start time (as
// a second of the day) as the task has now or had when it started.
bool RowRunsTask(const TaskTable& table, int row, const RunningTask& task);

// Gives each task a row of `table` that has the same application file, parameters and start
// time (as a second of the day), one task per row, writing the task's run-time cells into it.
// Among such rows a task prefers the one that also has its end time, window setting and monitor
// (the more of them the better), then the one at its old position, then the first; the best
// fitting pairs are settled first, so no task takes the row that fits another task better.
// Returns, for each task, the row it went to; 0 when none matched.
std::vector<int> HandOverRunningTasks(const std::vector<RunningTask>& tasks, TaskTable& table);

}  // namespace vardo
