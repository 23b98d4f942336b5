// The session ends under the real vardo executable: a signal as logout, shutdown or a service
// stop send it, and the display going away. Either way the program takes its close path: the
// tasks end when "退出时关闭任务" is on, and the history says so.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <ctime>
#include <fstream>
#include <string>
#include <thread>

#include "TextCodec.h"
#include "VardoProgramFolder.h"

namespace vardo::test {
namespace {

using namespace std::chrono_literals;

// Whether the process has ended (gone, or a zombie nobody has reaped yet).
bool ProcessEnded(int processId) {
    std::ifstream stat("/proc/" + std::to_string(processId) + "/stat");
    std::string pid;
    std::string name;
    char state = 0;
    if (!(stat >> pid >> name >> state)) return true;
    return state == 'Z' || state == 'X';
}

bool EndsWithin(int processId, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!ProcessEnded(processId)) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

class VardoSessionEnd : public VardoProgramFolder {
  protected:
    void TearDown() override {
        if (taskProcessId_ > 0 && !ProcessEnded(taskProcessId_)) ::kill(taskProcessId_, SIGKILL);
        VardoProgramFolder::TearDown();
    }

    // Starts vardo with one task (the X test client without a window, which runs until it is
    // killed) starting at its first second, and waits until the task runs. Returns the start.
    // writeMore(first) adds to the folder's files.
    std::time_t StartWithRunningTask(
        const std::function<void(std::time_t first)>& writeMore = [](std::time_t) {}) {
        const std::string ready = (folder_ / "task.pid").string();
        const std::time_t start = StartVardoAhead([&](std::time_t first) {
            const std::string row =
                "  1^^" + std::string(VARDO_XTESTCLIENT) + "^^--ready " + ready + "^^Player^^" +
                LocalTimeText(first, 0, "%02d:%02d:%02d") + "^^^^^^否^^是^^1^^^^^^^^^^^^^^\r\n";
            WriteBytes("Data/任务计划表.tab", Utf8ToGb18030(row));
            WriteBytes("VARDO.INI",
                       "[START]\r\nchkSaveHis=YES\r\nchkShutTask=YES\r\nchkSure=YES\r\n");
            writeMore(first);
        });
        if (start == 0) return 0;
        const auto deadline = std::chrono::steady_clock::now() + 30s;
        while (std::chrono::steady_clock::now() < deadline) {
            std::ifstream file(ready);
            if (file >> taskProcessId_) return start;
            std::this_thread::sleep_for(50ms);
        }
        ADD_FAILURE() << "the task did not start";
        return 0;
    }

    std::string History(std::time_t day) const {
        char name[16];
        std::tm local{};
        localtime_r(&day, &local);
        std::strftime(name, sizeof name, "%Y%m%d", &local);
        return Gb18030ToUtf8(
            ReadBytes(std::filesystem::path("History") / (std::string(name) + ".txt")));
    }

