// The task runner's costs: one schedule tick plus one watch tick over large tables, the station's
// metrics text over them, the delay from a wall-clock second to the created process (on a quiet
// machine, and with two processes of our own keeping both cores busy), and from a task window's
// appearance to its placement (or withdrawal, for a hidden row). The last ones run in real time;
// the window benchmarks need an X display with two monitors (scripts/bench.sh starts the test
// bed).
#include <benchmark/benchmark.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <thread>

#include "AlignedSecondTimer.h"
#include "ManualClock.h"
#include "PlacementObserver.h"
#include "PosixProcesses.h"
#include "RunnerFakes.h"
#include "StationMetrics.h"
#include "TaskRunner.h"
#include "TaskTable.h"
#include "TimeText.h"
#include "X11Windows.h"

namespace vardo {
namespace {

using namespace std::chrono_literals;

// rows task rows, each starting and ending at some other second of the day than the ones the
// benchmark visits, so nothing starts: the cost is reading every row's cells.
void FillIdleTable(TaskTable& table, int rows) {
    table.SetRowCount(rows + 1);
    for (int row = 1; row <= rows; ++row) {
        table.SetCell(ColNumber, row, std::to_string(row));
        table.SetCell(ColApplication, row, "/opt/shows/player" + std::to_string(row));
        table.SetCell(ColParameters, row, "\"/media/clip" + std::to_string(row) + ".mp4\"");
        table.SetCell(ColDescription, row, "节目 " + std::to_string(row));
        table.SetCell(ColStartTime, row, SecondsToTimeText(20 * 3600 + row % 3600));
        table.SetCell(ColEndTime, row, SecondsToTimeText(21 * 3600 + row % 3600));
        table.SetCell(ColExclusive, row, "否");
        table.SetCell(ColWindowSetting, row, "否,最大");
        table.SetCell(ColMonitor, row, "2");
        table.SetCell(ColRunState, row, row % 2 == 0 ? "停播" : "");
        table.SetCell(ColRunTime, row, "00:10:00");
        table.SetCell(ColReminder, row, "01:00:00");
    }
}

void BM_ScheduleAndWatchTick(benchmark::State& state) {
    test::ManualClock clock(test::At(2026, 12, 7, 8, 0, 0));
    TaskTable table;
    FillIdleTable(table, static_cast<int>(state.range(0)));
    test::FakeHost host;
    test::FakeProcesses processes;
    test::FakeWindows windows;
    TaskRunner runner(table, host, processes, windows);
    // 08:00 to 09:00 of one day after another: the rows' 20:00 and 21:00 are never reached.
    const LocalTime base = clock.Now();
    std::int64_t tick = 0;
    for (auto _ : state) {
        ++tick;
        clock.Set(base + std::chrono::days(tick / 3600) + std::chrono::seconds(tick % 3600));
        runner.ScheduleTick();
        runner.WatchTick();
    }
    if (!processes.launches.empty()) state.SkipWithError("a task started");
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ScheduleAndWatchTick)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The same with ten real processes running among the rows, each watched through its handle.
void BM_WatchTickWithRunningTasks(benchmark::State& state) {
    TaskTable table;
    FillIdleTable(table, static_cast<int>(state.range(0)));
    test::FakeHost host;
    host.programFolder = "/tmp/";
    platform::PosixProcesses processes;
    test::FakeWindows windows;
    TaskRunner runner(table, host, processes, windows);
    const int step = static_cast<int>(state.range(0)) / 10;
    for (int row = step; row <= state.range(0); row += step) {
        table.SetCell(ColApplication, row, "/bin/sleep");
        table.SetCell(ColParameters, row, "600");
        runner.StartTask(row);
        // Placed already: the tick only asks whether each process still runs.
        table.SetCell(ColWindowHandle, row, "1");
    }
    for (auto _ : state) runner.WatchTick();
    runner.EndAllTasks();
}
BENCHMARK(BM_WatchTickWithRunningTasks)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The metrics text the main window renders every second with [START] MetricsDir set, over a
// table whose every tenth row runs.
void BM_StationMetricsExposition(benchmark::State& state) {
    TaskTable table;
    FillIdleTable(table, static_cast<int>(state.range(0)));
    for (int row = 1; row < table.RowCount(); row += 10) table.SetCell(ColRunState, row, "在播");
    StationMetrics metrics(table);
    for (auto _ : state) benchmark::DoNotOptimize(metrics.Exposition());
}
BENCHMARK(BM_StationMetricsExposition)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond);

// The system clock in milliseconds since the epoch, to the microsecond.
double WallClockMs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Records when each process creation began and returned, on the system clock.
class TimedProcesses final : public platform::Processes {
  public:
    explicit TimedProcesses(platform::Processes& real) : real_(real) {}
    bool CreateProcess(const std::string& commandLine, const std::string& workingDirectory,
                       bool showWindow, platform::ProcessInformation& info) override {
        const double asked = WallClockMs();
        const bool created = real_.CreateProcess(commandLine, workingDirectory, showWindow, info);
        if (created) {
            createdAtMs.push_back(WallClockMs());
            spawnMs.push_back(createdAtMs.back() - asked);
        }
        return created;
    }
    platform::ExitQuery GetExitCodeProcess(platform::ProcessHandle h) override {
        return real_.GetExitCodeProcess(h);
    }
    bool TerminateProcess(platform::ProcessHandle h, std::uint32_t code) override {
        return real_.TerminateProcess(h, code);
    }
    platform::ProcessHandle OpenProcess(int pid) override { return real_.OpenProcess(pid); }
    void CloseHandle(platform::ProcessHandle h) override { real_.CloseHandle(h); }
    int ProcessIdOfHandle(platform::ProcessHandle h) const override {
        return real_.ProcessIdOfHandle(h);
    }

