#pragma once

#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "Processes.h"
#include "RunningTasks.h"
#include "TaskTable.h"

namespace vardo {

// What a task's start line named it; its end line names it the same, whatever its row shows by
// then (an operator may give a running row another program or description).
struct TaskName {
    std::string application;
    std::string description;
};

// A task no row holds, with the handle held for it (0: none).
struct CarriedTask {
    RunningTask task;
    platform::ProcessHandle handle = 0;
    TaskName name;
};

// The tasks the runner follows, and the process handles it holds for them.
//
// A task belongs to the row it was started from, known by the row's key wherever the row moves.
// A task whose row lets go of it without ending it becomes an orphan: its row deleted, emptied or
// overwritten, or a timetable load without a row for it. An
// orphan stays held, for the runner to end at its old row's end time, by a restart of the same
// task, or at exit, and to notice when it ends by itself. A timetable load replaces every row:
// the running tasks and the orphans are handed to the rows of the new table that run the same
// task (HandOverRunningTasks), run-time cells and handle; those that no row takes over are
// orphans from then on. Every handle given to this object is closed by it, or passed back with
// the task taken out of it.
class HeldTasks {
  public:
    HeldTasks(TaskTable& table, platform::Processes& processes);
    // Closes every handle; the processes run on.
    ~HeldTasks();
    HeldTasks(const HeldTasks&) = delete;
    HeldTasks& operator=(const HeldTasks&) = delete;

    // The row holds its task from now on. A task with a process that the row held before, and
    // still holds, becomes an orphan.
    void Hold(int row, int processId, platform::ProcessHandle handle);
    // Whether the row shows the task held for it ("在播", same process and handle).
    bool Holds(int row) const;
    // The name the row's task started under; the row's own when it holds none.
    TaskName NameOf(int row) const;
    // The handle the row holds for the process of its column 10, still referring to that
    // process; else 0.
    platform::ProcessHandle TrackedHandle(int row) const;
    // The row's task has ended: its handle is closed.
    void Release(int row);
    // Notes the cells of a row that holds its task, which describe the task should the row go
    // before the runner looks again (the watch notes every row once a tick).
    void Note(int row);
    // The tasks of rows that no longer hold them become orphans; a caption row's task that has
    // not found its process yet has nothing to follow and is dropped.
    void CutLooseTasksNoRowHolds();
    // The same, told the keys of the rows that hold their tasks.
    void CutLooseTasksNoRowHolds(const std::unordered_set<TaskTable::RowKey>& holding);

    // Called just before and just after every timetable load, which empties columns 10 to 14.
    void BeginTableLoad();
    void EndTableLoad();

    // Takes out the orphans `which` picks, in the order they became orphans; their handles pass
    // to the caller.
    std::vector<CarriedTask> TakeOrphansIf(const std::function<bool(const CarriedTask&)>& which);
    std::vector<CarriedTask> TakeAllOrphans();
    // Gives back an orphan taken out and not ended after all.
    void KeepOrphan(CarriedTask orphan);

  private:
    // What is held for the row a task belongs to.
    struct HeldTask {
        int processId = 0;                   // 0: a caption row that has found no window yet
        platform::ProcessHandle handle = 0;  // 0: none
        RunningTask task;                    // the row's cells when last noted
        TaskName name;                       // as the task started
    };

    void CloseHandle(platform::ProcessHandle handle);
    // The held task no row holds any more becomes an orphan, when it has a process.
    void CutLoose(HeldTask held);

    TaskTable& table_;
    platform::Processes& processes_;
    std::unordered_map<TaskTable::RowKey, HeldTask> held_;
    std::vector<CarriedTask> loading_;  // between BeginTableLoad and EndTableLoad
    std::vector<CarriedTask> orphans_;
};

}  // namespace vardo
