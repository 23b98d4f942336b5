// The runner against the real platform: real child processes (the X test client) and real
// windows on the X test bed's two monitors, with and without a window manager.
#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <thread>
#include <utility>

#include "ChildWatch.h"
#include "PosixProcesses.h"
#include "RunnerFakes.h"
#include "TaskRunner.h"
#include "TaskTable.h"
#include "TempFolder.h"
#include "WindowEventLoop.h"
#include "X11Windows.h"

// Last: Xlib defines macros (None, Bool, Status) that clash with the headers above.
#include <X11/Xlib.h>
#include <poll.h>

namespace vardo {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// Forwards to the real windows and remembers the first rectangle read of each window, so a
// test can tell where a window stood before the runner placed it.
class RecordingWindows final : public platform::Windows {
  public:
    explicit RecordingWindows(platform::Windows& real) : real_(real) {}
    bool Available() const override { return real_.Available(); }
    std::vector<platform::TopLevelWindow> EnumWindows() override { return real_.EnumWindows(); }
    std::optional<platform::Rect> GetWindowRect(platform::WindowHandle window) override {
        auto rect = real_.GetWindowRect(window);
        if (rect) firstRects.try_emplace(window, *rect);
        return rect;
    }
    void MoveWindow(platform::WindowHandle w, int left, int top) override {
        real_.MoveWindow(w, left, top);
    }
    void MoveResizeWindow(platform::WindowHandle w, const platform::Rect& r) override {
        real_.MoveResizeWindow(w, r);
    }
    void RaiseWindow(platform::WindowHandle w) override { real_.RaiseWindow(w); }
    void HideWindow(platform::WindowHandle w) override { real_.HideWindow(w); }
    std::vector<platform::Rect> Monitors() override { return real_.Monitors(); }
    int EventDescriptor() override { return real_.EventDescriptor(); }
    void ProcessPendingEvents() override { real_.ProcessPendingEvents(); }
    std::optional<TimePoint> NextDeadline() const override { return real_.NextDeadline(); }
    void SetListener(platform::WindowListener* listener) override { real_.SetListener(listener); }

    std::map<platform::WindowHandle, platform::Rect> firstRects;

  private:
    platform::Windows& real_;
};

// Watches a process's windows from a process of its own (an X connection and Xlib error handling
// of its own, independent of the runner's), every 5 ms, and measures the longest stretch for
// which any of them was seen viewable.
class ShownWatcher {
  public:
    struct Result {
        int looks = 0;
        bool everListed = false;
        long longestShownMs = 0;
    };

    ShownWatcher(const std::string& display, int processId)
        : watch_([&](int stop, int result) {
              const Result seen = Watch(display, processId, stop);
              [[maybe_unused]] const auto written = write(result, &seen, sizeof seen);
          }) {}

    Result Stop() {
        const std::string written = watch_.Finish();
        Result seen;
        if (written.size() == sizeof seen) std::memcpy(&seen, written.data(), sizeof seen);
        return seen;
    }

  private:
    static Result Watch(const std::string& display, int processId, int stop) {
        Result seen;
        platform::X11Windows eye(display);
        // Since when the windows have been seen shown; the epoch while they are not.
        std::chrono::steady_clock::time_point shownSince{};
        for (;;) {
            pollfd entry{stop, POLLIN, 0};
            if (poll(&entry, 1, 0) == 1) return seen;
            bool shown = false;
            for (const auto& window : eye.EnumWindows()) {
                if (window.processId != processId) continue;
                seen.everListed = true;
                shown |= window.viewable;
            }
            const auto now = std::chrono::steady_clock::now();
            if (!shown) shownSince = {};
            if (shown && shownSince == std::chrono::steady_clock::time_point{}) shownSince = now;
            if (shown) {
                const long shownMs =
                    std::chrono::duration_cast<std::chrono::milliseconds>(now - shownSince).count();
                seen.longestShownMs = std::max(seen.longestShownMs, shownMs);
            }
            ++seen.looks;
            std::this_thread::sleep_for(5ms);
        }
    }

