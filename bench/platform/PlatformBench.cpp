// Window enumeration over 200 top-level windows and the launch latency of a trivial program.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "PlatformTestSupport.h"
#include "PosixProcesses.h"
#include "X11Windows.h"

namespace vardo::platform {
namespace {

constexpr int kClients = 4;
constexpr int kWindowsPerClient = 50;

std::string BenchDisplay(const char* variable) {
    const char* value = std::getenv(variable);
    if (value && *value) return value;
    const char* display = std::getenv("DISPLAY");
    return display ? display : "";
}

// 200 windows with captions and pids, opened by several processes of the X test client.
class WindowCrowd {
  public:
    WindowCrowd(const std::string& display, X11Windows& windows) {
        for (int client = 0; client < kClients; ++client) {
            std::vector<std::string> argv{test::TestClientPath(), "--display", display, "--size",
                                          "120x80"};
            for (int i = 0; i < kWindowsPerClient; ++i) {
                argv.push_back("--window");
                argv.push_back("Vardo bench " + std::to_string(client) + "." + std::to_string(i));
            }
            clients_.push_back(std::make_unique<test::HelperProcess>(argv));
        }
        ready_ = test::WaitUntil(
            [&] {
                int found = 0;
                for (const auto& window : windows.EnumWindows())
                    if (window.caption.rfind("Vardo bench ", 0) == 0 && window.processId > 0)
                        ++found;
                return found == kClients * kWindowsPerClient;
            },
            std::chrono::seconds(20));
    }
    bool ready() const { return ready_; }

  private:
    std::vector<std::unique_ptr<test::HelperProcess>> clients_;
    bool ready_ = false;
};

void EnumerateWindows(benchmark::State& state, const char* displayVariable) {
    const std::string display = BenchDisplay(displayVariable);
    X11Windows windows(display);
    if (!windows.Available()) {
        state.SkipWithError("no X display (set DISPLAY or the test bed variables)");
        return;
    }
    WindowCrowd crowd(display, windows);
    if (!crowd.ready()) {
        state.SkipWithError("the 200 test windows did not appear");
        return;
    }
    std::size_t listed = 0;
    for (auto _ : state) {
        const auto found = windows.EnumWindows();
        listed = found.size();
        benchmark::DoNotOptimize(found.data());
    }
    state.counters["windows"] = static_cast<double>(listed);
}
BENCHMARK_CAPTURE(EnumerateWindows, WithWindowManager, "VARDO_TEST_DISPLAY_WM")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EnumerateWindows, WithoutWindowManager, "VARDO_TEST_DISPLAY_BARE")
    ->Unit(benchmark::kMillisecond);

// Placing and hiding a window that has gone between its enumeration and its placement, as the
// hide mode does: the X errors are swallowed and nothing waits for an answer that never comes.
void PlaceVanishedWindow(benchmark::State& state, const char* displayVariable) {
    X11Windows windows(BenchDisplay(displayVariable));
    if (!windows.Available()) {
        state.SkipWithError("no X display (set DISPLAY or the test bed variables)");
        return;
    }
    constexpr WindowHandle kGone = 0x7ffffff;
    for (auto _ : state) {
        windows.MoveResizeWindow(kGone, {1920, 0, 1920, 1080});
        windows.HideWindow(kGone);
    }
}
BENCHMARK_CAPTURE(PlaceVanishedWindow, WithWindowManager, "VARDO_TEST_DISPLAY_WM")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PlaceVanishedWindow, WithoutWindowManager, "VARDO_TEST_DISPLAY_BARE")
    ->Unit(benchmark::kMillisecond);

// From the call to the moment the pid and handle are known.
void LaunchTrivialProgram(benchmark::State& state) {
    PosixProcesses processes;
    for (auto _ : state) {
        ProcessInformation info;
        if (!processes.CreateProcess("/bin/true", "", true, info)) {
            state.SkipWithError("cannot start /bin/true");
            break;
        }
        state.PauseTiming();
        processes.CloseHandle(info.processHandle);  // reaped by a later call
        state.ResumeTiming();
    }
}
BENCHMARK(LaunchTrivialProgram)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vardo::platform

BENCHMARK_MAIN();
