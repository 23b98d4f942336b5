#include "TaskRunner.h"

#include <unistd.h>

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "Clock.h"
#include "HistoryFile.h"
#include "SystemServices.h"
#include "TaskTable.h"
#include "TextFields.h"
#include "TimeText.h"

namespace vardo {

namespace {

constexpr std::string_view kHiddenStart = "否,无";
constexpr std::string_view kFoundMark = "=============Finded:";
constexpr int kTimePanel = 3;
constexpr int kWatchTickPanel = 4;
constexpr std::uint32_t kTerminatedExitCode = 1;
// Watch ticks, one a second, within which a started task is to show a window.
constexpr int kWindowDueTicks = 10;

// Stands in when nobody listens.
TaskRunnerEvents noEvents;

// Marks a tick as running for its lifetime.
class TickInProgress {
  public:
    explicit TickInProgress(bool& flag) : flag_(flag) { flag_ = true; }
    ~TickInProgress() { flag_ = false; }
    TickInProgress(const TickInProgress&) = delete;
    TickInProgress& operator=(const TickInProgress&) = delete;

  private:
    bool& flag_;
};

}  // namespace

TaskRunner::TaskRunner(TaskTable& table, TaskRunnerHost& host, platform::Processes& processes,
                       platform::Windows& windows)
    : table_(table),
      host_(host),
      processes_(processes),
      windows_(windows),
      held_(table, processes),
      events_(&noEvents) {
    windows_.SetListener(this);
}

void TaskRunner::SetEvents(TaskRunnerEvents* events) {
    events_ = events ? events : &noEvents;
}

TaskRunner::~TaskRunner() {
    windows_.SetListener(nullptr);
}

void TaskRunner::ScheduleTick() {
    if (host_.IsEditState()) {
        // The seconds of the edit state are not caught up once it is left.
        sequencer_.Resume();
        editedSinceScan_ = true;
        return;
    }
    // A tick nested in a call to the host is left out; the next tick catches its seconds up.
    if (inScheduleTick_) return;
    const TickInProgress tick(inScheduleTick_);
    // One reading for both, so panel 3 never shows a second other than the one scanned. The
    // monotonic clock, read with it, measures how late each start comes after its second.
    const PreciseLocalTime preciseNow = CurrentClock().PreciseNow();
    const auto steadyNow = std::chrono::steady_clock::now();
    const LocalTime now = std::chrono::floor<std::chrono::milliseconds>(preciseNow);
    host_.SetStatusText(kTimePanel, SecondsToTimeText(TimeOfDaySeconds(now)));
    // Rows deleted or emptied in the edit state leave their tasks to be ended with no row, at
    // an end time that may come before the next watch.
    if (std::exchange(editedSinceScan_, false)) held_.CutLooseTasksNoRowHolds();
    for (const LocalSeconds second : sequencer_.Advance(now)) {
        scheduledSecondBegan_ = steadyNow - (preciseNow - second);
        ScanSchedule(TimeOfDaySeconds(second));
        scheduledSecondBegan_.reset();
        events_->SecondProcessed(second);
    }
}

void TaskRunner::ScanSchedule(int now) {
    for (int row = 1; row < table_.RowCount(); ++row) {
        if (table_.Cell(ColApplication, row).empty()) continue;
        const std::string& start = table_.Cell(ColStartTime, row);
        if (!start.empty() && TimeTextToSeconds(start) == now) RestartTask(row);
        const std::string& end = table_.Cell(ColEndTime, row);
        if (!end.empty() && TimeTextToSeconds(end) == now) EndTask(row, TaskEndCause::EndTime);
    }
    EndOrphansAt(now);
}

void TaskRunner::WatchTick() {
    processes_.ReapExitedChildren();
    if (host_.IsEditState() || inWatchTick_) return;
    const TickInProgress tick(inWatchTick_);
    ++watchTickCount_;
    host_.SetStatusText(kWatchTickPanel, std::to_string(watchTickCount_));
    PlaceWindowsShownWhileEditing();
    std::unordered_set<TaskTable::RowKey> holding;
    for (int row = 1; row < table_.RowCount(); ++row) {
        const bool running = table_.Cell(ColRunState, row) == kRunning;
        if (running && !held_.Holds(row)) {
            ClearTracking(row);  // a copy of a running row
            continue;
        }
        WatchRow(row);
        if (!running || !held_.Holds(row)) continue;
        holding.insert(table_.Key(row));
        held_.Note(row);
    }
    ReportUnplacedWindows();
    DetectOrphanEnds();
    // Tasks whose rows went (deleted, emptied, overwritten) are followed with no row.
    held_.CutLooseTasksNoRowHolds(holding);
    ForgetPlacedWindowsOfEndedTasks();
}

void TaskRunner::WatchRow(int row) {
    bool skipRest = false;
    DiscoverWindows(row, skipRest);
    if (skipRest) return;
    if (table_.Cell(ColRunState, row) != kRunning || table_.Cell(ColProcessId, row).empty()) return;
    if (!DetectEnd(row)) CountRunTime(row);
}

void TaskRunner::DiscoverWindows(int row, bool& skipRest) {
    if (!held_.Holds(row)) return;
    if (table_.Cell(ColProcessId, row).empty()) {
        // A process-mode row whose launch failed has no process to follow; searching with its
        // caption of blanks would adopt, and at its end time kill, any window's owner.
        if (!CaptionMode(row)) return;
        windowSeenAt_ = std::chrono::steady_clock::now();
        const FoundWindow found = FindWindowByCaption(table_.Cell(ColCaption, row));
        if (found.processId == 0) return;
        AdoptProcess(row, found.processId);
        TakeWindow(found.window, row, false);
        host_.RaiseMainWindow();
        return;
    }
    if (table_.Cell(ColProcessId, row).empty() || !table_.Cell(ColWindowHandle, row).empty()) {
        return;
    }
    const int processId = ProcessIdValue(table_.Cell(ColProcessId, row));
    if (processId == 0) {
        skipRest = true;
        return;
    }
    windowSeenAt_ = std::chrono::steady_clock::now();
    const std::vector<platform::TopLevelWindow> own = ViewableWindowsOf(processId);
    const std::vector<platform::WindowHandle> toPlace = WindowsToPlace(own);
    if (toPlace.empty()) return;
    // X has no start-up show state: a hidden start's windows are hidden once found, whatever
    // the row's setting has become since.
    const bool startedHidden = processes_.StartedHidden(held_.TrackedHandle(row));
    for (const platform::WindowHandle window : toPlace) {
        if (!IsPlaced(window, processId)) TakeWindow(window, row, startedHidden);
    }
    table_.SetCell(ColWindowHandle, row, std::to_string(toPlace.back()));
    handleList_.clear();
    for (const platform::TopLevelWindow& window : own)
        handleList_.push_back(std::to_string(window.window));
    host_.RaiseMainWindow();
}

void TaskRunner::WindowViewable(const platform::TopLevelWindow& window) {
    if (window.processId == 0 || window.processId == ::getpid()) return;
    // Like the watch tick, nothing is placed in the edit state; the windows shown meanwhile are
    // looked at again once it is left.
    if (host_.IsEditState()) {
        shownWhileEditing_.insert(window.window);
        return;
    }
    if (IsPlaced(window.window, window.processId)) return;
    windowSeenAt_ = std::chrono::steady_clock::now();
    for (int row = 1; row < table_.RowCount(); ++row) {
        if (!BelongsToRow(window, row)) continue;
        if (!CaptionMode(row) && !PlacedAsItShows(window)) return;
        if (table_.Cell(ColProcessId, row).empty()) AdoptProcess(row, window.processId);
        // The main window comes up once a start, with the task's first window; a later window
        // of the task is left on top.
        const bool firstWindow = table_.Cell(ColWindowHandle, row).empty();
        TakeWindow(window.window, row, processes_.StartedHidden(held_.TrackedHandle(row)));
        if (firstWindow) host_.RaiseMainWindow();
        return;
    }
}

void TaskRunner::WindowDestroyed(platform::WindowHandle window) {
    std::erase_if(placedWindows_, [window](const auto& placed) { return placed.first == window; });
    shownWhileEditing_.erase(window);
}

void TaskRunner::PlaceWindowsShownWhileEditing() {
    if (shownWhileEditing_.empty()) return;
    const auto shown = std::exchange(shownWhileEditing_, {});
    for (const platform::TopLevelWindow& window : windows_.EnumWindows()) {
        if (window.viewable && shown.contains(window.window)) WindowViewable(window);
    }
}

// A task's main windows are placed as they show; its dialogs and tool windows, and its menus and
// tooltips, are left to it. A task whose windows are all dialogs that belong to no other window
// (a prompt such as zenity) has those placed, as long as it shows no main window. One drawing only
// override-redirect windows (a full-screen player) has those placed by the watch tick: such a
// window shows at once, while the managed windows it may come with wait for the window manager,
// so only the tick can tell whether the task has any.
bool TaskRunner::PlacedAsItShows(const platform::TopLevelWindow& window) {
    switch (window.role) {
        case platform::WindowRole::Main:
            return true;
        case platform::WindowRole::Dialog:
            return std::ranges::none_of(ViewableWindowsOf(window.processId), [](const auto& own) {
                return own.role == platform::WindowRole::Main;
            });
        case platform::WindowRole::Secondary:
        case platform::WindowRole::OverrideRedirect:
            return false;
    }
    return false;
}

std::vector<platform::TopLevelWindow> TaskRunner::ViewableWindowsOf(int processId) {
    std::vector<platform::TopLevelWindow> own;
    if (processId == 0) return own;  // 0 marks windows whose owner is unknown, not a process
    for (platform::TopLevelWindow& window : windows_.EnumWindows()) {
        if (window.processId == processId && window.viewable) own.push_back(std::move(window));
    }
    return own;
}

std::vector<platform::WindowHandle> TaskRunner::WindowsToPlace(
    const std::vector<platform::TopLevelWindow>& own) {
    std::vector<platform::WindowHandle> main;
    std::vector<platform::WindowHandle> dialogs;
    std::vector<platform::WindowHandle> bare;
    bool managed = false;
    for (const platform::TopLevelWindow& window : own) {
        switch (window.role) {
            case platform::WindowRole::Main:
                main.push_back(window.window);
                break;
            case platform::WindowRole::Dialog:
                dialogs.push_back(window.window);
                break;
            case platform::WindowRole::Secondary:
                managed = true;
                break;
            case platform::WindowRole::OverrideRedirect:
                bare.push_back(window.window);
                break;
        }
    }
    if (!main.empty()) return main;
    if (!dialogs.empty()) return dialogs;
    return managed ? std::vector<platform::WindowHandle>{} : bare;
}

bool TaskRunner::BelongsToRow(const platform::TopLevelWindow& window, int row) const {
    if (!held_.Holds(row)) return false;
    const std::string& processId = table_.Cell(ColProcessId, row);
    if (!processId.empty() && ProcessIdValue(processId) != window.processId) return false;
    if (!CaptionMode(row)) return !processId.empty();
    const std::string& text = table_.Cell(ColCaption, row);
    return !window.caption.empty() && window.caption.starts_with(text);
}

void TaskRunner::AdoptProcess(int row, int processId) {
    const platform::ProcessHandle handle = processes_.OpenProcess(processId);
    table_.SetCell(ColProcessId, row, std::to_string(processId));
    table_.SetCell(ColProcessHandle, row, std::to_string(handle));
    held_.Hold(row, processId, handle);
}

void TaskRunner::TakeWindow(platform::WindowHandle window, int row, bool startedHidden) {
    const int processId = ProcessIdValue(table_.Cell(ColProcessId, row));
    table_.SetCell(ColWindowHandle, row, std::to_string(window));
    placedWindows_.emplace_back(window, processId);
    if (!CaptionMode(row)) {
        // The handle list shows the windows of the task placed so far.
        handleList_.clear();
        for (const auto& [placed, owner] : placedWindows_) {
            if (owner == processId) handleList_.push_back(std::to_string(placed));
        }
    }
    // Withdrawn first, so that nothing of it shows on the way.
    if (startedHidden && SettingShowsWindows(table_.Cell(ColWindowSetting, row)))
        windows_.HideWindow(window);
    PlaceTaskWindow(window, row);
    events_->WindowPlaced(std::chrono::steady_clock::now() - windowSeenAt_);
}

bool TaskRunner::IsPlaced(platform::WindowHandle window, int processId) const {
    const std::pair placed{window, processId};
    return std::find(placedWindows_.begin(), placedWindows_.end(), placed) != placedWindows_.end();
}

void TaskRunner::ForgetPlacedWindowsOfEndedTasks() {
    std::unordered_set<int> followed;
    for (int row = 1; row < table_.RowCount(); ++row) {
        if (table_.Cell(ColRunState, row) == kRunning)
            followed.insert(ProcessIdValue(table_.Cell(ColProcessId, row)));
    }
    std::erase_if(placedWindows_,
                  [&](const auto& placed) { return !followed.contains(placed.second); });
}

void TaskRunner::AwaitWindow(int row, int processId) {
    std::erase_if(awaitedWindows_,
                  [row](const AwaitedWindow& awaited) { return awaited.row == row; });
    if (processId == 0) return;  // nothing started, as its notice has said
    awaitedWindows_.push_back(
        {row, table_.Cell(ColApplication, row), processId, watchTickCount_ + kWindowDueTicks});
}

void TaskRunner::ReportUnplacedWindows() {
    // Without an X display nothing is placed at all, and the main window already says so.
    if (!windows_.Available()) {
        awaitedWindows_.clear();
        return;
    }
    std::vector<int> unplaced;
    std::erase_if(awaitedWindows_, [&](const AwaitedWindow& awaited) {
        const int row = awaited.row;
        const bool waiting = row < table_.RowCount() && table_.Cell(ColRunState, row) == kRunning &&
                             table_.Cell(ColWindowHandle, row).empty() &&
                             table_.Cell(ColApplication, row) == awaited.application;
        if (waiting && watchTickCount_ < awaited.dueTick) return false;
        // An audio player or a script shows no window, and needs none.
        if (waiting &&
            (windows_.MayMissTaskWindows() || !ViewableWindowsOf(awaited.processId).empty()))
            unplaced.push_back(row);
        return true;
    });
    for (const int row : unplaced) {
        host_.SetStatusLine(EventLine(kUnplacedNoticeText, row));
        AppendStatusLineToHistory();
    }
}

bool TaskRunner::DetectEnd(int row) {
    const platform::ProcessHandle handle = held_.TrackedHandle(row);
    if (handle == 0) return false;  // not ours: the query counts as failed
    const platform::ExitQuery query = processes_.GetExitCodeProcess(handle);
    if (!query.succeeded || query.running) return false;
    const TaskName name = held_.NameOf(row);
    held_.Release(row);
    host_.SetStatusLine(EventLine(kExitEventText, name));
    ClearTracking(row);
    events_->TaskEnded(TaskEndCause::Exited);
    AppendStatusLineToHistory();
    return true;
}

void TaskRunner::CountRunTime(int row) {
    const std::string runTime =
        SecondsToTimeText(TimeTextToSeconds(table_.Cell(ColRunTime, row)) + 1);
    table_.SetCell(ColRunTime, row, runTime);
    if (table_.Cell(ColReminder, row) != runTime) return;
    host_.ShowReminder({row, table_.Cell(ColDescription, row), runTime});
}

void TaskRunner::StartTask(int row) {
    const std::string application = table_.Cell(ColApplication, row);
    table_.SetCell(ColRunState, row, std::string(kRunning));
    host_.StopWatchTimer();
    const bool showWindow = table_.Cell(ColWindowSetting, row) != kHiddenStart;
    const bool launched = LaunchProcess(application, table_.Cell(ColParameters, row), showWindow);
    std::optional<std::chrono::nanoseconds> latency;
    if (launched && scheduledSecondBegan_)
        latency = std::chrono::steady_clock::now() - *scheduledSecondBegan_;
    events_->TaskStarted(launched, latency);
    if (CaptionMode(row)) {
        // The task is followed through whichever process shows the caption; the created
        // process's own handle is never used.
        if (lastCreation_.processHandle != 0) processes_.CloseHandle(lastCreation_.processHandle);
        table_.SetCell(ColProcessId, row, "");
        table_.SetCell(ColProcessHandle, row, "");
        held_.Hold(row, 0, 0);
    } else {
        // A failed launch leaves the record zeroed: the row then holds no process at all,
        // never an earlier launch's.
        const int processId = lastCreation_.processId;
        const platform::ProcessHandle handle = processId == 0 ? 0 : lastCreation_.processHandle;
        table_.SetCell(ColProcessId, row, processId == 0 ? "" : std::to_string(processId));
        table_.SetCell(ColWindowHandle, row, "");
        table_.SetCell(ColProcessHandle, row, handle == 0 ? "" : std::to_string(handle));
        held_.Hold(row, processId, handle);
    }
    AwaitWindow(row, lastCreation_.processId);
    // The thread handle is the process handle here, so it needs no closing of its own.
    host_.StartWatchTimer();
    host_.SetStatusLine(EventLine(kStartEventText, row));
    AppendStatusLineToHistory();
    if (launched) return;
    host_.SetStatusLine(HistoryLineText(NowTimeText(), kLaunchFailedNoticeText, application,
                                        processes_.LastCreateError()));
    AppendStatusLineToHistory();
}

bool TaskRunner::LaunchProcess(const std::string& applicationFile, const std::string& parameters,
                               bool showWindow) {
    lastCreation_ = {};
    return processes_.CreateProcess(applicationFile + " " + parameters, host_.ProgramFolder(),
                                    showWindow, lastCreation_);
}

bool TaskRunner::CaptionMode(int row) const {
    return !TrimBlanks(table_.Cell(ColCaption, row)).empty();
}

void TaskRunner::RestartTask(int row) {
    const auto sameTask = [&](const CarriedTask& orphan) {
        return RowRunsTask(table_, row, orphan.task);
    };
    if (table_.Cell(ColExclusive, row) == kYes) {
        EndAllTasks(TaskEndCause::Exclusive);
    } else {
        EndTask(row, TaskEndCause::Restart);
        // The same task cut loose from its row (by a load, a delete) is ended as the row's own.
        EndOrphans(held_.TakeOrphansIf(sameTask), TaskEndCause::Restart);
    }
    // An end the system refused leaves the task running and followed, as its history line says:
    // a second copy is not started beside it.
    if (held_.TrackedHandle(row) != 0 || OrphanRuns(sameTask)) return;
    StartTask(row);
}

bool TaskRunner::OrphanRuns(const std::function<bool(const CarriedTask&)>& which) {
    std::vector<CarriedTask> found = held_.TakeOrphansIf(which);
    const bool runs = !found.empty();
    for (CarriedTask& orphan : found) held_.KeepOrphan(std::move(orphan));
    return runs;
}

void TaskRunner::btnPlayFlashClick() {
    RestartTask(table_.CurrentRow());
}

void TaskRunner::btnStopFlashClick() {
    EndTask(table_.CurrentRow());
}

TaskRunner::FoundWindow TaskRunner::FindWindowByCaption(const std::string& text) {
    if (text.empty()) return {};
    // The program's own windows are never a task's: ending such a "task" would end the program.
    // Nor is a window whose owner cannot be told: it could not be followed, and taking it would
    // hide a matching window of a known process further down.
    const int ownProcessId = ::getpid();
    // A window that has never been shown (a toolkit's leader window) is never a task's.
    for (const platform::TopLevelWindow& window : windows_.EnumWindows()) {
        if (!window.viewable) continue;
        if (window.processId == ownProcessId || window.processId == 0) continue;
        if (!window.caption.empty() && window.caption.starts_with(text)) {
            return {window.processId, window.window};
        }
    }
    return {};
}

platform::WindowHandle TaskRunner::FindProcessWindows(int processId) {
    handleList_.clear();
    platform::WindowHandle last = 0;
    for (const platform::TopLevelWindow& window : ViewableWindowsOf(processId)) {
        last = window.window;
        handleList_.push_back(std::to_string(window.window));
    }
    return last;
}

void TaskRunner::PlaceTaskWindow(platform::WindowHandle window, int row) {
    const std::vector<platform::Rect> monitors = windows_.Monitors();
    if (monitors.empty()) return;
    const platform::Rect rect =
        windows_.GetWindowRect(window).value_or(platform::Rect{0, 0, 10, 10});
    const WindowPlacement placement = PlaceOnMonitor(rect, monitors, table_.Cell(ColMonitor, row),
                                                     table_.Cell(ColWindowSetting, row));
    switch (placement.kind) {
        case WindowPlacement::Kind::Move:
            windows_.MoveWindow(window, placement.rect.left, placement.rect.top);
            windows_.RaiseWindow(window);
            break;
        case WindowPlacement::Kind::Fill:
            windows_.MoveResizeWindow(window, placement.rect);
            break;
        case WindowPlacement::Kind::Hide:
            windows_.HideWindow(window);
            windows_.MoveResizeWindow(window, placement.rect);
            break;
    }
}

void TaskRunner::EndTask(int row, TaskEndCause cause) {
    const int processId = ProcessIdValue(table_.Cell(ColProcessId, row));
    if (table_.Cell(ColRunState, row) != kRunning || processId == 0) return;
    if (!held_.Holds(row)) {
        ClearTracking(row);  // a copy of a running row: nothing ran here, nothing is logged
        return;
    }
    const platform::ProcessHandle handle = held_.TrackedHandle(row);
    if (handle != 0 && !KillProcess(handle, table_.Cell(ColApplication, row))) return;
    const TaskName name = held_.NameOf(row);
    held_.Release(row);
    host_.SetStatusLine(EventLine(kEndEventText, name));
    ClearTracking(row);
    events_->TaskEnded(cause);
    AppendStatusLineToHistory();
}

void TaskRunner::EndAllTasks(TaskEndCause cause) {
    held_.CutLooseTasksNoRowHolds();
    const int taskRows = table_.RowCount() - 1;
    for (int row = 1; row <= taskRows; ++row) EndTask(row, cause);
    EndOrphans(held_.TakeAllOrphans(), cause);
}

bool TaskRunner::KillProcess(platform::ProcessHandle handle, std::string_view application) {
    platform::EnableDebugPrivilege(true);
    if (processes_.TerminateProcess(handle, kTerminatedExitCode)) return true;
    const std::string refusal = processes_.LastTerminateError();
    if (refusal.empty()) return true;  // it had ended already
    host_.SetStatusLine(
        HistoryLineText(NowTimeText(), kEndRefusedNoticeText, application, refusal));
    events_->TaskEndRefused();
    AppendStatusLineToHistory();
    return false;
}

void TaskRunner::BeginTableLoad() {
    held_.BeginTableLoad();
}

void TaskRunner::EndTableLoad() {
    held_.EndTableLoad();
}

void TaskRunner::EndOrphansAt(int now) {
    EndOrphans(held_.TakeOrphansIf([now](const CarriedTask& orphan) {
        const std::string& end = orphan.task.endTime;
        return !end.empty() && TimeTextToSeconds(end) == now;
    }),
               TaskEndCause::EndTime);
}

void TaskRunner::DetectOrphanEnds() {
    const std::vector<CarriedTask> ended = held_.TakeOrphansIf([this](const CarriedTask& orphan) {
        if (orphan.handle == 0) return false;
        const platform::ExitQuery query = processes_.GetExitCodeProcess(orphan.handle);
        return query.succeeded && !query.running;
    });
    for (const CarriedTask& orphan : ended) {
        processes_.CloseHandle(orphan.handle);
        host_.SetStatusLine(EventLine(kExitEventText, orphan.name));
        events_->TaskEnded(TaskEndCause::Exited);
        AppendStatusLineToHistory();
    }
}

void TaskRunner::EndOrphans(std::vector<CarriedTask> orphans, TaskEndCause cause) {
    for (CarriedTask& orphan : orphans) {
        if (orphan.handle != 0) {
            if (!KillProcess(orphan.handle, orphan.task.application)) {
                held_.KeepOrphan(std::move(orphan));
                continue;
            }
            processes_.CloseHandle(orphan.handle);
        }
        host_.SetStatusLine(EventLine(kEndEventText, orphan.name));
        events_->TaskEnded(cause);
        AppendStatusLineToHistory();
    }
}

void TaskRunner::MyEnumWindow() {
    FindProcessWindows(lastCreation_.processId);
}

void TaskRunner::MyGetWindow() {
    handleList_.clear();
    for (const platform::TopLevelWindow& window : windows_.EnumWindows()) {
        // There are no threads of their own here: a window's thread id is its process id.
        if (window.processId != 0 && window.processId == lastCreation_.processId &&
            window.processId == lastCreation_.threadId) {
            handleList_.push_back(std::string(kFoundMark) + std::to_string(window.window));
        }
        if (!window.caption.empty()) handleList_.push_back(window.caption);
    }
}

void TaskRunner::ClearTracking(int row) {
    table_.SetCell(ColProcessId, row, "");
    table_.SetCell(ColWindowHandle, row, "");
    table_.SetCell(ColProcessHandle, row, "");
    table_.SetCell(ColRunState, row, std::string(kStopped));
}

std::string TaskRunner::EventLine(std::string_view event, int row) const {
    return HistoryLineText(NowTimeText(), event, table_.Cell(ColApplication, row),
                           table_.Cell(ColDescription, row));
}

std::string TaskRunner::EventLine(std::string_view event, const TaskName& name) const {
    return HistoryLineText(NowTimeText(), event, name.application, name.description);
}

void TaskRunner::AppendStatusLineToHistory() {
    host_.AppendHistoryLine(host_.StatusLineText());
}

}  // namespace vardo