    test::ChildWatch watch_;
};

class TaskRunnerX11Test : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        const char* display = std::getenv(GetParam());
        ASSERT_TRUE(display != nullptr && *display != '\0')
            << GetParam() << " is not set: the X test bed is not running (scripts/test.sh)";
        displayName_ = display;
        xwindows_ = std::make_unique<platform::X11Windows>(displayName_);
        ASSERT_TRUE(xwindows_->Available()) << "cannot open " << displayName_;
        xlib_ = XOpenDisplay(displayName_.c_str());
        windows_ = std::make_unique<RecordingWindows>(*xwindows_);
        host_.programFolder = folder_.Slash();
        runner_ = std::make_unique<TaskRunner>(table_, host_, processes_, *windows_);
    }

    void TearDown() override {
        if (runner_) runner_->EndAllTasks();
        // A failed launch leaves 0, and kill(0) would signal the whole process group.
        for (const int pid : strayProcesses_) {
            if (pid > 0) ::kill(pid, SIGKILL);
        }
        if (xlib_ != nullptr) XCloseDisplay(xlib_);
    }

    // A row running the X test client with the given options.
    void SetClientRow(int row, const std::string& options, const std::string& setting,
                      const std::string& monitor, const std::string& caption = {}) {
        if (table_.RowCount() <= row) table_.SetRowCount(row + 1);
        table_.SetCell(ColApplication, row, VARDO_XTESTCLIENT);
        table_.SetCell(ColParameters, row, "--display " + displayName_ + " " + options);
        table_.SetCell(ColDescription, row, "client " + std::to_string(row));
        table_.SetCell(ColCaption, row, caption);
        table_.SetCell(ColExclusive, row, "否");
        table_.SetCell(ColWindowSetting, row, setting);
        table_.SetCell(ColMonitor, row, monitor);
    }

    // Runs watch ticks every 50 ms, and the window events in between, until the condition
    // holds or 10 s have passed.
    bool WatchUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (std::chrono::steady_clock::now() < deadline) {
            runner_->WatchTick();
            if (test::RunWindowEventsUntil(*windows_, done, 50ms)) return true;
        }
        return false;
    }

    bool Placed(int row) { return !table_.Cell(ColWindowHandle, row).empty(); }

    // The window's rectangle once it satisfies `settled`, or as it stands after 5 s: a window
    // manager carries out a placement in its own time, on a loaded machine after the runner
    // has stopped waiting for it.
    std::optional<platform::Rect> SettledRect(
        platform::WindowHandle window, const std::function<bool(const platform::Rect&)>& settled) {
        std::optional<platform::Rect> rect;
        test::RunWindowEventsUntil(*windows_, [&] {
            rect = xwindows_->GetWindowRect(window);
            return !rect || settled(*rect);
        });
        return rect;
    }
    std::optional<platform::Rect> SettledRect(platform::WindowHandle window,
                                              const platform::Rect& wanted) {
        return SettledRect(window, [&](const platform::Rect& rect) { return rect == wanted; });
    }

    // The size the client itself has, frame excluded.
    std::pair<int, int> ClientSize(platform::WindowHandle window) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(xlib_, window, &attributes) == 0) return {0, 0};
        return {attributes.width, attributes.height};
    }

    // Starts a process-mode row and runs the watch until its windows are placed; 0 on timeout.
    platform::WindowHandle StartUntilPlaced(int row) {
        runner_->StartTask(row);
        strayProcesses_.push_back(RowProcess(row));
        return WatchUntil([&] { return Placed(row); }) ? RowWindow(row) : 0;
    }
    int RowProcess(int row) { return std::atoi(table_.Cell(ColProcessId, row).c_str()); }
    platform::WindowHandle RowWindow(int row) {
        return std::strtoull(table_.Cell(ColWindowHandle, row).c_str(), nullptr, 10);
    }

    bool Viewable(platform::WindowHandle window) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(xlib_, window, &attributes) == 0) return false;
        return attributes.map_state == IsViewable;
    }

    // Runs as the program does: the window events as they come, the watch tick once a second
    // from the start on, until `done` holds. Returns whether it did.
    bool RunLikeTheProgram(const std::function<bool()>& done,
                           std::chrono::milliseconds timeout = 10s) {
        using Clock = std::chrono::steady_clock;
        const auto deadline = Clock::now() + timeout;
        while (Clock::now() < deadline) {
            if (Clock::now() >= nextWatchTick_) {
                runner_->WatchTick();
                nextWatchTick_ += 1s;
            }
            const auto slice = std::min({deadline, nextWatchTick_, Clock::now() + 5ms});
            const int descriptor = windows_->EventDescriptor();
            pollfd entry{descriptor, POLLIN, 0};
            auto wake = slice;
            if (const auto step = windows_->NextDeadline()) wake = std::min(wake, *step);
            const auto wait = std::chrono::ceil<std::chrono::milliseconds>(wake - Clock::now());
            poll(&entry, 1, static_cast<int>(std::max<long>(0, wait.count())));
            windows_->ProcessPendingEvents();
            if (done()) return true;
        }
        return false;
    }
    // Starts a row as the schedule does; the watch's first tick comes a second later.
    void StartLikeTheProgram(int row) {
        runner_->StartTask(row);
        strayProcesses_.push_back(RowProcess(row));
        strayProcesses_.push_back(runner_->LastCreation().processId);
        nextWatchTick_ = std::chrono::steady_clock::now() + 1s;
    }

    // The windows of a process as another client sees them.
    std::vector<platform::TopLevelWindow> WindowsOf(int processId) {
        std::vector<platform::TopLevelWindow> found;
        for (const auto& window : xwindows_->EnumWindows())
            if (window.processId == processId) found.push_back(window);
        return found;
    }

    bool HasWindowOf(int processId) {
        for (const auto& window : xwindows_->EnumWindows()) {
            if (window.processId == processId) return true;
        }
        return false;
    }

    bool ProcessGone(int processId) {
        processes_.ReapExitedChildren();
        return ::kill(processId, 0) != 0;
    }

    std::string displayName_;
    test::TempFolder folder_;
    TaskTable table_;
    test::FakeHost host_;
    platform::PosixProcesses processes_;
    std::unique_ptr<platform::X11Windows> xwindows_;
    std::unique_ptr<RecordingWindows> windows_;
    std::unique_ptr<TaskRunner> runner_;
    Display* xlib_ = nullptr;
    std::vector<int> strayProcesses_;
    std::chrono::steady_clock::time_point nextWatchTick_ = std::chrono::steady_clock::now() + 1s;
};

