#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "HeldTasks.h"
#include "Processes.h"
#include "SecondSequencer.h"
#include "TaskRunnerEvents.h"
#include "TaskRunnerHost.h"
#include "TaskTable.h"
#include "WindowPlacement.h"
#include "Windows.h"

namespace vardo {

// Starts, follows and ends the tasks of the timetable grid. Two one-second ticks drive it: the
// schedule tick starts and ends rows at their times, the watch tick finds and places each started
// task's windows, notices a task that ended by itself, counts run time and raises reminders.
// The run-time columns 10 to 14 of the table are written only here.
//
// Tasks and rows: a task belongs to the row it was started from (or that took it over at a
// load), wherever that row moves; the runner knows that row by its key, not by its cells. A row
// showing a task it does not hold (a copy of a running row, run-time cells included) is no
// task: it is quietly marked stopped, and never followed, ended, logged or carried over. A
// process handle is acted on (queried, terminated, closed) only through the row holding it, and
// only while it still refers to the process id of that row's column 10, so nothing ever
// signals a process through a stale or reused descriptor number.
//
// A task whose row goes without ending it (a load without the row, a delete) stays followed
// with no row: ended at its old row's end time, by a start of the same task, or at exit, and
// handed back to a row of the same task at a later load (see HeldTasks).
//
// Windows: besides the watch tick's search, the runner is told by the platform of every window
// as it becomes viewable, and places each window of a tracked task then, as its row says; the
// tick's search remains for what the events miss. Only windows that have been viewable are ever
// taken as a task's windows; a process-mode task's dialogs, menus and tooltips are not placed.
// The placed windows are forgotten as they are destroyed or their task ends.
class TaskRunner final : public platform::WindowListener {
  public:
    TaskRunner(TaskTable& table, TaskRunnerHost& host, platform::Processes& processes,
               platform::Windows& windows);
    ~TaskRunner() override;
    TaskRunner(const TaskRunner&) = delete;
    TaskRunner& operator=(const TaskRunner&) = delete;

    // Who is told of starts, ends, placements and processed seconds; nullptr for nobody.
    void SetEvents(TaskRunnerEvents* events);

    // tmScanOrloTimer: outside the edit state, shows the time in status panel 3 and runs
    // ScanSchedule once for every wall-clock second not yet processed, in order. Seconds that
    // passed in the edit state are skipped: after it, only the then-current second is processed.
    void ScheduleTick();

    // tmChkFlashTimer: outside the edit state, counts the tick in status panel 4 and runs window
    // discovery, end detection and run-time counting for every row.
    void WatchTick();

    // Starts and ends the rows whose start or end time equals `now` (second of the day).
    void ScanSchedule(int now);

    void StartTask(int row);
    // Creates the process application + " " + parameters in the program folder and remembers its
    // process information as the most recent creation.
    bool LaunchProcess(const std::string& applicationFile, const std::string& parameters,
                       bool showWindow);

    // The start and stop buttons, for the current row.
    void btnPlayFlashClick();
    void btnStopFlashClick();

    struct FoundWindow {
        int processId = 0;  // 0: nothing found
        platform::WindowHandle window = 0;
    };
    // The first top-level window whose caption begins with `text` (exact bytes, blanks kept);
    // an empty text never matches.
    FoundWindow FindWindowByCaption(const std::string& text);
    // Fills the handle list with every top-level window of the process, in enumeration order,
    // and returns the last one (0 when none).
    platform::WindowHandle FindProcessWindows(int processId);
    // Places one window on the row's monitor as the row's window setting asks. Keeping the size,
    // the window keeps its position within the monitor it lies on, inside the row's monitor;
    // hiding, it is withdrawn before it is moved and sized.
    void PlaceTaskWindow(platform::WindowHandle window, int row);

    // A window has become viewable: when it belongs to a tracked task and has not been placed
    // for it yet, it is placed now (outside the edit state).
    // In process mode only a task's main windows are placed (see PlacedAsItShows). In the edit
    // state nothing is placed; the windows shown meanwhile are looked at when it has ended.
    void WindowViewable(const platform::TopLevelWindow& window) override;
    void WindowDestroyed(platform::WindowHandle window) override;

    // Ends a row's task when it is "在播" with a process id: terminates the process through the
    // handle the row holds (when still tracked), logs the end and marks the row stopped. When
    // the system refuses, the refusal is logged instead, and the row keeps its task.
    void EndTask(int row, TaskEndCause cause = TaskEndCause::Stopped);
    // EndTask for every task row present at entry, then ends the tasks no row holds.
    void EndAllTasks(TaskEndCause cause = TaskEndCause::Exit);
    // Terminates a process through a handle the runner holds, with exit code 1; never by pid.
    // False when the system refused, the process running on; a refusal is logged here.
    bool KillProcess(platform::ProcessHandle handle, std::string_view application);

    // Called just before and just after every timetable load, which empties columns 10 to 14:
    // the running tasks, and those no row holds, are handed to the new rows.
    void BeginTableLoad();
    void EndTableLoad();

