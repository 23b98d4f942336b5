// Rows whose program cannot run, or runs in unfriendly ways, started by the runner as real
// processes: each leaves a history line that says what happened, no launch blocks, and no
// descriptor or zombie is left behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "ManualClock.h"
#include "PosixProcesses.h"
#include "RunnerFakes.h"
#include "TaskRunner.h"
#include "TaskTable.h"
#include "TempFolder.h"

namespace vardo {
namespace {

namespace fs = std::filesystem;
using test::At;

int OpenDescriptorCount() {
    return static_cast<int>(std::distance(fs::directory_iterator("/proc/self/fd"), {}));
}

// Our own children that have ended and were never reaped.
int ZombieChildren() {
    int zombies = 0;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line)) continue;
        const size_t end = line.rfind(") ");
        if (end == std::string::npos) continue;
        char state = 0;
        int parent = 0;
        if (std::sscanf(line.c_str() + end + 2, "%c %d", &state, &parent) == 2 && state == 'Z' &&
            parent == ::getpid())
            ++zombies;
    }
    return zombies;
}

void WriteScript(const std::string& path, const std::string& text, mode_t mode = 0755) {
    test::WriteBytes(path, text);
    ::chmod(path.c_str(), mode);
}

class HostileTasksTest : public ::testing::Test {
  protected:
    HostileTasksTest() { host_.programFolder = folder_.Slash(); }

    int AddRow(const std::string& application, const std::string& parameters) {
        const int row = table_.RowCount();
        table_.SetRowCount(row + 1);
        table_.SetCell(ColNumber, row, std::to_string(row));
        table_.SetCell(ColApplication, row, application);
        table_.SetCell(ColParameters, row, parameters);
        table_.SetCell(ColDescription, row, "row " + std::to_string(row));
        table_.SetCell(ColExclusive, row, "否");
        table_.SetCell(ColWindowSetting, row, "是");
        table_.SetCell(ColMonitor, row, "1");
        return row;
    }

    // The history lines that name the row's program.
    std::vector<std::string> RowHistory(int row) const {
        std::vector<std::string> lines;
        const std::string mark = "【" + table_.Cell(ColApplication, row) + " 】";
        for (const std::string& line : host_.history)
            if (line.find(mark) != std::string::npos) lines.push_back(line);
        return lines;
    }

    // Watch ticks until every started row has been noticed ending, for at most 10 s.
    bool WatchUntilAllEnded(const std::vector<int>& rows) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            runner_.WatchTick();
            bool allEnded = true;
            for (const int row : rows)
                allEnded = allEnded && table_.Cell(ColRunState, row) == "停播";
            if (allEnded) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    test::TempFolder folder_;
    test::ManualClock clock_{At(2026, 12, 7, 8, 0, 0)};
    TaskTable table_;
    test::FakeHost host_;
    platform::PosixProcesses processes_;
    test::FakeWindows windows_;
    TaskRunner runner_{table_, host_, processes_, windows_};
};

TEST_F(HostileTasksTest, UnrunnablePrograms_EachLogsWhyAndHoldsNoProcess) {
    const int descriptors = OpenDescriptorCount();
    fs::create_directory(folder_.File("folder"));
    ASSERT_EQ(::mkfifo(folder_.File("fifo").c_str(), 0755), 0);
    WriteScript(folder_.File("plain.sh"), "#!/bin/sh\nexit 0\n", 0644);
    WriteScript(folder_.File("orphan.sh"), "#!/nonexistent/interpreter\n");
    const std::map<int, std::string> reasons = {
        {AddRow(folder_.File("folder"), ""), "no executable program file on the command line"},
        {AddRow(folder_.File("fifo"), ""), "no executable program file on the command line"},
        {AddRow(folder_.File("plain.sh"), ""), "no executable program file on the command line"},
        {AddRow(folder_.File("orphan.sh"), "x"),
         folder_.File("orphan.sh") + ": No such file or directory"},
    };

    for (const auto& [row, reason] : reasons) {
        runner_.StartTask(row);
        const std::vector<std::string> lines = RowHistory(row);
        ASSERT_EQ(lines.size(), 2u) << table_.Cell(ColApplication, row);
        EXPECT_EQ(lines[0], "  08:00:00 启动任务: 【" + table_.Cell(ColApplication, row) +
                                " 】  row " + std::to_string(row));
        EXPECT_EQ(lines[1],
                  "  08:00:00 启动失败: 【" + table_.Cell(ColApplication, row) + " 】  " + reason);
        EXPECT_EQ(host_.statusLine, lines[1]);
        EXPECT_EQ(table_.Cell(ColProcessId, row), "");
        EXPECT_EQ(table_.Cell(ColProcessHandle, row), "");
    }
    runner_.WatchTick();
    runner_.EndAllTasks();
    EXPECT_EQ(OpenDescriptorCount(), descriptors);
    EXPECT_EQ(ZombieChildren(), 0);
}

TEST_F(HostileTasksTest, AwkwardButValidPrograms_RunEndAndLeaveNothingBehind) {
    const int descriptors = OpenDescriptorCount();
    fs::create_directory(folder_.File("a b"));
    const std::string quoted = folder_.File("a b/it's \"q\".sh");
    WriteScript(quoted, "#!/bin/sh\necho \"$1\" > \"$2\"\n");
    const int awkwardPath = AddRow(quoted, "ok \"" + folder_.File("awkward.out") + "\"");

    // 4,999 arguments of one letter after the script: a parameter list of 10,000 characters.
    std::string many = "-c \"echo $# > " + folder_.File("count.out") + "\" sh";
    while (many.size() < 10'000 - 2) many += " x";
    const int longParameters = AddRow("/bin/sh", many);
    const int expectedCount = static_cast<int>((many.size() - many.find(" sh") - 3) / 2);

    // 100 children that outlive their parent, which exits at once (sh found on PATH).
    const int spawner = AddRow("sh", "-c \"for i in $(seq 100); do sleep 30 & done; echo $$ > " +
                                         folder_.File("spawner.pid") + "\"");

    const std::vector<int> rows = {awkwardPath, longParameters, spawner};
    for (const int row : rows) runner_.StartTask(row);
    ASSERT_TRUE(WatchUntilAllEnded(rows));
    // The 100 orphans belong to the spawner's session and process group.
    const int group = std::stoi(test::ReadBytes(folder_.File("spawner.pid")));
    ::kill(-group, SIGKILL);

    EXPECT_EQ(test::ReadBytes(folder_.File("awkward.out")), "ok\n");
    EXPECT_EQ(test::ReadBytes(folder_.File("count.out")), std::to_string(expectedCount) + "\n");
    for (const int row : rows) {
        const std::vector<std::string> lines = RowHistory(row);
        ASSERT_EQ(lines.size(), 2u) << table_.Cell(ColApplication, row);
        EXPECT_NE(lines[0].find(" 启动任务: 【"), std::string::npos);
        EXPECT_NE(lines[1].find(" 任务结束: 【"), std::string::npos);
    }
    EXPECT_EQ(OpenDescriptorCount(), descriptors);
    EXPECT_EQ(ZombieChildren(), 0);
}

}  // namespace
}  // namespace vardo
