// Start-up time to the first painted main window, and resident memory right after it, of vardo
// with a 1,000-row timetable against a bare Qt window with a 50-row table, in one run. Needs an X
// display (VARDO_TEST_DISPLAY_WM or DISPLAY); both programs report their first paint on stderr
// when VARDO_REPORT_FIRST_PAINT is set. A start that gives no first-paint line fails the run
// (error state, exit status 1) instead of giving a figure; so does a missed target.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TextCodec.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

std::string Display() {
    for (const char* name : {"VARDO_TEST_DISPLAY_WM", "DISPLAY"}) {
        if (const char* value = std::getenv(name); value && *value) return value;
    }
    return {};
}

// A program folder holding a copy of vardo, a 1,000-row default timetable and settings that
// start neither minimised nor with any timed action; removed when the benchmark ends.
class ProgramFolder {
  public:
    ProgramFolder() : path_(Prepare()) {}
    ~ProgramFolder() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

  private:
    static fs::path Prepare();
    fs::path path_;
};

fs::path ProgramFolder::Prepare() {
    const fs::path folder = fs::temp_directory_path() / ("vardo-bench-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder / "Data");
    fs::copy_file(VARDO_EXECUTABLE, folder / "vardo");
    std::string table;
    for (int row = 1; row <= 1000; ++row) {
        table += std::to_string(row) + "^^/bin/true^^--row " + std::to_string(row) + "^^节目" +
                 std::to_string(row) + "^^08:00:00^^09:00:00^^^^否^^是,最大^^1^^^^^^^^^^^^^^\r\n";
    }
    std::ofstream(folder / "Data" / "任务计划表.tab", std::ios::binary)
        << vardo::Utf8ToGb18030(table);
    std::ofstream(folder / "VARDO.INI", std::ios::binary) << "[START]\r\nchkMin=NO\r\n";
    return folder;
}

long ResidentKilobytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    }
    return 0;
}

// One start of a program: the time from its spawn to its first-paint line and its resident memory
// then, or why there is no figure.
struct Launch {
    double secondsToFirstPaint = 0;
    long residentKilobytes = 0;
    std::string error;
};

constexpr auto kFirstPaintTimeout = std::chrono::seconds(10);
constexpr char kFirstPaintLine[] = "vardo: first paint";

// Reads the child's stderr until the first-paint line; false on its end or at the deadline.
bool AwaitFirstPaint(int fd, std::chrono::steady_clock::time_point deadline, std::string& error) {
    std::string output;
    char buffer[512];
    while (output.find(kFirstPaintLine) == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd readable{fd, POLLIN, 0};
        if (left.count() <= 0 || poll(&readable, 1, static_cast<int>(left.count())) <= 0) {
            error =
                "no first-paint line within " + std::to_string(kFirstPaintTimeout.count()) + " s";
            return false;
        }
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count <= 0) {
            std::replace(output.begin(), output.end(), '\n', ' ');
            error = "ended before its first paint: " + output;
            return false;
        }
        output.append(buffer, static_cast<size_t>(count));
    }
    return true;
}

// Starts the program, waits for its first-paint line, reads its memory, then kills it.
Launch StartAndMeasure(const fs::path& program, const std::string& display) {
    Launch launch;
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        launch.error = "no pipe";
        return launch;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);

    std::vector<std::string> env = {"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb",
                                    "VARDO_REPORT_FIRST_PAINT=1"};
    for (char** entry = environ; *entry; ++entry) env.emplace_back(*entry);
    std::vector<char*> envp;
    for (std::string& entry : env) envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string path = program.string();
    char* argv[] = {path.data(), nullptr};

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        launch.error = "cannot start " + path + ": " + std::strerror(spawned);
    } else {
        if (AwaitFirstPaint(pipeFds[0], start + kFirstPaintTimeout, launch.error)) {
            launch.secondsToFirstPaint =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            launch.residentKilobytes = ResidentKilobytes(pid);
            if (launch.residentKilobytes <= 0) launch.error = "no resident memory figure";
        }
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    close(pipeFds[0]);
    if (!launch.error.empty()) launch.error = program.filename().string() + ": " + launch.error;
    return launch;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Targets: vardo on screen in at most 1.5 times the bare window's time, with at most 15 MB more.
constexpr double kTimeRatioTarget = 1.5;
constexpr double kExtraMemoryTargetMB = 15;

// Set when a benchmark failed (no figure) or missed its target: the run's exit status.
bool runFailed = false;

void Fail(benchmark::State& state, const std::string& why) {
    runFailed = true;
    state.SkipWithError(why.c_str());
}

// Each iteration starts the bare window and vardo, in turns first, so that both meet the machine
// in the same state; the iteration's time is vardo's. The figures are the medians of the runs.
void BM_StartupToFirstPaint_VardoAgainstBareWindow(benchmark::State& state) {
    const std::string display = Display();
    if (display.empty()) {
        Fail(state, "no X display (VARDO_TEST_DISPLAY_WM or DISPLAY)");
        return;
    }
    static const ProgramFolder folder;
    const fs::path vardo = folder.path() / "vardo";
    const fs::path bare = BARE_WINDOW_EXECUTABLE;
    std::vector<double> vardoMs, bareMs, vardoMB, bareMB;
    for (auto _ : state) {
        const bool bareFirst = state.iterations() % 2 == 0;
        const Launch first = StartAndMeasure(bareFirst ? bare : vardo, display);
        const Launch second = StartAndMeasure(bareFirst ? vardo : bare, display);
        const Launch& vardoLaunch = bareFirst ? second : first;
        const Launch& bareLaunch = bareFirst ? first : second;
        const std::string& error = !bareLaunch.error.empty() ? bareLaunch.error : vardoLaunch.error;
        if (!error.empty()) {
            Fail(state, error);
            break;
        }
        state.SetIterationTime(vardoLaunch.secondsToFirstPaint);
        vardoMs.push_back(vardoLaunch.secondsToFirstPaint * 1000);
        bareMs.push_back(bareLaunch.secondsToFirstPaint * 1000);
        vardoMB.push_back(static_cast<double>(vardoLaunch.residentKilobytes) / 1024);
        bareMB.push_back(static_cast<double>(bareLaunch.residentKilobytes) / 1024);
    }
    if (state.error_occurred()) return;
    const double ratio = Median(vardoMs) / Median(bareMs);
    const double extraMB = Median(vardoMB) - Median(bareMB);
    state.counters["vardo_ms"] = Median(vardoMs);
    state.counters["bare_ms"] = Median(bareMs);
    state.counters["time_ratio"] = ratio;
    state.counters["vardo_rss_MB"] = Median(vardoMB);
    state.counters["bare_rss_MB"] = Median(bareMB);
    state.counters["extra_rss_MB"] = extraMB;
    if (ratio <= kTimeRatioTarget && extraMB <= kExtraMemoryTargetMB) {
        state.SetLabel("within targets (time <= 1.5x, memory <= +15 MB)");
    } else {
        runFailed = true;
        state.SetLabel("TARGET MISSED (time <= 1.5x, memory <= +15 MB)");
    }
}

BENCHMARK(BM_StartupToFirstPaint_VardoAgainstBareWindow)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

}  // namespace

// A benchmark without a figure, or one that missed its target, fails the run.
int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (runFailed) std::fputs("bench_startup: FAILED (see above)\n", stderr);
    return runFailed ? 1 : 0;
}
