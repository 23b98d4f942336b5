#include "PosixProcesses.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sched.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <set>

#include "ChildWatch.h"

#include "PlatformTestSupport.h"

namespace vardo::platform {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::KillOnExit;
using test::ReadBytes;
using test::TempFolder;
using test::TestClientPath;
using test::WaitUntil;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

// The entries of an environment in an order of their own: the order means nothing to a program,
// and a loader may change it (qemu's does).
std::vector<std::string> Sorted(std::vector<std::string> entries) {
    std::sort(entries.begin(), entries.end());
    return entries;
}

int CountOpenDescriptors(const std::string& folder = "/proc/self/fd") {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++count;
    return count;
}

// State letter and parent pid of a process from /proc/<pid>/stat; empty when it has gone.
struct ProcessStatus {
    std::string state;
    std::string parent;
};

ProcessStatus ReadProcessStatus(const std::string& procFolder) {
    const std::string stat = ReadBytes(procFolder + "/stat");
    const auto close = stat.rfind(')');
    if (close == std::string::npos) return {};
    ProcessStatus status;
    std::istringstream(stat.substr(close + 2)) >> status.state >> status.parent;
    return status;
}

// Those of the given children of this process that have exited and not been reaped (earlier
// tests in the same run may leave zombies of their own).
int CountZombieChildren(const std::vector<int>& children) {
    const std::string self = std::to_string(getpid());
    int zombies = 0;
    for (const int child : children) {
        const ProcessStatus status = ReadProcessStatus("/proc/" + std::to_string(child));
        if (status.state == "Z" && status.parent == self) ++zombies;
    }
    return zombies;
}

// Children of this process that still run.
std::set<int> LiveChildren() {
    const std::string self = std::to_string(getpid());
    std::set<int> children;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        // Only the numbered folders are processes (/proc/net/stat is a folder, for one).
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        const ProcessStatus status = ReadProcessStatus(entry.path().string());
        if (status.parent == self && status.state != "Z" && status.state != "X")
            children.insert(std::atoi(name.c_str()));
    }
    return children;
}

// Installs a seccomp filter on this process that refuses (EPERM) every change of a process's
// scheduling except the caller's own; false when it cannot.
bool RefuseSchedulingOfOtherProcesses() {
#if defined(__x86_64__)
    constexpr std::uint32_t kArchitecture = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
    constexpr std::uint32_t kArchitecture = AUDIT_ARCH_AARCH64;
#else
    return false;
#endif
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, kArchitecture, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_sched_setscheduler, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        // The pid argument's low half: 0 is the caller.
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[0])),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, 0, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EPERM),
    };
    const sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

class PosixProcessesTest : public ::testing::Test {
  protected:
    // Starts the test client with the given options; the process is killed when the test ends.
    ProcessInformation Start(const std::string& options, const std::string& workingDirectory = "",
                             bool showWindow = true) {
        ProcessInformation info;
        EXPECT_TRUE(processes_.CreateProcess(TestClientPath() + " " + options, workingDirectory,
                                             showWindow, info));
        cleanups_.push_back(std::make_unique<KillOnExit>(info.processId));
        return info;
    }

    ExitQuery WaitForExit(ProcessHandle handle) {
        ExitQuery query;
        WaitUntil([&] {
            query = processes_.GetExitCodeProcess(handle);
            return !query.running;
        });
        return query;
    }

    TempFolder folder_;
    PosixProcesses processes_;
    std::vector<std::unique_ptr<KillOnExit>> cleanups_;
};

TEST_F(PosixProcessesTest, CreateProcess_PathWithBlanksAndQuotedParameters_ReachesTheProgram) {
    const std::string program = folder_.File("my tools/client");
    fs::create_directories(fs::path(program).parent_path());
    fs::copy_file(TestClientPath(), program);
    const std::string argsFile = folder_.File("args");
    ProcessInformation info;
    ASSERT_TRUE(processes_.CreateProcess(
        program + " --write-args " + argsFile + " \"two words\" plain", "", true, info));
    KillOnExit cleanup(info.processId);
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(argsFile); }));
    EXPECT_EQ(Lines(ReadBytes(argsFile)),
              (std::vector<std::string>{program, "--write-args", argsFile, "two words", "plain"}));
}