    std::vector<double> createdAtMs;
    std::vector<double> spawnMs;  // how long each creation took

  private:
    platform::Processes& real_;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

int StartCount() {
    const char* count = std::getenv("VARDO_BENCH_STARTS");
    return count != nullptr ? std::max(1, std::atoi(count)) : 100;
}

// Processes that keep a core each busy for as long as the object lives, as a heavy player
// beside the program does.
class BusyProcesses {
  public:
    explicit BusyProcesses(int count) {
        for (int i = 0; i < count; ++i) {
            const pid_t child = ::fork();
            if (child == 0) {
                volatile unsigned long spin = 0;
                while (true) spin = spin + 1;
            }
            if (child > 0) children_.push_back(child);
        }
    }
    ~BusyProcesses() {
        for (const pid_t child : children_) ::kill(child, SIGKILL);
        for (const pid_t child : children_) ::waitpid(child, nullptr, 0);
    }
    BusyProcesses(const BusyProcesses&) = delete;
    BusyProcesses& operator=(const BusyProcesses&) = delete;

  private:
    std::vector<pid_t> children_;
};

// One row per second, each starting /bin/sleep at its second and ending it the next, driven by
// the second-aligned timer as the main window drives the schedule scan; the argument is the
// number of busy processes running meanwhile (0: a quiet machine, 2: both cores kept busy).
void BM_StartLatency(benchmark::State& state) {
    const int starts = StartCount();
    const BusyProcesses load(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        TaskTable table;
        test::FakeHost host;
        host.programFolder = "/tmp/";
        platform::PosixProcesses real;
        TimedProcesses processes(real);
        test::FakeWindows windows;
        TaskRunner runner(table, host, processes, windows);
        // The system clock's seconds and the local ones share their boundaries.
        const qint64 nowMs = QDateTime::currentMSecsSinceEpoch();
        const int first =
            QDateTime::fromMSecsSinceEpoch(nowMs).time().msecsSinceStartOfDay() / 1000 + 2;
        const qint64 firstBoundaryMs = nowMs / 1000 * 1000 + 2000;
        table.SetRowCount(starts + 1);
        for (int row = 1; row <= starts; ++row) {
            const int second = (first + row - 1) % 86400;
            table.SetCell(ColApplication, row, "/bin/sleep");
            table.SetCell(ColParameters, row, "30");
            table.SetCell(ColStartTime, row, SecondsToTimeText(second));
            table.SetCell(ColEndTime, row, SecondsToTimeText((second + 1) % 86400));
        }
        AlignedSecondTimer timer;
        QEventLoop loop;
        std::vector<double> tickOffsets;
        QObject::connect(&timer, &AlignedSecondTimer::timeout, [&] {
            tickOffsets.push_back(std::fmod(WallClockMs(), 1000.0));
            runner.ScheduleTick();
            const bool allStarted = static_cast<int>(processes.createdAtMs.size()) == starts;
            if (allStarted || static_cast<int>(tickOffsets.size()) > starts + 3) loop.quit();
        });
        timer.start();
        loop.exec();
        timer.stop();
        runner.EndAllTasks();

        if (processes.createdAtMs.size() != static_cast<std::size_t>(starts)) {
            state.SkipWithError("a start failed");
            return;
        }
        std::vector<double> latencies;
        for (std::size_t k = 0; k < processes.createdAtMs.size(); ++k) {
            const qint64 boundary = firstBoundaryMs + static_cast<qint64>(k) * 1000;
            latencies.push_back(processes.createdAtMs[k] - static_cast<double>(boundary));
        }
        const double worst = *std::max_element(latencies.begin(), latencies.end());
        state.SetIterationTime(Median(latencies) / 1000.0);
        state.counters["starts"] = static_cast<double>(latencies.size());
        state.counters["median_ms"] = Median(latencies);
        state.counters["worst_ms"] = worst;
        state.counters["tick_median_ms"] = Median(tickOffsets);
        state.counters["tick_worst_ms"] = *std::max_element(tickOffsets.begin(), tickOffsets.end());
        state.counters["spawn_median_ms"] = Median(processes.spawnMs);
    }
}
BENCHMARK(BM_StartLatency)
    ->ArgName("busy")
    ->Arg(0)
    ->Arg(2)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

int WindowCount() {
    const char* count = std::getenv("VARDO_BENCH_WINDOWS");
    return count != nullptr ? std::max(1, std::atoi(count)) : 100;
}

// Runs the runner as the program does (window events as they come, placement steps when due,
// the watch tick once a second from the start) until `done` holds or 5 s have passed.
bool RunLikeTheProgram(TaskRunner& runner, platform::Windows& windows,
                       const std::function<bool()>& done) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    auto nextWatchTick = start + 1s;
    // Looked at now and then only: the looking asks the X server too.
    auto nextLook = start;
    while (Clock::now() < start + 5s) {
        if (Clock::now() >= nextWatchTick) {
            runner.WatchTick();
            nextWatchTick += 1s;
        }
        auto wake = std::min(nextWatchTick, Clock::now() + 5ms);
        if (const auto step = windows.NextDeadline()) wake = std::min(wake, *step);
        pollfd entry{windows.EventDescriptor(), POLLIN, 0};
        poll(&entry, 1,
             static_cast<int>(std::max<long>(
                 0, std::chrono::ceil<std::chrono::milliseconds>(wake - Clock::now()).count())));
        windows.ProcessPendingEvents();
        if (Clock::now() < nextLook) continue;
        if (done()) return true;
        nextLook = Clock::now() + 20ms;
    }
    return false;
}

// Task windows, one task after another, from the moment each appears on the screen (as another
// X client sees it) to the moment it fills monitor 2, or, for a hidden row, is taken off the
// screen again; the argument is the number of busy processes running meanwhile.
void WindowAppearanceTo(benchmark::State& state, bench::PlacementObserver::Outcome outcome) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr) {
        state.SkipWithError("needs DISPLAY (the X test bed)");
        return;
    }
    const BusyProcesses load(static_cast<int>(state.range(0)));
    const bool hide = outcome == bench::PlacementObserver::Outcome::Withdrawn;
    const platform::Rect monitor2{1920, 0, 1920, 1080};
    platform::X11Windows windows(display);
    platform::PosixProcesses processes;
    test::FakeHost host;
    host.programFolder = "/tmp/";
    TaskTable table;
    TaskRunner runner(table, host, processes, windows);
    table.SetCell(ColApplication, 1, VARDO_XTESTCLIENT);
    table.SetCell(ColParameters, 1, "--window \"Bench Placement\" --size 400x300");
    table.SetCell(ColWindowSetting, 1, hide ? "否,无" : "否,最大");
    table.SetCell(ColMonitor, 1, "2");
    std::vector<double> delays;
    for (auto _ : state) {
        bench::PlacementObserver observer(display, outcome, monitor2.left, monitor2.top,
                                          monitor2.width, monitor2.height);
        for (int window = 0; window < WindowCount(); ++window) {
            runner.StartTask(1);
            const int pid = std::atoi(table.Cell(ColProcessId, 1).c_str());
            const bool landed = RunLikeTheProgram(runner, windows, [&] {
                if (table.Cell(ColWindowHandle, 1).empty()) return false;
                const auto placed =
                    std::strtoull(table.Cell(ColWindowHandle, 1).c_str(), nullptr, 10);
                if (!hide) return windows.GetWindowRect(placed) == monitor2;
                for (const auto& listed : windows.EnumWindows())
                    if (listed.processId == pid && listed.viewable) return false;
                return true;
            });
            runner.EndTask(1);
            if (!landed) {
                state.SkipWithError("a window was not placed within 5 s");
                return;
            }
        }
        delays = observer.Stop();
    }
    if (delays.size() != static_cast<std::size_t>(WindowCount())) {
        state.SkipWithError(
            ("the observer saw " + std::to_string(delays.size()) + " windows").c_str());
        return;
    }
    state.SetIterationTime(Median(delays) / 1000.0);
    state.counters["windows"] = static_cast<double>(delays.size());
    state.counters["median_ms"] = Median(delays);
    state.counters["worst_ms"] = *std::max_element(delays.begin(), delays.end());
}

void BM_WindowAppearanceToPlacement(benchmark::State& state) {
    WindowAppearanceTo(state, bench::PlacementObserver::Outcome::Placed);
}
BENCHMARK(BM_WindowAppearanceToPlacement)
    ->Arg(0)
    ->Arg(2)
    ->ArgName("busy")
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_WindowAppearanceToWithdrawal(benchmark::State& state) {
    WindowAppearanceTo(state, bench::PlacementObserver::Outcome::Withdrawn);
}
BENCHMARK(BM_WindowAppearanceToWithdrawal)
    ->Arg(0)
    ->Arg(2)
    ->ArgName("busy")
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vardo

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