TEST_P(TaskRunnerX11Test, ProcessMode_FillsMonitorTwoAndEndsTheProcess) {
    SetClientRow(1, "--window \"Runner Fill\" --write-cwd cwd.txt", "否,最大", "2");
    const platform::WindowHandle window = StartUntilPlaced(1);
    ASSERT_NE(window, 0u);
    const int pid = RowProcess(1);
    const platform::Rect monitor2{1920, 0, 1920, 1080};
    EXPECT_EQ(SettledRect(window, monitor2), monitor2);

    std::ifstream cwd(folder_.File("cwd.txt"));
    std::string workingDirectory;
    std::getline(cwd, workingDirectory);
    EXPECT_EQ(fs::path(workingDirectory), fs::path(folder_.path()));

    runner_->EndTask(1);
    EXPECT_EQ(table_.Cell(ColRunState, 1), "停播");
    EXPECT_TRUE(WatchUntil([&] { return ProcessGone(pid) && !HasWindowOf(pid); }));
}

TEST_P(TaskRunnerX11Test, KeepSize_ShiftsByTheMonitorOrigin) {
    SetClientRow(1, "--window \"Runner Keep\" --size 320x240", "是,无", "2");
    const platform::WindowHandle window = StartUntilPlaced(1);
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(windows_->firstRects.contains(window));
    // Shifted from where the runner first saw it; the client keeps its own size (the frame
    // around it may have come only after that first look).
    const platform::Rect before = windows_->firstRects[window];
    const auto shifted = [&](const platform::Rect& rect) {
        return rect.left == 1920 + before.left && rect.top == before.top;
    };
    const auto after = SettledRect(window, shifted);
    ASSERT_TRUE(after.has_value());
    EXPECT_TRUE(shifted(*after)) << after->left << "," << after->top;
    EXPECT_EQ(ClientSize(window), std::make_pair(320, 240));
    EXPECT_TRUE(Viewable(window));
}