TEST_F(PosixProcessesTest, CreateProcess_BareNameOnPath_IsFound) {
    fs::create_directories(folder_.File("bin"));
    fs::copy_file(TestClientPath(), folder_.File("bin/vardo-test-client"));
    test::ScopedEnvironment path("PATH", folder_.File("bin"));
    const std::string cwdFile = folder_.File("cwd");
    ProcessInformation info;
    ASSERT_TRUE(
        processes_.CreateProcess("vardo-test-client --write-cwd " + cwdFile, "", true, info));
    KillOnExit cleanup(info.processId);
    EXPECT_TRUE(WaitUntil([&] { return fs::exists(cwdFile); }));
}

TEST_F(PosixProcessesTest, CreateProcess_WorkingDirectory_BecomesTheChildsCurrentFolder) {
    const std::string cwdFile = folder_.File("cwd");
    fs::create_directories(folder_.File("work place"));
    Start("--write-cwd " + cwdFile, folder_.File("work place"));
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(cwdFile); }));
    EXPECT_EQ(fs::path(ReadBytes(cwdFile)), fs::canonical(folder_.File("work place")));
}

TEST_F(PosixProcessesTest, CreateProcess_AfterSetEnvironment_ChildGetsExactlyThatEnvironment) {
    const std::string before = folder_.File("env-before");
    Start("--write-env " + before, "");
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(before); }));
    EXPECT_EQ(Sorted(Lines(ReadBytes(before))), Sorted(CurrentEnvironment()));

    processes_.SetEnvironment({"GDK_BACKEND=x11", "ONLY_FOR_TASKS=one two"});
    const std::string after = folder_.File("env-after");
    Start("--write-env " + after, "");
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(after); }));
    EXPECT_EQ(Sorted(Lines(ReadBytes(after))),
              (std::vector<std::string>{"GDK_BACKEND=x11", "ONLY_FOR_TASKS=one two"}));
}

TEST_F(PosixProcessesTest, CreateProcess_MissingProgramOrFolder_FailsWithInfoZeroed) {
    ProcessInformation info{7, 7, 7, 7};
    EXPECT_FALSE(processes_.CreateProcess("/no/such/program -x", "", true, info));
    EXPECT_EQ(info.processHandle, 0);
    EXPECT_EQ(info.threadHandle, 0);
    EXPECT_EQ(info.processId, 0);
    EXPECT_EQ(info.threadId, 0);

    info = {7, 7, 7, 7};
    EXPECT_FALSE(processes_.CreateProcess(TestClientPath(), folder_.File("missing"), true, info));
    EXPECT_EQ(info.processId, 0);
    EXPECT_EQ(info.processHandle, 0);
}

TEST_F(PosixProcessesTest, CreateProcess_Child_GetsOwnSessionNullStreamsAndNoOtherDescriptors) {
    const std::string readyFile = folder_.File("ready");
    const auto info = Start("--lifetime 5000 --ready " + readyFile);
    ASSERT_GT(info.processId, 0);
    EXPECT_EQ(info.processHandle, info.threadHandle);
    EXPECT_EQ(info.processId, info.threadId);
    EXPECT_GE(info.processHandle, 3);
    EXPECT_EQ(processes_.ProcessIdOfHandle(info.processHandle), info.processId);
    // Once the client is ready, the loader and its own ready-file write have closed what they
    // opened; an inherited descriptor would stay, so the count must settle at the three streams.
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(readyFile); }));
    const std::string fds = "/proc/" + std::to_string(info.processId) + "/fd";
    EXPECT_EQ(getsid(info.processId), info.processId);
    EXPECT_TRUE(WaitUntil([&] { return CountOpenDescriptors(fds) == 3; }))
        << CountOpenDescriptors(fds) << " descriptors open in the child";
    for (const char* stream : {"/0", "/1", "/2"})
        EXPECT_EQ(fs::read_symlink(fds + stream), "/dev/null");
}

// Whether this process may raise itself to the real-time priority a start borrows; says why not
// when it may not.
::testing::AssertionResult MayBorrowRealTimePriority() {
    const sched_param raised{sched_get_priority_min(SCHED_FIFO) + 1};
    if (sched_setscheduler(0, SCHED_FIFO, &raised) != 0) {
        return ::testing::AssertionFailure()
               << "this test needs the real-time priority a start borrows (CAP_SYS_NICE, or an "
                  "RLIMIT_RTPRIO of 2 or more): "
               << std::strerror(errno);
    }
    const sched_param usual{0};
    sched_setscheduler(0, SCHED_OTHER, &usual);
    return ::testing::AssertionSuccess();
}

