// Start-up time to the first painted main window, and resident memory right after it, of vardo
// with a 1,000-row timetable beside a bare Qt window with a 50-row table. Needs an X display
// (VARDO_TEST_DISPLAY_WM or DISPLAY); both programs report their first paint on stderr when
// VARDO_REPORT_FIRST_PAINT is set.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
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

struct Launch {
    double secondsToFirstPaint = 0;
    long residentKilobytes = 0;
};

// Starts the program, waits for its first-paint line, reads its memory, then kills it.
Launch StartAndMeasure(const fs::path& program, const std::string& display) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return {};
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
    Launch launch;
    if (spawned == 0) {
        std::string output;
        char buffer[512];
        pollfd readable{pipeFds[0], POLLIN, 0};
        while (output.find("vardo: first paint") == std::string::npos &&
               poll(&readable, 1, 10'000) > 0) {
            const ssize_t count = read(pipeFds[0], buffer, sizeof buffer);
            if (count <= 0) break;
            output.append(buffer, static_cast<size_t>(count));
        }
        launch.secondsToFirstPaint =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        launch.residentKilobytes = ResidentKilobytes(pid);
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    close(pipeFds[0]);
    return launch;
}

void RunStartup(benchmark::State& state, const fs::path& program) {
    const std::string display = Display();
    if (display.empty()) {
        state.SkipWithError("no X display (VARDO_TEST_DISPLAY_WM or DISPLAY)");
        return;
    }
    long residentTotal = 0;
    for (auto _ : state) {
        const Launch launch = StartAndMeasure(program, display);
        state.SetIterationTime(launch.secondsToFirstPaint);
        residentTotal += launch.residentKilobytes;
    }
    state.counters["rss_MB"] =
        static_cast<double>(residentTotal) / 1024.0 / static_cast<double>(state.iterations());
}

void BM_VardoStartup_1000Rows(benchmark::State& state) {
    static const ProgramFolder folder;
    RunStartup(state, folder.path() / "vardo");
}

void BM_BareQtWindowStartup_50Rows(benchmark::State& state) {
    RunStartup(state, BARE_WINDOW_EXECUTABLE);
}

BENCHMARK(BM_BareQtWindowStartup_50Rows)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
BENCHMARK(BM_VardoStartup_1000Rows)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