TEST_P(TaskRunnerX11Test, HiddenStart_StartsHiddenAndWithdrawsTheWindow) {
    SetClientRow(1, "--window \"Runner Hidden\"", "否,无", "2");
    const platform::WindowHandle window = StartUntilPlaced(1);
    ASSERT_NE(window, 0u);
    // The withdrawal was asked on the runner's connection; this one may be answered first.
    EXPECT_TRUE(test::RunWindowEventsUntil(
        *windows_, [&] { return !Viewable(window); }, 1s));
    // Listed again once the window manager has given the withdrawn window back to the root.
    EXPECT_TRUE(test::RunWindowEventsUntil(*windows_, [&] {
        const auto windows = xwindows_->EnumWindows();
        return std::ranges::any_of(windows,
                                   [&](const auto& listed) { return listed.window == window; });
    }));
}

TEST_P(TaskRunnerX11Test, CaptionMode_FollowsAndEndsTheProcessShowingTheCaption) {
    SetClientRow(1, "--child --window \"Runner Caption Child\"", "否,最大", "1", "Runner Caption");
    runner_->StartTask(1);
    const int launched = runner_->LastCreation().processId;
    ASSERT_NE(launched, 0);
    strayProcesses_.push_back(launched);
    EXPECT_EQ(table_.Cell(ColProcessId, 1), "");
    ASSERT_TRUE(WatchUntil([&] { return Placed(1); }));
    const int owner = RowProcess(1);
    strayProcesses_.push_back(owner);
    EXPECT_NE(owner, launched);
    const platform::Rect monitor1{0, 0, 1920, 1080};
    EXPECT_EQ(SettledRect(RowWindow(1), monitor1), monitor1);
    runner_->EndTask(1);
    // The child ends; the launched parent, which waits for it, ends with it.
    EXPECT_TRUE(WatchUntil([&] { return ::kill(owner, 0) != 0 && !HasWindowOf(owner); }));
}

TEST_P(TaskRunnerX11Test, CaptionMode_OwnChildShowingTheCaptionIsFollowedToItsEnd) {
    SetClientRow(1, "--window \"Runner Own Caption\" --lifetime 1500", "是", "1", "Runner Own");
    runner_->StartTask(1);
    const int launched = runner_->LastCreation().processId;
    strayProcesses_.push_back(launched);
    ASSERT_TRUE(WatchUntil([&] { return Placed(1); }));
    EXPECT_EQ(RowProcess(1), launched);
    ASSERT_TRUE(WatchUntil([&] { return table_.Cell(ColRunState, 1) == "停播"; }));
    EXPECT_NE(host_.history.back().find(" 任务结束: 【"), std::string::npos);
    EXPECT_TRUE(WatchUntil([&] { return ProcessGone(launched); }));
}

TEST_P(TaskRunnerX11Test, TaskEndingByItself_IsNoticedAndLogged) {
    SetClientRow(1, "--window \"Runner Short\" --lifetime 600", "是", "1");
    runner_->StartTask(1);
    strayProcesses_.push_back(RowProcess(1));
    ASSERT_TRUE(WatchUntil([&] { return table_.Cell(ColRunState, 1) == "停播"; }));
    EXPECT_NE(host_.history.back().find(" 任务结束: 【"), std::string::npos);
    EXPECT_EQ(table_.Cell(ColProcessHandle, 1), "");
}