    // Diagnostics: the windows of the most recent creation, and every caption with that
    // creation's windows marked, both written to the handle list.
    void MyEnumWindow();
    void MyGetWindow();

    // The handle list (ListBox1): one line per entry.
    const std::vector<std::string>& HandleList() const { return handleList_; }
    const platform::ProcessInformation& LastCreation() const { return lastCreation_; }

  private:
    // Ends the row's own task, or every task when the row is exclusive, then starts the row,
    // unless the system refused to end the row's task.
    void RestartTask(int row);
    // Whether an orphan `which` picks is still held.
    bool OrphanRuns(const std::function<bool(const CarriedTask&)>& which);
    // Whether the row follows its task by window caption (column 6 not blank) rather than by
    // the created process.
    bool CaptionMode(int row) const;
    // Stages A to C of the watch for one row that is not a copy.
    void WatchRow(int row);
    void DiscoverWindows(int row, bool& skipRest);
    void PlaceWindowsShownWhileEditing();
    // Whether a process-mode task's window is placed as it shows: a main window is; an
    // override-redirect one only while the task shows no managed window; no other.
    bool PlacedAsItShows(const platform::TopLevelWindow& window);
    // Every viewable top-level window of the process, in enumeration order.
    std::vector<platform::TopLevelWindow> ViewableWindowsOf(int processId);
    // Of a process's viewable windows, those its task places: the main windows; without any,
    // the override-redirect ones when none is managed (a full-screen player); else none.
    static std::vector<platform::WindowHandle> WindowsToPlace(
        const std::vector<platform::TopLevelWindow>& own);
    // Whether a viewable window belongs to the row's task: by process, or for a caption row by
    // caption (and process, once the row has taken one).
    bool BelongsToRow(const platform::TopLevelWindow& window, int row) const;
    // A caption row takes the process showing its caption as its task's process.
    void AdoptProcess(int row, int processId);
    // Records the window as the row's and places it.
    void TakeWindow(platform::WindowHandle window, int row, bool startedHidden);
    // A window id is used again by the X server once its client has gone: it counts as placed
    // only together with the process it was placed for.
    bool IsPlaced(platform::WindowHandle window, int processId) const;
    // Forgets the placed windows of processes no row follows any more.
    void ForgetPlacedWindowsOfEndedTasks();
    // A row whose start created a process is given kWindowDueTicks watch ticks to have a window
    // placed. One that has not by then is reported once in the status line and history when the
    // process shows a window that could not be placed (a caption that does not match, no main
    // window), and on a Wayland session whatever it shows, where it may have opened a native
    // window that placement cannot see.
    void AwaitWindow(int row, int processId);
    void ReportUnplacedWindows();
    // Returns true when the row's task was found ended (stage C is then skipped).
    bool DetectEnd(int row);
    void CountRunTime(int row);

    void ClearTracking(int row);
    // The tasks no row holds whose end time is `now`, or that ended by themselves.
    void EndOrphansAt(int now);
    void DetectOrphanEnds();
    // Ends (terminating through its handle, if any) and logs each task, as EndTask does; one
    // whose end is refused stays an orphan.
    void EndOrphans(std::vector<CarriedTask> orphans, TaskEndCause cause);
    // "  " + time + event + application + " 】  " + description.
    std::string EventLine(std::string_view event, int row) const;
    std::string EventLine(std::string_view event, const TaskName& name) const;
    // The history gets the status line's text as read back, as the memo always has.
    void AppendStatusLineToHistory();

    TaskTable& table_;
    TaskRunnerHost& host_;
    platform::Processes& processes_;
    platform::Windows& windows_;
    HeldTasks held_;
    SecondSequencer sequencer_;
    TaskRunnerEvents* events_;
    // When the wall-clock second the schedule scan is processing began, on the monotonic clock,
    // while it does.
    std::optional<std::chrono::steady_clock::time_point> scheduledSecondBegan_;
    // When the runner learnt of the window it is taking now.
    std::chrono::steady_clock::time_point windowSeenAt_;
    bool inScheduleTick_ = false;
    bool editedSinceScan_ = false;  // the edit state was on since the last schedule scan
    bool inWatchTick_ = false;
    int watchTickCount_ = 0;
    std::vector<std::string> handleList_;
    platform::ProcessInformation lastCreation_;
    struct AwaitedWindow {
        int row = 0;
        std::string application;  // tells the row's start from a later edit of that row
        int processId = 0;        // the process the start created
        int dueTick = 0;          // the watch tick count by which a window should have shown
    };
    std::vector<AwaitedWindow> awaitedWindows_;
    // Every window placed for a task still followed, in the order placed, with its process.
    std::vector<std::pair<platform::WindowHandle, int>> placedWindows_;
    // Windows that became viewable during the edit state, still existing.
    std::unordered_set<platform::WindowHandle> shownWhileEditing_;
};

}  // namespace vardo