// A start borrows a real-time priority, and gives it back at once: the task and the program run
// under the usual scheduling, the task from its first instruction.
TEST_F(PosixProcessesTest, CreateProcess_TaskAndProgram_KeepTheUsualScheduling) {
    ASSERT_TRUE(MayBorrowRealTimePriority());
    const std::string readyFile = folder_.File("ready");
    const auto info = Start("--lifetime 5000 --ready " + readyFile);
    ASSERT_GT(info.processId, 0);
    EXPECT_EQ(sched_getscheduler(info.processId), SCHED_OTHER);
    EXPECT_EQ(sched_getscheduler(0), SCHED_OTHER);
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(readyFile); }));
    EXPECT_EQ(sched_getscheduler(info.processId), SCHED_OTHER);
}

// Not in the sanitizer build: the sanitizers' own checks need free descriptors.
#ifndef __SANITIZE_ADDRESS__
TEST_F(PosixProcessesTest, CreateProcess_NoDescriptorLeftForTheHandle_FailsAndEndsTheChild) {
    const std::set<int> childrenBefore = LiveChildren();
    rlimit limits{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limits), 0);
    const rlimit previous = limits;
    limits.rlim_cur = std::min<rlim_t>(limits.rlim_max, CountOpenDescriptors() + 64);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &limits), 0);
    // Every descriptor in use but two: both pidfds can be opened, the handle cannot.
    std::vector<int> filler;
    for (int fd; (fd = open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;) filler.push_back(fd);
    for (int i = 0; i < 2 && !filler.empty(); ++i) {
        close(filler.back());
        filler.pop_back();
    }
    ProcessInformation info{7, 7, 7, 7};
    const bool created = processes_.CreateProcess(TestClientPath(), "", true, info);
    for (const int fd : filler) close(fd);
    setrlimit(RLIMIT_NOFILE, &previous);

    EXPECT_FALSE(created);
    EXPECT_EQ(info.processId, 0);
    // No child beyond those before; one of those, killed by an earlier test, may end meanwhile.
    EXPECT_TRUE(WaitUntil([&] {
        processes_.CloseHandle(0);
        const std::set<int> children = LiveChildren();
        return std::includes(childrenBefore.begin(), childrenBefore.end(), children.begin(),
                             children.end());
    })) << "a task without a handle must not run on";
    for (const int child : LiveChildren())
        if (!childrenBefore.contains(child)) KillOnExit{child};
}
#endif

TEST_F(PosixProcessesTest, CreateProcess_ShowWindowFalse_IsRecordedAsHiddenStart) {
    const auto hidden = Start("--lifetime 5000", "", false);
    const auto shown = Start("--lifetime 5000", "", true);
    EXPECT_TRUE(processes_.StartedHidden(hidden.processHandle));
    EXPECT_FALSE(processes_.StartedHidden(shown.processHandle));
}

TEST_F(PosixProcessesTest, GetExitCodeProcess_RunningThenExited_ReportsStillActiveThenTheCode) {
    const auto info = Start("--lifetime 300 --exit-code 7");
    const auto running = processes_.GetExitCodeProcess(info.processHandle);
    EXPECT_TRUE(running.succeeded);
    EXPECT_TRUE(running.running);
    EXPECT_EQ(running.exitCode, kStillActive);
    const auto ended = WaitForExit(info.processHandle);
    EXPECT_TRUE(ended.succeeded);
    EXPECT_FALSE(ended.running);
    EXPECT_EQ(ended.exitCode, 7u);
    // Asking again gives the same answer (the child was reaped once).
    const auto again = processes_.GetExitCodeProcess(info.processHandle);
    EXPECT_FALSE(again.running);
    EXPECT_EQ(again.exitCode, 7u);
}

TEST_F(PosixProcessesTest, GetExitCodeProcess_ExitZeroAndExit259_AreEnded) {
    const auto zero = Start("--lifetime 0");
    const auto code259 = Start("--lifetime 0 --exit-code 259");
    const auto zeroEnd = WaitForExit(zero.processHandle);
    EXPECT_FALSE(zeroEnd.running);
    EXPECT_EQ(zeroEnd.exitCode, 0u);
    // Linux keeps the low 8 bits of an exit status: 259 arrives as 3, and the process is ended.
    const auto end259 = WaitForExit(code259.processHandle);
    EXPECT_FALSE(end259.running);
    EXPECT_EQ(end259.exitCode, 3u);
}