TEST_P(TaskRunnerX11Test, CopiedRow_NeverEndsALaterTaskHoldingTheSameHandleNumber) {
    table_.SetRowCount(4);
    SetClientRow(1, "--lifetime 300", "是", "1");
    runner_->StartTask(1);
    strayProcesses_.push_back(RowProcess(1));
    const int first = RowProcess(1);
    CopyTaskRow(table_, 1, 2);
    runner_->EndTask(1);  // closes the handle; the copy still shows its number
    for (int look = 0; look < 200 && !ProcessGone(first); ++look)  // reaped, descriptor and all
        std::this_thread::sleep_for(10ms);
    SetClientRow(3, "", "是", "1");
    runner_->StartTask(3);
    const int later = RowProcess(3);
    strayProcesses_.push_back(later);
    ASSERT_EQ(table_.Cell(ColProcessHandle, 3), table_.Cell(ColProcessHandle, 2))
        << "the platform did not reuse the descriptor number";
    runner_->EndTask(2);
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(::kill(later, 0), 0);
    EXPECT_EQ(
        processes_.GetExitCodeProcess(std::atoi(table_.Cell(ColProcessHandle, 3).c_str())).running,
        true);
}

TEST_P(TaskRunnerX11Test, LeaderWindowFirst_TheRealWindowIsPlacedAndTheLeaderNever) {
    // The unmapped leader exists at the first watch tick; the real window maps half a second
    // later.
    SetClientRow(1, "--leader 1500 --window \"Runner Leader\"", "否,最大", "2");
    StartLikeTheProgram(1);
    const int pid = RowProcess(1);
    const platform::Rect monitor2{1920, 0, 1920, 1080};
    platform::WindowHandle shown = 0;
    ASSERT_TRUE(RunLikeTheProgram([&] {
        for (const auto& window : WindowsOf(pid))
            if (window.viewable) shown = window.window;
        return shown != 0 && xwindows_->GetWindowRect(shown) == monitor2;
    })) << "the real window did not land on monitor 2";
    EXPECT_EQ(RowWindow(1), shown);
    EXPECT_EQ(runner_->HandleList(), std::vector<std::string>{std::to_string(shown)});
    ASSERT_EQ(WindowsOf(pid).size(), 2u);
}

TEST_P(TaskRunnerX11Test, HiddenRow_ItsWindowIsNeverSeenShownForMoreThan50Milliseconds) {
    SetClientRow(1, "--leader 1500 --window \"Runner Hidden Leader\"", "否,无", "2");
    StartLikeTheProgram(1);
    const int pid = RowProcess(1);
    // Another client looks every 5 ms, as an operator's eye would (and a little sharper).
    ShownWatcher watcher(displayName_, pid);
    const bool hidden = RunLikeTheProgram(
        [&] { return Placed(1) && !Viewable(RowWindow(1)) && WindowsOf(pid).size() == 2; });
    RunLikeTheProgram([] { return false; }, 500ms);
    const ShownWatcher::Result seen = watcher.Stop();
    ASSERT_TRUE(hidden) << "the real window was not withdrawn";
    EXPECT_GT(seen.looks, 100);
    EXPECT_TRUE(seen.everListed) << "the watcher never saw the task's windows";
    EXPECT_LT(seen.longestShownMs, 50);
    EXPECT_FALSE(Viewable(RowWindow(1)));
}

TEST_P(TaskRunnerX11Test, ClientMovingItsWindowJustAfterShowingIt_IsPutBack) {
    SetClientRow(1, "--move-after 300,100,100 --window \"Runner Mover\"", "否,最大", "2");
    StartLikeTheProgram(1);
    const platform::Rect monitor2{1920, 0, 1920, 1080};
    ASSERT_TRUE(RunLikeTheProgram(
        [&] { return Placed(1) && xwindows_->GetWindowRect(RowWindow(1)) == monitor2; }));
    // Past the client's own move and the window manager's answer to it.
    RunLikeTheProgram([] { return false; }, 1200ms);
    EXPECT_EQ(SettledRect(RowWindow(1), monitor2), monitor2);
}

// A client that moves its window back wherever it is put, at once, gets it once the hold is over:
// the placement is not asked again and again.
TEST_P(TaskRunnerX11Test, ClientFightingThePlacement_HasItsWayOnceTheHoldIsOver) {
    SetClientRow(1,
                 "--static-gravity --position 100,100 --hold-position 100,100 --window "
                 "\"Runner Fighter\"",
                 "否,最大", "2");
    StartLikeTheProgram(1);
    ASSERT_TRUE(RunLikeTheProgram([&] { return Placed(1); }));
    // The hold, and every try there is, are over by then.
    RunLikeTheProgram([] { return false; }, platform::X11Windows::kHoldTime + 3s);
    EXPECT_FALSE(xwindows_->NextDeadline().has_value()) << "the placement is still being fought";
}

