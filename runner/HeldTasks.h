#pragma once

#include <functional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "Processes.h"
#include "RunningTasks.h"
#include "TaskTable.h"

namespace vardo {

// A task no row holds, with the handle held for it (0: none).
struct CarriedTask {
    RunningTask task;
    platform::ProcessHandle handle = 0;
};

// The tasks the runner follows, and the process handles it holds for them.
//
// A task belongs to the row it was started from, known by the row's key wherever the row moves.
// A timetable load replaces every row: the running tasks are handed to the rows of the new table
// that run the same task (HandOverRunningTasks), run-time cells and handle; a task that no row
// takes over becomes an orphan, still held, for the runner to end at its old row's end time or
// at exit, or to notice when it ends by itself. Every handle given to this object is closed by
// it, or passed back with the task taken out of it.
class HeldTasks {
  public:
    HeldTasks(TaskTable& table, platform::Processes& processes);
    // Closes every handle; the processes run on.
    ~HeldTasks();
    HeldTasks(const HeldTasks&) = delete;
    HeldTasks& operator=(const HeldTasks&) = delete;

    // The row holds its task from now on; an earlier handle of the row is closed.
    void Hold(int row, int processId, platform::ProcessHandle handle);
    // Whether the row shows the task held for it ("在播", same process and handle).
    bool Holds(int row) const;
    // The handle the row holds for the process of its column 10, still referring to that
    // process; else 0.
    platform::ProcessHandle TrackedHandle(int row) const;
    // The row no longer holds a task: its handle is closed.
    void Release(int row);
    // Closes the handles held for rows not in `holding` (deleted, emptied, or ended since).
    void ReleaseTasksNoRowHolds(const std::unordered_set<TaskTable::RowKey>& holding);

    // Called just before and just after every timetable load, which empties columns 10 to 14.
    void BeginTableLoad();
    void EndTableLoad();

    // Takes out the orphans `which` picks, in the order they became orphans; their handles pass
    // to the caller.
    std::vector<CarriedTask> TakeOrphansIf(const std::function<bool(const CarriedTask&)>& which);
    std::vector<CarriedTask> TakeAllOrphans();

  private:
    // What is held for the row a task belongs to.
    struct HeldTask {
        int processId = 0;                   // 0: a caption row that has found no window yet
        platform::ProcessHandle handle = 0;  // 0: none
    };

    void CloseHandle(platform::ProcessHandle handle);

    TaskTable& table_;
    platform::Processes& processes_;
    std::unordered_map<TaskTable::RowKey, HeldTask> held_;
    std::vector<CarriedTask> loading_;  // between BeginTableLoad and EndTableLoad
    std::vector<CarriedTask> orphans_;
};

}  // namespace vardo