TEST_F(PosixProcessesTest, GetExitCodeProcess_StartedWithChildSignalIgnored_StillHasTheCode) {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction previous {};
    ASSERT_EQ(sigaction(SIGCHLD, &ignore, &previous), 0);
    const auto info = Start("--lifetime 0 --exit-code 7");
    const auto ended = WaitForExit(info.processHandle);
    sigaction(SIGCHLD, &previous, nullptr);
    EXPECT_FALSE(ended.running);
    EXPECT_EQ(ended.exitCode, 7u);
}

TEST_F(PosixProcessesTest, GetExitCodeProcess_UnknownHandle_Fails) {
    EXPECT_FALSE(processes_.GetExitCodeProcess(0).succeeded);
    EXPECT_FALSE(processes_.GetExitCodeProcess(12345).succeeded);
    EXPECT_EQ(processes_.ProcessIdOfHandle(12345), 0);
}

TEST_F(PosixProcessesTest, TerminateProcess_ThroughHandle_EndsWithTheRequestedCode) {
    const auto info = Start("");
    EXPECT_TRUE(processes_.TerminateProcess(info.processHandle, 1));
    const auto ended = WaitForExit(info.processHandle);
    EXPECT_FALSE(ended.running);
    EXPECT_EQ(ended.exitCode, 1u);
    EXPECT_FALSE(processes_.TerminateProcess(info.processHandle, 1));
}

TEST_F(PosixProcessesTest, GetExitCodeProcess_KilledBySomeoneElse_ReportsTheSignal) {
    const auto info = Start("");
    kill(info.processId, SIGTERM);
    const auto ended = WaitForExit(info.processHandle);
    EXPECT_FALSE(ended.running);
    EXPECT_EQ(ended.exitCode, 128u + SIGTERM);
}

TEST_F(PosixProcessesTest, GetExitCodeProcess_ChildReapedBehindOurBack_IsStillSeenToEnd) {
    const auto info = Start("--lifetime 0 --exit-code 9");
    ASSERT_EQ(waitpid(info.processId, nullptr, 0), info.processId);
    const auto ended = WaitForExit(info.processHandle);
    EXPECT_TRUE(ended.succeeded);
    EXPECT_FALSE(ended.running);
    EXPECT_EQ(ended.exitCode, 0u) << "the real code went to whoever reaped it";
}

// A child that cannot be given back the usual scheduling (here a filter refuses to change any
// process's scheduling but the caller's own) is ended, and the start fails saying why.
TEST_F(PosixProcessesTest, CreateProcess_ChildKeptAtRealTimePriority_IsEndedAndSaysSo) {
    ASSERT_TRUE(MayBorrowRealTimePriority());
    test::ChildWatch attempt([](int, int result) {
        std::string report = "no filter";
        if (RefuseSchedulingOfOtherProcesses()) {
            PosixProcesses processes;
            ProcessInformation info;
            const bool created =
                processes.CreateProcess(TestClientPath() + " --lifetime 5000", "", true, info);
            report = std::string(created ? "created" : "refused") + "|" +
                     processes.LastCreateError() + "|" + std::to_string(LiveChildren().size());
            if (created) kill(info.processId, SIGKILL);
        }
        [[maybe_unused]] const auto written = write(result, report.data(), report.size());
    });
    const std::string report = attempt.Finish();
    ASSERT_NE(report, "no filter") << "the seccomp filter could not be installed";
    EXPECT_EQ(report, "refused|" + TestClientPath() +
                          ": kept the start's real-time priority (Operation not permitted), "
                          "ended|0");
}

// Another user's process (a caption row may take its window) cannot be ended: the refusal is
// told with its reason, and the process runs on.
TEST_F(PosixProcessesTest, TerminateProcess_Refused_SaysWhyAndTheProcessRunsOn) {
    ASSERT_EQ(geteuid(), 0u) << "this test needs root, to try the end as another user";
    const auto info = Start("--lifetime 5000");
    test::ChildWatch attempt([&](int, int result) {
        std::string report = "could not change user";
        if (setresgid(65534, 65534, 65534) == 0 && setresuid(65534, 65534, 65534) == 0) {
            PosixProcesses processes;
            const ProcessHandle handle = processes.OpenProcess(info.processId);
            const bool ended = processes.TerminateProcess(handle, 1);
            report = std::string(handle == 0 ? "no handle"
                                 : ended     ? "ended"
                                             : "refused") +
                     "|" + processes.LastTerminateError();
        }
        [[maybe_unused]] const auto written = write(result, report.data(), report.size());
    });
    EXPECT_EQ(attempt.Finish(), "refused|Operation not permitted");
    EXPECT_TRUE(processes_.GetExitCodeProcess(info.processHandle).running);
    EXPECT_TRUE(processes_.TerminateProcess(info.processHandle, 1));
    EXPECT_EQ(processes_.LastTerminateError(), "");
}