TEST_P(TaskRunnerX11Test, ProcessMode_DialogAndTooltipOfTheTaskAreNotPlaced) {
    SetClientRow(1,
                 "--position 200,150 --window \"Runner Main\" --dialog \"Runner Dialog\" "
                 "--tooltip \"Runner Tip\"",
                 "否,最大", "2");
    StartLikeTheProgram(1);
    const int pid = RowProcess(1);
    const platform::Rect monitor2{1920, 0, 1920, 1080};
    ASSERT_TRUE(RunLikeTheProgram(
        [&] { return Placed(1) && xwindows_->GetWindowRect(RowWindow(1)) == monitor2; }));
    RunLikeTheProgram([] { return false; }, 1500ms);  // a watch tick included
    int others = 0;
    for (const auto& window : WindowsOf(pid)) {
        if (window.caption == "Runner Main") continue;
        ++others;
        const auto rect = xwindows_->GetWindowRect(window.window);
        ASSERT_TRUE(rect);
        EXPECT_LT(rect->width, 1920) << window.caption << " was stretched over the monitor";
    }
    EXPECT_EQ(others, 2);
    EXPECT_EQ(runner_->HandleList(), std::vector<std::string>{std::to_string(RowWindow(1))});
}

// A prompt (zenity, a toolkit's message box) shows only a dialog that belongs to no other window:
// that dialog is the task's window.
TEST_P(TaskRunnerX11Test, ProcessMode_TaskShowingOnlyADialog_HasItPlaced) {
    SetClientRow(1, "--position 200,150 --type DIALOG --window \"Runner Prompt\"", "否,最大", "2");
    StartLikeTheProgram(1);
    EXPECT_TRUE(RunLikeTheProgram([&] {
        return Placed(1) &&
               xwindows_->GetWindowRect(RowWindow(1)) == platform::Rect{1920, 0, 1920, 1080};
    }));
}

TEST_P(TaskRunnerX11Test, WindowShownInTheEditState_IsPlacedWhenItEnds) {
    SetClientRow(1, "--later \"3000,Runner Second\" --window \"Runner First\"", "否,最大", "2");
    StartLikeTheProgram(1);
    const int pid = RowProcess(1);
    const platform::Rect monitor2{1920, 0, 1920, 1080};
    ASSERT_TRUE(RunLikeTheProgram(
        [&] { return Placed(1) && xwindows_->GetWindowRect(RowWindow(1)) == monitor2; }));
    host_.editState = true;
    platform::WindowHandle second = 0;
    ASSERT_TRUE(RunLikeTheProgram([&] {
        for (const auto& window : WindowsOf(pid))
            if (window.caption == "Runner Second" && window.viewable) second = window.window;
        return second != 0;
    }));
    RunLikeTheProgram([] { return false; }, 1200ms);
    EXPECT_NE(xwindows_->GetWindowRect(second), monitor2) << "placed in the edit state";
    host_.editState = false;
    EXPECT_TRUE(RunLikeTheProgram([&] { return xwindows_->GetWindowRect(second) == monitor2; }));
}

TEST_P(TaskRunnerX11Test, OverrideRedirectWindows_FoundByCaptionAndByProcessAndPlaced) {
    table_.SetRowCount(3);
    SetClientRow(1, "--override-redirect --window \"Runner Bare Caption Player\"", "否,最大", "2",
                 "Runner Bare Caption");
    SetClientRow(2, "--override-redirect --window \"Runner Bare Process Player\"", "否,最大", "1");
    StartLikeTheProgram(1);
    StartLikeTheProgram(2);
    const platform::Rect monitor1{0, 0, 1920, 1080};
    const platform::Rect monitor2{1920, 0, 1920, 1080};
    ASSERT_TRUE(RunLikeTheProgram([&] {
        return Placed(1) && Placed(2) && xwindows_->GetWindowRect(RowWindow(1)) == monitor2 &&
               xwindows_->GetWindowRect(RowWindow(2)) == monitor1;
    }));
    strayProcesses_.push_back(RowProcess(1));
}

