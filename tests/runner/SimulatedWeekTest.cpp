// The runner through whole days of a manual clock, every second ticked, with 500 rows of real
// short processes: every row starts exactly once a day and ends once, no history line is lost,
// and the program's resident memory and descriptors stay flat after the first day. Run with the
// windows of the X test bed (every running row searched for windows to fill monitor 2) and
// without a display. VARDO_SOAK_DAYS sets the number of days (scripts/soak.sh runs a week).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <thread>

#include "ManualClock.h"
#include "PosixProcesses.h"
#include "TaskRunner.h"
#include "TaskRunnerHost.h"
#include "TaskTable.h"
#include "TempFolder.h"
#include "TimeText.h"
#include "X11Windows.h"

namespace vardo {
namespace {

using test::At;

constexpr int kRows = 500;
constexpr int kFirstStart = 60;          // second of the day of row 1's start
constexpr int kStartSpacing = 172;       // seconds between two rows' starts
constexpr int kRunSeconds = 3;           // end time after the start
constexpr long kResidentSlackKiB = 512;  // allocator noise, not growth

// The main window as the runner sees it, counting each row's start and end lines instead of
// keeping them, so that the test's own memory stays flat.
class CountingHost final : public TaskRunnerHost {
  public:
    bool IsEditState() const override { return false; }
    void SetStatusText(int, const std::string&) override {}
    void SetStatusLine(const std::string& text) override { statusLine_ = text; }
    std::string StatusLineText() const override { return statusLine_; }
    void AppendHistoryLine(const std::string& line) override {
        const size_t row = std::strtoul(line.c_str() + line.rfind(" r") + 2, nullptr, 10);
        if (row < 1 || row > kRows) {
            ++otherLines;
        } else if (line.find(" 启动任务: 【") != std::string::npos) {
            ++starts[row];
        } else if (line.find(" 结束任务: 【") != std::string::npos ||
                   line.find(" 任务结束: 【") != std::string::npos) {
            ++ends[row];
        } else {
            ++otherLines;
        }
    }
    void ShowReminder(const TaskReminder&) override {}
    void RaiseMainWindow() override {}
    void StopWatchTimer() override {}
    void StartWatchTimer() override {}
    std::string ProgramFolder() const override { return folder; }

    std::vector<int> starts = std::vector<int>(kRows + 1);
    std::vector<int> ends = std::vector<int>(kRows + 1);
    int otherLines = 0;
    std::string folder;

  private:
    std::string statusLine_;
};

long ResidentKiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

int OpenDescriptors() {
    namespace fs = std::filesystem;
    return static_cast<int>(std::distance(fs::directory_iterator("/proc/self/fd"), {}));
}

int SoakDays() {
    const char* days = std::getenv("VARDO_SOAK_DAYS");
    return days != nullptr && std::atoi(days) >= 2 ? std::atoi(days) : 2;
}

// The display whose windows the runner searches, or "" for none.
class SimulatedWeekTest : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        std::string display = ":9999";  // no server there: window placement unavailable
        if (*GetParam() != '\0') {
            const char* name = std::getenv(GetParam());
            ASSERT_TRUE(name != nullptr && *name != '\0')
                << GetParam() << " is not set: the X test bed is not running (scripts/test.sh)";
            display = name;
        }
        windows_ = std::make_unique<platform::X11Windows>(display);
        ASSERT_EQ(windows_->Available(), *GetParam() != '\0') << "display " << display;
        host_.folder = folder_.Slash();
        table_.SetRowCount(kRows + 1);
        for (int row = 1; row <= kRows; ++row) {
            const int start = kFirstStart + (row - 1) * kStartSpacing;
            const bool sleeper = row % 2 == 0;
            table_.SetCell(ColNumber, row, std::to_string(row));
            table_.SetCell(ColApplication, row, sleeper ? "/bin/sleep" : "/bin/true");
            table_.SetCell(ColParameters, row, sleeper ? "1" : "");
            table_.SetCell(ColDescription, row, "r" + std::to_string(row));
            table_.SetCell(ColStartTime, row, SecondsToTimeText(start));
            table_.SetCell(ColEndTime, row, SecondsToTimeText(start + kRunSeconds));
            table_.SetCell(ColExclusive, row, "否");
            table_.SetCell(ColWindowSetting, row, "是,最大");
            table_.SetCell(ColMonitor, row, "2");
        }
        runner_ = std::make_unique<TaskRunner>(table_, host_, processes_, *windows_);
    }

    // One day from midnight to midnight, a schedule tick and a watch tick every second.
    void Day() {
        for (int second = 0; second < 86'400; ++second) {
            runner_->ScheduleTick();
            clock_.Advance(std::chrono::milliseconds(500));
            runner_->WatchTick();
            clock_.Advance(std::chrono::milliseconds(500));
        }
    }

    // The day's last tasks were ended a few simulated minutes, but only milliseconds, ago: waits
    // (at most 5 s) until none of our children is left, running or unreaped.
    bool SettleChildren() {
        for (int wait = 0; wait < 500; ++wait) {
            processes_.ReapExitedChildren();
            siginfo_t info{};
            if (::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) != 0 && errno == ECHILD)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    test::TempFolder folder_;
    test::ManualClock clock_{At(2026, 12, 7, 0, 0, 0)};
    TaskTable table_;
    CountingHost host_;
    platform::PosixProcesses processes_;
    std::unique_ptr<platform::X11Windows> windows_;
    std::unique_ptr<TaskRunner> runner_;
};

TEST_P(SimulatedWeekTest, EveryRowOnceADay_NoLineLost_MemoryAndDescriptorsFlat) {
    const int days = SoakDays();
    long firstDayResident = 0;
    int firstDayDescriptors = 0;
    for (int day = 1; day <= days; ++day) {
        const auto began = std::chrono::steady_clock::now();
        Day();
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
        ASSERT_TRUE(SettleChildren()) << "a task of day " << day << " never ended";
        const long resident = ResidentKiB();
        const int descriptors = OpenDescriptors();
        std::cout << "day " << day << ": " << seconds << " s, resident " << resident
                  << " KiB, descriptors " << descriptors << std::endl;
        for (int row = 1; row <= kRows; ++row) {
            ASSERT_EQ(host_.starts[row], day) << "row " << row << " on day " << day;
            ASSERT_EQ(host_.ends[row], day) << "row " << row << " on day " << day;
        }
        if (day == 1) {
            firstDayResident = resident;
            firstDayDescriptors = descriptors;
        } else {
#ifndef __SANITIZE_ADDRESS__
            // AddressSanitizer holds freed memory back in its quarantine, so there resident
            // memory grows whatever the program does; the ordinary build checks it.
            EXPECT_LE(resident, firstDayResident + kResidentSlackKiB) << "day " << day;
#endif
            EXPECT_EQ(descriptors, firstDayDescriptors) << "day " << day;
        }
    }
    EXPECT_EQ(host_.otherLines, 0);
}

INSTANTIATE_TEST_SUITE_P(Windows, SimulatedWeekTest, ::testing::Values("VARDO_TEST_DISPLAY_WM", ""),
                         [](const auto& info) {
                             return *info.param == '\0' ? std::string("NoDisplay")
                                                        : std::string("TestBed");
                         });

}  // namespace
}  // namespace vardo
