#include "TaskRunner.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <iterator>
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
constexpr std::string_view kMaximise = "最大";
constexpr std::string_view kFoundMark = "=============Finded:";
constexpr int kTimePanel = 3;
constexpr int kWatchTickPanel = 4;
constexpr std::uint32_t kTerminatedExitCode = 1;
// Watch ticks, one a second, within which a started task is to show a window.
constexpr int kWindowDueTicks = 10;

// Decimal value of a cell, 0 when it is not a number (leading blanks allowed).
std::int64_t DecimalValue(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return 0;
    return value;
}

int ProcessIdValue(std::string_view text) {
    const std::int64_t value = DecimalValue(text);
    return value > 0 && value <= INT32_MAX ? static_cast<int>(value) : 0;
}

platform::ProcessHandle HandleValue(std::string_view text) {
    return ProcessIdValue(text);
}

// How much of two rectangles lies on both.
long long OverlapArea(const platform::Rect& a, const platform::Rect& b) {
    const long long width = std::min(a.left + a.width, b.left + b.width) - std::max(a.left, b.left);
    const long long height = std::min(a.top + a.height, b.top + b.height) - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

// The monitor a window lies on: the one it covers most; the first when it covers none.
platform::Rect MonitorOf(const platform::Rect& window,
                         const std::vector<platform::Rect>& monitors) {
    platform::Rect best = monitors.front();
    long long bestArea = 0;
    for (const platform::Rect& monitor : monitors) {
        const long long area = OverlapArea(window, monitor);
        if (area > bestArea) {
            best = monitor;
            bestArea = area;
        }
    }
    return best;
}

// Keeps a value within [low, high]; low wins when the range is empty (a window larger than the
// monitor keeps its top-left corner on it).
int Within(int value, int low, int high) {
    return std::max(low, std::min(value, high));
}

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
    : table_(table), host_(host), processes_(processes), windows_(windows), events_(&noEvents) {
    windows_.SetListener(this);
}

void TaskRunner::SetEvents(TaskRunnerEvents* events) {
    events_ = events ? events : &noEvents;
}

TaskRunner::~TaskRunner() {
    windows_.SetListener(nullptr);
    ReleaseAllHandles();
}

void TaskRunner::ScheduleTick() {
    if (host_.IsEditState()) {
        // The seconds of the edit state are not caught up once it is left.
        sequencer_.Resume();
        return;
    }
    // A message box opened from inside a tick (a history write failing) runs a nested event
    // loop; the seconds it would process are caught up by the next tick instead.
    if (inScheduleTick_) return;
    const TickInProgress tick(inScheduleTick_);
    // One reading for both, so panel 3 never shows a second other than the one scanned.
    const LocalTime now = CurrentClock().Now();
    host_.SetStatusText(kTimePanel, SecondsToTimeText(TimeOfDaySeconds(now)));
    for (const LocalSeconds second : sequencer_.Advance(now)) {
        scheduledSecond_ = second;
        ScanSchedule(TimeOfDaySeconds(second));
        scheduledSecond_.reset();
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
    for (int row = 1; row < table_.RowCount(); ++row) {
        bool skipRest = false;
        DiscoverWindows(row, skipRest);
        if (skipRest) continue;
        if (table_.Cell(ColRunState, row) != kRunning || table_.Cell(ColProcessId, row).empty()) {
            continue;
        }
        if (!DetectEnd(row)) CountRunTime(row);
    }
    ReportUnplacedWindows();
    DetectOrphanEnds();
    ReleaseUntrackedHandles();
    ForgetPlacedWindowsOfEndedTasks();
}

void TaskRunner::DiscoverWindows(int row, bool& skipRest) {
    if (table_.Cell(ColRunState, row) == kRunning && table_.Cell(ColProcessId, row).empty()) {
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
    const platform::WindowHandle last = FindProcessWindows(processId);
    if (last == 0) return;
    // X has no start-up show state: a hidden start's windows are hidden once found, whatever
    // the row's setting has become since.
    const bool startedHidden = processes_.StartedHidden(TrackedHandle(row));
    const std::vector<std::string> found = handleList_;
    for (const std::string& line : found) {
        const auto window = static_cast<platform::WindowHandle>(DecimalValue(line));
        if (window == 0 || IsPlaced(window, processId)) continue;
        TakeWindow(window, row, startedHidden);
    }
    table_.SetCell(ColWindowHandle, row, std::to_string(last));
    handleList_ = found;
    host_.RaiseMainWindow();
}

void TaskRunner::WindowViewable(const platform::TopLevelWindow& window) {
    // Like the watch tick, nothing happens in the edit state; the tick's search finds the
    // window once it is left.
    if (host_.IsEditState() || window.processId == 0 || window.processId == ::getpid()) return;
    if (IsPlaced(window.window, window.processId)) return;
    windowSeenAt_ = std::chrono::steady_clock::now();
    for (int row = 1; row < table_.RowCount(); ++row) {
        if (!BelongsToRow(window, row)) continue;
        if (table_.Cell(ColProcessId, row).empty()) AdoptProcess(row, window.processId);
        TakeWindow(window.window, row, processes_.StartedHidden(TrackedHandle(row)));
        host_.RaiseMainWindow();
        return;
    }
}

bool TaskRunner::BelongsToRow(const platform::TopLevelWindow& window, int row) const {
    if (table_.Cell(ColRunState, row) != kRunning) return false;
    const std::string& processId = table_.Cell(ColProcessId, row);
    if (!processId.empty() && ProcessIdValue(processId) != window.processId) return false;
    if (!CaptionMode(row)) return !processId.empty();
    const std::string& text = table_.Cell(ColCaption, row);
    return !window.caption.empty() && window.caption.starts_with(text);
}

void TaskRunner::AdoptProcess(int row, int processId) {
    table_.SetCell(ColProcessId, row, std::to_string(processId));
    const platform::ProcessHandle handle =
        HoldHandle(processes_.OpenProcess(processId), processId, row);
    table_.SetCell(ColProcessHandle, row, std::to_string(handle));
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
    const std::string& setting = table_.Cell(ColWindowSetting, row);
    const bool settingHides =
        GetField(setting, ",", 1) != kYes && GetField(setting, ",", 2) != kMaximise;
    if (startedHidden && !settingHides) windows_.HideWindow(window);
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

void TaskRunner::AwaitWindow(int row) {
    std::erase_if(awaitedWindows_,
                  [row](const AwaitedWindow& awaited) { return awaited.row == row; });
    awaitedWindows_.push_back(
        {row, table_.Cell(ColApplication, row), watchTickCount_ + kWindowDueTicks});
}

void TaskRunner::ReportUnplacedWindows() {
    // Without an X display nothing is placed at all, and the main window already says so.
    if (!windows_.Available()) {
        awaitedWindows_.clear();
        return;
    }
    // Taken out of the list before anything is logged: a history write's error box runs a nested
    // event loop, whose ticks must not report them again.
    std::vector<int> unplaced;
    std::erase_if(awaitedWindows_, [&](const AwaitedWindow& awaited) {
        const int row = awaited.row;
        const bool waiting = row < table_.RowCount() && table_.Cell(ColRunState, row) == kRunning &&
                             table_.Cell(ColWindowHandle, row).empty() &&
                             table_.Cell(ColApplication, row) == awaited.application;
        if (waiting && watchTickCount_ < awaited.dueTick) return false;
        if (waiting) unplaced.push_back(row);
        return true;
    });
    for (const int row : unplaced) {
        host_.SetStatusLine(EventLine(kUnplacedNoticeText, row));
        AppendStatusLineToHistory();
    }
}

bool TaskRunner::DetectEnd(int row) {
    const platform::ProcessHandle handle = TrackedHandle(row);
    if (handle == 0) return false;  // not ours: the query counts as failed
    const platform::ExitQuery query = processes_.GetExitCodeProcess(handle);
    if (!query.succeeded || query.running) return false;
    ReleaseHandle(handle);
    host_.SetStatusLine(EventLine(kExitEventText, row));
    // The row is stopped before the history write, whose error box runs a nested event loop: a
    // schedule tick in there must neither end this run again nor lose a run it starts.
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
    host_.ShowReminder("  提示：任务" + std::to_string(row) + "\n\r【" +
                       table_.Cell(ColDescription, row) + "】\n\r已经运行了：" + runTime);
}

void TaskRunner::StartTask(int row) {
    const std::string application = table_.Cell(ColApplication, row);
    table_.SetCell(ColRunState, row, std::string(kRunning));
    host_.StopWatchTimer();
    const bool showWindow = table_.Cell(ColWindowSetting, row) != kHiddenStart;
    const bool launched = LaunchProcess(application, table_.Cell(ColParameters, row), showWindow);
    std::optional<std::chrono::milliseconds> latency;
    if (launched && scheduledSecond_) latency = CurrentClock().Now() - *scheduledSecond_;
    events_->TaskStarted(launched, latency);
    if (CaptionMode(row)) {
        // The task is followed through whichever process shows the caption; the created
        // process's own handle is never used.
        if (lastCreation_.processHandle != 0) processes_.CloseHandle(lastCreation_.processHandle);
    } else {
        // A failed launch leaves the record zeroed: the row then holds no process at all,
        // never an earlier launch's.
        const int processId = lastCreation_.processId;
        const platform::ProcessHandle handle =
            processId == 0 ? 0 : HoldHandle(lastCreation_.processHandle, processId, row);
        table_.SetCell(ColProcessId, row, processId == 0 ? "" : std::to_string(processId));
        table_.SetCell(ColWindowHandle, row, "");
        table_.SetCell(ColProcessHandle, row, handle == 0 ? "" : std::to_string(handle));
    }
    AwaitWindow(row);
    // The thread handle is the process handle here, so it needs no closing of its own.
    // The watch is switched on again before the history write: that write's error box waits for
    // the operator, and the watch must keep following the tasks meanwhile.
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
    if (table_.Cell(ColExclusive, row) == kYes) {
        EndAllTasks(TaskEndCause::Exclusive);
    } else {
        EndTask(row, TaskEndCause::Restart);
    }
    StartTask(row);
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
    if (processId == 0) return last;  // 0 marks windows whose owner is unknown, not a process
    for (const platform::TopLevelWindow& window : windows_.EnumWindows()) {
        if (window.processId != processId || !window.viewable) continue;
        last = window.window;
        handleList_.push_back(std::to_string(window.window));
    }
    return last;
}

void TaskRunner::PlaceTaskWindow(platform::WindowHandle window, int row) {
    const platform::Rect rect =
        windows_.GetWindowRect(window).value_or(platform::Rect{0, 0, 10, 10});
    const std::vector<platform::Rect> monitors = windows_.Monitors();
    if (monitors.empty()) return;
    platform::Rect monitor = monitors.front();
    const std::string& monitorText = table_.Cell(ColMonitor, row);
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        if (monitorText == std::to_string(i + 1)) monitor = monitors[i];
    }
    // The window's place within the monitor it lies on, carried over to the row's monitor. A
    // window on a monitor at the desktop's origin is shifted by the row's monitor's origin.
    const platform::Rect home = MonitorOf(rect, monitors);
    const int left = monitor.left + rect.left - home.left;
    const int top = monitor.top + rect.top - home.top;
    const std::string& setting = table_.Cell(ColWindowSetting, row);
    if (GetField(setting, ",", 1) == kYes) {
        windows_.MoveWindow(window,
                            Within(left, monitor.left, monitor.left + monitor.width - rect.width),
                            Within(top, monitor.top, monitor.top + monitor.height - rect.height));
        windows_.RaiseWindow(window);
    } else if (GetField(setting, ",", 2) == kMaximise) {
        windows_.MoveResizeWindow(window, monitor);
    } else {
        windows_.HideWindow(window);
        windows_.MoveResizeWindow(window, {left, top, monitor.width, monitor.height});
    }
}

void TaskRunner::EndTask(int row, TaskEndCause cause) {
    const int processId = ProcessIdValue(table_.Cell(ColProcessId, row));
    if (table_.Cell(ColRunState, row) != kRunning || processId == 0) return;
    if (const platform::ProcessHandle handle = TrackedHandle(row); handle != 0) {
        KillProcess(handle);
        ReleaseHandle(handle);
    }
    host_.SetStatusLine(EventLine(kEndEventText, row));
    ClearTracking(row);
    events_->TaskEnded(cause);
    AppendStatusLineToHistory();
}

void TaskRunner::EndAllTasks(TaskEndCause cause) {
    const int taskRows = table_.RowCount() - 1;
    for (int row = 1; row <= taskRows; ++row) EndTask(row, cause);
    EndOrphans(std::exchange(orphans_, {}), cause);
}

void TaskRunner::KillProcess(platform::ProcessHandle handle) {
    platform::EnableDebugPrivilege(true);
    processes_.TerminateProcess(handle, kTerminatedExitCode);
}

void TaskRunner::ReleaseAllHandles() {
    for (const auto& [handle, held] : heldHandles_) processes_.CloseHandle(handle);
    heldHandles_.clear();
    for (const CarriedTask& orphan : std::exchange(orphans_, {})) {
        if (orphan.handle != 0) processes_.CloseHandle(orphan.handle);
    }
}

void TaskRunner::BeginTableLoad() {
    loadingTasks_.clear();
    for (RunningTask& task : RunningTasksOf(table_)) {
        const platform::ProcessHandle handle = TrackedHandle(task.row);
        loadingTasks_.push_back({std::move(task), handle});
    }
}

void TaskRunner::EndTableLoad() {
    std::vector<CarriedTask> carried = std::exchange(loadingTasks_, {});
    std::vector<RunningTask> tasks;
    for (const CarriedTask& task : carried) tasks.push_back(task.task);
    const std::vector<int> rows = HandOverRunningTasks(tasks, table_);
    for (std::size_t i = 0; i < carried.size(); ++i) {
        CarriedTask& task = carried[i];
        if (rows[i] != 0) {
            if (task.handle != 0) heldHandles_[task.handle].row = rows[i];
            continue;
        }
        // A caption-mode task whose window was never found has no process to end.
        if (ProcessIdValue(task.task.ProcessIdCell()) == 0) continue;
        if (task.handle != 0) heldHandles_.erase(task.handle);  // the orphan holds it from now on
        orphans_.push_back(std::move(task));
    }
    ReleaseUntrackedHandles();
}

std::vector<TaskRunner::CarriedTask> TaskRunner::TakeOrphansIf(
    const std::function<bool(const CarriedTask&)>& which) {
    const auto taken = std::stable_partition(orphans_.begin(), orphans_.end(),
                                             [&](const CarriedTask& task) { return !which(task); });
    std::vector<CarriedTask> result(std::make_move_iterator(taken),
                                    std::make_move_iterator(orphans_.end()));
    orphans_.erase(taken, orphans_.end());
    return result;
}

void TaskRunner::EndOrphansAt(int now) {
    EndOrphans(TakeOrphansIf([now](const CarriedTask& orphan) {
                   const std::string& end = orphan.task.endTime;
                   return !end.empty() && TimeTextToSeconds(end) == now;
               }),
               TaskEndCause::EndTime);
}

// The tasks are taken out of the list before anything is logged: a history write's error box
// runs a nested event loop, whose ticks must not see them again.
void TaskRunner::DetectOrphanEnds() {
    const std::vector<CarriedTask> ended = TakeOrphansIf([this](const CarriedTask& orphan) {
        if (orphan.handle == 0) return false;
        const platform::ExitQuery query = processes_.GetExitCodeProcess(orphan.handle);
        return query.succeeded && !query.running;
    });
    for (const CarriedTask& orphan : ended) {
        processes_.CloseHandle(orphan.handle);
        host_.SetStatusLine(EventLine(kExitEventText, orphan.task));
        events_->TaskEnded(TaskEndCause::Exited);
        AppendStatusLineToHistory();
    }
}

void TaskRunner::EndOrphans(std::vector<CarriedTask> orphans, TaskEndCause cause) {
    for (const CarriedTask& orphan : orphans) {
        if (orphan.handle != 0) {
            KillProcess(orphan.handle);
            processes_.CloseHandle(orphan.handle);
        }
        host_.SetStatusLine(EventLine(kEndEventText, orphan.task));
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

platform::ProcessHandle TaskRunner::HoldHandle(platform::ProcessHandle handle, int processId,
                                               int row) {
    if (handle == 0) return 0;
    heldHandles_[handle] = {processId, row};
    return handle;
}

bool TaskRunner::HoldsOwnHandle(int row, platform::ProcessHandle handle, int processId) const {
    return row >= 1 && row < table_.RowCount() && table_.Cell(ColRunState, row) == kRunning &&
           HandleValue(table_.Cell(ColProcessHandle, row)) == handle &&
           ProcessIdValue(table_.Cell(ColProcessId, row)) == processId;
}

platform::ProcessHandle TaskRunner::TrackedHandle(int row) {
    const platform::ProcessHandle handle = HandleValue(table_.Cell(ColProcessHandle, row));
    const int processId = ProcessIdValue(table_.Cell(ColProcessId, row));
    if (handle == 0 || processId == 0) return 0;
    const auto held = heldHandles_.find(handle);
    if (held == heldHandles_.end() || held->second.processId != processId) return 0;
    if (processes_.ProcessIdOfHandle(handle) != processId) return 0;
    if (held->second.row != row) {
        // Rows move while tasks run (editing, dragging). When the row the handle was handed to
        // still shows it, this row is a copy; otherwise this row is where that task went.
        if (HoldsOwnHandle(held->second.row, handle, processId)) return 0;
        held->second.row = row;
    }
    return handle;
}

void TaskRunner::ReleaseUntrackedHandles() {
    // Runs after every row's end detection, which moved each handle to the row now showing it;
    // a handle no row shows any more (its row was deleted) is closed.
    std::erase_if(heldHandles_, [this](const auto& entry) {
        const auto& [handle, held] = entry;
        if (HoldsOwnHandle(held.row, handle, held.processId)) return false;
        processes_.CloseHandle(handle);
        return true;
    });
}

void TaskRunner::ReleaseHandle(platform::ProcessHandle handle) {
    if (heldHandles_.erase(handle) != 0) processes_.CloseHandle(handle);
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

std::string TaskRunner::EventLine(std::string_view event, const RunningTask& task) const {
    return HistoryLineText(NowTimeText(), event, task.application, task.description);
}

void TaskRunner::AppendStatusLineToHistory() {
    host_.AppendHistoryLine(host_.StatusLineText());
}

}  // namespace vardo