    int taskProcessId_ = 0;
};

TEST_F(VardoSessionEnd, Sigterm_ClosesWithoutAskingAndEndsTheTasks) {
    const std::time_t start = StartWithRunningTask();
    ASSERT_NE(start, 0);
    ASSERT_EQ(::kill(info_.processId, SIGTERM), 0);

    const std::optional<std::uint32_t> status = WaitForExit(30s);
    ASSERT_TRUE(status.has_value()) << "vardo did not close on SIGTERM (a confirmation box?)";
    EXPECT_EQ(*status, 0u);
    EXPECT_TRUE(EndsWithin(taskProcessId_, 10s)) << "the task outlived the program";
    const std::string history = History(start);
    EXPECT_NE(history.find(" 启动任务: 【"), std::string::npos) << history;
    EXPECT_NE(history.find(" 结束任务: 【" + std::string(VARDO_XTESTCLIENT) + " 】  Player\r\n"),
              std::string::npos)
        << history;
}

// Started with nohup (as from an SSH session that then ends): the hang-up stays the operator's.
TEST_F(VardoSessionEnd, Nohup_HangUpLeftIgnored_TermStillClosesAndEndsTheTasks) {
    launcher_ = "nohup ";
    const std::time_t start = StartWithRunningTask();
    ASSERT_NE(start, 0);

    ASSERT_EQ(::kill(info_.processId, SIGHUP), 0);
    EXPECT_FALSE(WaitForExit(2s).has_value()) << "vardo closed on a hang-up that nohup ignores";
    EXPECT_FALSE(ProcessEnded(taskProcessId_)) << "the hang-up ended the task";

    ASSERT_EQ(::kill(info_.processId, SIGTERM), 0);
    const std::optional<std::uint32_t> status = WaitForExit(30s);
    ASSERT_TRUE(status.has_value()) << "vardo did not close on SIGTERM";
    EXPECT_EQ(*status, 0u);
    EXPECT_TRUE(EndsWithin(taskProcessId_, 10s)) << "the task outlived the program";
}

// A box of the start-up waits (here: the day's history file cannot be read) while the schedule
// scan already starts the task; the session ends before anyone answers the box.
TEST_F(VardoSessionEnd, SigtermWhileAStartUpBoxWaits_ClosesAndEndsTheTaskStartedMeanwhile) {
    const std::time_t start = StartWithRunningTask([&](std::time_t first) {
        char name[16];
        std::tm local{};
        localtime_r(&first, &local);
        std::strftime(name, sizeof name, "%Y%m%d", &local);
        std::filesystem::create_directories(folder_ / "History" / (std::string(name) + ".txt"));
    });
    ASSERT_NE(start, 0);

    ASSERT_EQ(::kill(info_.processId, SIGTERM), 0);
    const std::optional<std::uint32_t> status = WaitForExit(30s);
    ASSERT_TRUE(status.has_value()) << "vardo did not close on SIGTERM";
    EXPECT_EQ(*status, 0u) << "vardo did not take its close path";
    EXPECT_TRUE(EndsWithin(taskProcessId_, 10s)) << "the task outlived the program";
}

// A display of its own, which the test ends under the running program.
class PrivateDisplay {
  public:
    PrivateDisplay() {
        int ready[2];
        if (::pipe2(ready, O_CLOEXEC) != 0) return;
        const std::string writeEnd = std::to_string(ready[1]);
        processId_ = ::fork();
        if (processId_ == 0) {
            ::fcntl(ready[1], F_SETFD, 0);  // the one descriptor Xvfb gets from us
            const int null = ::open("/dev/null", O_RDWR);
            ::dup2(null, 1);
            ::dup2(null, 2);
            ::execlp("Xvfb", "Xvfb", "-displayfd", writeEnd.c_str(), "-screen", "0", "1280x720x24",
                     "-nolisten", "tcp", "-noreset", nullptr);
            ::_exit(127);
        }
        ::close(ready[1]);
        // The server writes the number and the line end apart, and ends when the second write
        // finds the pipe closed: read up to the line end.
        std::string number;
        char byte = 0;
        while (number.size() < 16) {
            const ssize_t length = ::read(ready[0], &byte, 1);
            if (length < 0 && errno == EINTR) continue;
            if (length <= 0 || byte == '\n') break;
            number += byte;
        }
        ::close(ready[0]);
        if (byte == '\n' && !number.empty()) name_ = ":" + number;
    }
    ~PrivateDisplay() { End(); }
    PrivateDisplay(const PrivateDisplay&) = delete;
    PrivateDisplay& operator=(const PrivateDisplay&) = delete;

    const std::string& Name() const { return name_; }
    void End() {
        if (processId_ <= 0) return;
        ::kill(processId_, SIGKILL);
        ::waitpid(processId_, nullptr, 0);
        processId_ = 0;
    }

  private:
    pid_t processId_ = 0;
    std::string name_;
};

TEST_F(VardoSessionEnd, DisplayGoneAway_TakesTheClosePathAndEndsTheTasks) {
    PrivateDisplay display;
    ASSERT_FALSE(display.Name().empty()) << "Xvfb could not be started";
    display_ = display.Name();
    const std::time_t start = StartWithRunningTask();
    ASSERT_NE(start, 0);
    display.End();

    ASSERT_TRUE(WaitForExit(30s).has_value()) << "vardo kept running without its display";
    EXPECT_TRUE(EndsWithin(taskProcessId_, 10s)) << "the task outlived the program";
    EXPECT_NE(History(start).find(" 结束任务: 【"), std::string::npos) << History(start);
}

}  // namespace
}  // namespace vardo::test