TEST_F(PosixProcessesTest, TerminateProcess_ClosedOrForeignHandle_SignalsNothing) {
    const auto info = Start("");
    processes_.CloseHandle(info.processHandle);
    EXPECT_FALSE(processes_.TerminateProcess(info.processHandle, 1));
    EXPECT_EQ(processes_.ProcessIdOfHandle(info.processHandle), 0);
    EXPECT_EQ(kill(info.processId, 0), 0) << "the process must still run";

    // A descriptor the object never handed out is neither signalled nor closed.
    int pipeFds[2] = {-1, -1};
    ASSERT_EQ(pipe(pipeFds), 0);
    EXPECT_FALSE(processes_.TerminateProcess(pipeFds[0], 1));
    processes_.CloseHandle(pipeFds[0]);
    EXPECT_NE(fcntl(pipeFds[0], F_GETFD), -1);
    close(pipeFds[0]);
    close(pipeFds[1]);
}

TEST_F(PosixProcessesTest, OpenProcess_NonChild_SeesItsEndAndCanEndIt) {
    const std::string ready = folder_.File("ready");
    const auto launcher = Start("--child --ready " + ready);
    const int grandchild = test::WaitForReadyPid(ready);
    ASSERT_GT(grandchild, 0);
    ASSERT_NE(grandchild, launcher.processId);
    KillOnExit cleanup(grandchild);

    const ProcessHandle handle = processes_.OpenProcess(grandchild);
    ASSERT_GT(handle, 0);
    EXPECT_EQ(processes_.ProcessIdOfHandle(handle), grandchild);
    EXPECT_TRUE(processes_.GetExitCodeProcess(handle).running);
    EXPECT_TRUE(processes_.TerminateProcess(handle, 1));
    const auto ended = WaitForExit(handle);
    EXPECT_TRUE(ended.succeeded);
    EXPECT_FALSE(ended.running);
    EXPECT_NE(ended.exitCode, kStillActive);
    processes_.CloseHandle(handle);
    // The launcher waited for its child and now ends with the child's signal.
    EXPECT_EQ(WaitForExit(launcher.processHandle).exitCode, 128u + SIGKILL);
}

TEST_F(PosixProcessesTest, OpenProcess_OwnChild_SharesTheRealExitCode) {
    const auto info = Start("--lifetime 200 --exit-code 5");
    const ProcessHandle second = processes_.OpenProcess(info.processId);
    ASSERT_GT(second, 0);
    EXPECT_NE(second, info.processHandle);
    processes_.CloseHandle(info.processHandle);
    const auto ended = WaitForExit(second);
    EXPECT_FALSE(ended.running);
    EXPECT_EQ(ended.exitCode, 5u);
    processes_.CloseHandle(second);
}

TEST_F(PosixProcessesTest, OpenProcess_NoSuchProcess_GivesNoHandle) {
    EXPECT_EQ(processes_.OpenProcess(0), 0);
    EXPECT_EQ(processes_.OpenProcess(-1), 0);
    EXPECT_EQ(processes_.OpenProcess(0x3fffffff), 0);
}

TEST_F(PosixProcessesTest, ThousandLaunches_LeaveNoZombiesAndNoOpenDescriptors) {
    const int descriptorsBefore = CountOpenDescriptors();
    std::vector<int> children;
    for (int i = 0; i < 1000; ++i) {
        ProcessInformation info;
        ASSERT_TRUE(processes_.CreateProcess(TestClientPath() + " --lifetime 0", "", true, info));
        children.push_back(info.processId);
        if (i % 2 == 0) WaitForExit(info.processHandle);  // reaped by the query ...
        processes_.CloseHandle(info.processHandle);       // ... or after the handle is gone
    }
    // The sweep the task watch makes every tick reaps the children whose handles were closed.
    EXPECT_TRUE(WaitUntil(
        [&] {
            processes_.ReapExitedChildren();
            return CountZombieChildren(children) == 0 &&
                   CountOpenDescriptors() == descriptorsBefore;
        },
        10s));
    EXPECT_EQ(CountZombieChildren(children), 0);
    EXPECT_EQ(CountOpenDescriptors(), descriptorsBefore);
}

}  // namespace
}  // namespace vardo::platform