TEST_P(TaskRunnerX11Test, KeepSize_WindowOpenedOnMonitorTwo_KeepsItsPlaceWithinAMonitor) {
    table_.SetRowCount(3);
    SetClientRow(1, "--position 2020,100 --size 320x240 --window \"Runner Keep Two\"", "是", "1");
    // Near monitor 2's far corner: moved over as it is, it would hang off monitor 1.
    SetClientRow(2, "--position 3600,900 --size 400x300 --window \"Runner Keep Corner\"", "是",
                 "1");
    StartLikeTheProgram(1);
    StartLikeTheProgram(2);
    ASSERT_TRUE(RunLikeTheProgram([&] { return Placed(1) && Placed(2); }));
    const platform::Rect first = windows_->firstRects.at(RowWindow(1));
    const auto kept = SettledRect(RowWindow(1), [&](const platform::Rect& rect) {
        return rect.left == first.left - 1920 && rect.top == first.top;
    });
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->left, first.left - 1920);
    EXPECT_EQ(kept->top, first.top);
    const auto inside = SettledRect(RowWindow(2), [](const platform::Rect& rect) {
        return rect.left + rect.width == 1920 && rect.top + rect.height == 1080;
    });
    ASSERT_TRUE(inside);
    EXPECT_EQ(inside->left + inside->width, 1920);
    EXPECT_EQ(inside->top + inside->height, 1080);
}

// The main window comes up once a start, when the task's first window is placed; a window the
// task shows later is placed without the main window jumping over it.
TEST_P(TaskRunnerX11Test, LaterWindowOfARunningTask_IsPlacedWithoutRaisingTheMainWindow) {
    SetClientRow(1, "--later \"1000,Runner Raise Second\" --window \"Runner Raise First\"",
                 "否,最大", "2");
    StartLikeTheProgram(1);
    const int pid = RowProcess(1);
    const platform::Rect monitor2{1920, 0, 1920, 1080};
    ASSERT_TRUE(RunLikeTheProgram([&] {
        for (const auto& window : WindowsOf(pid)) {
            if (window.caption == "Runner Raise Second" && window.viewable)
                return xwindows_->GetWindowRect(window.window) == monitor2;
        }
        return false;
    })) << "the later window was not placed";
    EXPECT_EQ(host_.mainWindowRaises, 1);
}

// A task that shows no window at all (an audio player, a script) is no fault; one whose window
// does not show the row's caption is, and is reported once.
TEST_P(TaskRunnerX11Test, UnplacedWindowReport_OnlyForATaskShowingAWindowItCannotPlace) {
    table_.SetRowCount(3);
    SetClientRow(1, "--lifetime 30000", "否,最大", "2");
    SetClientRow(2, "--window \"Runner Wrong Caption\"", "否,最大", "2", "Runner Right Caption");
    StartLikeTheProgram(1);
    StartLikeTheProgram(2);
    const int captionTask = runner_->LastCreation().processId;
    ASSERT_TRUE(RunLikeTheProgram([&] {
        for (const auto& window : WindowsOf(captionTask))
            if (window.viewable) return true;
        return false;
    })) << "the caption row's client showed no window";
    for (int tick = 0; tick < 12; ++tick) {
        runner_->WatchTick();
        test::RunWindowEventsUntil(
            *windows_, [] { return false; }, 20ms);
    }
    std::vector<std::string> unplaced;
    for (const std::string& line : host_.history)
        if (line.find(" 窗口未能放置: 【") != std::string::npos) unplaced.push_back(line);
    ASSERT_EQ(unplaced.size(), 1u) << "the windowless task was reported too";
    EXPECT_NE(unplaced[0].find("client 2"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(TestBed, TaskRunnerX11Test,
                         ::testing::Values("VARDO_TEST_DISPLAY_WM", "VARDO_TEST_DISPLAY_BARE"),
                         [](const auto& info) {
                             return std::string(info.param) == "VARDO_TEST_DISPLAY_WM"
                                        ? "WindowManager"
                                        : "Bare";
                         });

}  // namespace
}  // namespace vardo
