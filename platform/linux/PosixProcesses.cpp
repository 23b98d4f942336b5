#include "PosixProcesses.h"

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>

extern "C" {
#include <sys/pidfd.h>
}

#include "CommandLine.h"

extern char** environ;

namespace vardo::platform {
namespace {

// Handles start at 3 so that they never collide with 0 ("no handle") even when the program
// itself was started with standard input closed.
constexpr int kLowestHandle = 3;

// Owner of one of posix_spawn's setting objects.
template <typename Object, int (*Init)(Object*), int (*Destroy)(Object*)>
class SpawnSetting {
  public:
    SpawnSetting() { Init(&object_); }
    ~SpawnSetting() { Destroy(&object_); }
    SpawnSetting(const SpawnSetting&) = delete;
    SpawnSetting& operator=(const SpawnSetting&) = delete;
    Object* get() { return &object_; }

  private:
    Object object_;
};
using SpawnFileActions = SpawnSetting<posix_spawn_file_actions_t, posix_spawn_file_actions_init,
                                      posix_spawn_file_actions_destroy>;
using SpawnAttributes =
    SpawnSetting<posix_spawnattr_t, posix_spawnattr_init, posix_spawnattr_destroy>;

// A task gets standard streams of its own and no other descriptor of ours (not even one that
// lacks close-on-exec, inherited from whoever started us), its working folder,
// a session of its own so it outlives our terminal, and clean signal state: ignored signals and
// a blocked mask would otherwise be inherited through exec.
bool PrepareSpawn(SpawnFileActions& actions, SpawnAttributes& attributes,
                  const std::string& workingDirectory) {
    if (posix_spawn_file_actions_addopen(actions.get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0) ||
        posix_spawn_file_actions_addopen(actions.get(), STDOUT_FILENO, "/dev/null", O_WRONLY, 0) ||
        posix_spawn_file_actions_adddup2(actions.get(), STDOUT_FILENO, STDERR_FILENO) ||
        posix_spawn_file_actions_addclosefrom_np(actions.get(), STDERR_FILENO + 1))
        return false;
    if (!workingDirectory.empty() &&
        posix_spawn_file_actions_addchdir_np(actions.get(), workingDirectory.c_str()))
        return false;
    sigset_t noSignals;
    sigemptyset(&noSignals);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signal = 1; signal < SIGRTMIN; ++signal) {
        if (signal != SIGKILL && signal != SIGSTOP) sigaddset(&defaults, signal);
    }
    return posix_spawnattr_setflags(attributes.get(), POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK |
                                                          POSIX_SPAWN_SETSIGDEF) == 0 &&
           posix_spawnattr_setsigmask(attributes.get(), &noSignals) == 0 &&
           posix_spawnattr_setsigdefault(attributes.get(), &defaults) == 0;
}

// A task starts on its second even while other programs keep every core busy. posix_spawn waits
// until the child has run exec, and a new child queues behind the busy programs for a time slice
// or more; a child of a real-time thread runs at once. So the spawning thread borrows a real-time
// priority for the spawn; the child, one step below it, runs up to exec, and the spawning thread,
// woken by that exec, takes the child back to the usual scheduling before anything of the task
// but the loader has run. Raising needs CAP_SYS_NICE or an RLIMIT_RTPRIO of 2 or more (root;
// systemd's LimitRTPRIO=; limits.conf's rtprio); without either the spawn runs as usual. A
// set-user-id or set-group-id program is never raised: it could not be taken back. A child that
// cannot be taken back all the same is ended: a task at real-time priority could starve the
// station. Linux schedules threads one by one, so only the spawning thread is raised, and only
// for the spawn.
class LaunchPriority {
  public:
    LaunchPriority(posix_spawnattr_t& attributes, const std::string& program) {
        if (sched_getscheduler(0) != SCHED_OTHER || ChangesUser(program)) return;
        const int lowest = sched_get_priority_min(SCHED_FIFO);
        const sched_param spawning{lowest + 1};
        if (sched_setscheduler(0, SCHED_FIFO, &spawning) != 0) return;
        const sched_param child{lowest};
        short flags = 0;
        raised_ = posix_spawnattr_getflags(&attributes, &flags) == 0 &&
                  posix_spawnattr_setschedparam(&attributes, &child) == 0 &&
                  posix_spawnattr_setflags(&attributes, flags | POSIX_SPAWN_SETSCHEDPARAM) == 0;
        if (!raised_) Lower(0);
    }
    ~LaunchPriority() {
        if (raised_) Lower(0);
    }
    LaunchPriority(const LaunchPriority&) = delete;
    LaunchPriority& operator=(const LaunchPriority&) = delete;

    // The child (after its exec) goes back to the usual scheduling; false when it could not,
    // with errno set.
    bool LowerChild(pid_t child) const {
        if (!raised_) return true;
        if (!Lower(child)) return errno == ESRCH;  // gone already
        const int policy = sched_getscheduler(child);
        if (policy == SCHED_OTHER || (policy < 0 && errno == ESRCH)) return true;
        if (policy >= 0) errno = EPERM;
        return false;
    }

  private:
    static bool Lower(pid_t thread) {
        const sched_param usual{0};
        return sched_setscheduler(thread, SCHED_OTHER, &usual) == 0;
    }
    static bool ChangesUser(const std::string& program) {
        struct stat status {};
        return stat(program.c_str(), &status) != 0 || (status.st_mode & (S_ISUID | S_ISGID)) != 0;
    }

    bool raised_ = false;
};

// On failure sets error to why (a missing interpreter, a format the kernel cannot run, a working
// folder that is gone, a child kept at real-time priority).
std::optional<int> Spawn(const SplitCommand& command, const std::string& workingDirectory,
                         const std::optional<Environment>& environment, std::string& error) {
    SpawnFileActions actions;
    SpawnAttributes attributes;
    if (!PrepareSpawn(actions, attributes, workingDirectory)) {
        error = std::strerror(ENOMEM);
        return std::nullopt;
    }
    std::vector<char*> argv;
    for (const auto& argument : command.argv) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    if (environment) {
        for (const auto& entry : *environment) envp.push_back(const_cast<char*>(entry.c_str()));
        envp.push_back(nullptr);
    }
    pid_t processId = 0;
    const LaunchPriority priority(*attributes.get(), command.program);
    const int spawnError =
        posix_spawn(&processId, command.program.c_str(), actions.get(), attributes.get(),
                    argv.data(), environment ? envp.data() : environ);
    if (spawnError != 0) {
        error = std::strerror(spawnError);
        return std::nullopt;
    }
    if (!priority.LowerChild(processId)) {
        error = std::string("kept the start's real-time priority (") + std::strerror(errno) +
                "), ended";
        kill(processId, SIGKILL);
        waitpid(processId, nullptr, 0);
        return std::nullopt;
    }
    return processId;
}

// A SIGCHLD ignored by whoever started us is inherited through exec and makes the kernel reap our
// children at once: their exit codes would be lost, and a child that ends straight away could
// have its pid taken by another process before we open a pidfd for it.
void KeepChildrenWaitable() {
    struct sigaction current {};
    if (sigaction(SIGCHLD, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) {
        struct sigaction defaultAction {};
        defaultAction.sa_handler = SIG_DFL;
        sigaction(SIGCHLD, &defaultAction, nullptr);
    }
}

bool IsEndedProcess(int pidfd) {
    pollfd entry{pidfd, POLLIN, 0};
    return poll(&entry, 1, 0) == 1 && (entry.revents & (POLLIN | POLLHUP | POLLERR)) != 0;
}

}  // namespace

PosixProcesses::~PosixProcesses() {
    for (const auto& [descriptor, handle] : handles_) close(descriptor);
    for (const auto& child : unreaped_) close(child->reapDescriptor);
}

bool PosixProcesses::Reap(Child& child) {
    if (child.reapDescriptor < 0) return true;
    siginfo_t status{};
    if (waitid(static_cast<idtype_t>(P_PIDFD), static_cast<id_t>(child.reapDescriptor), &status,
               WEXITED | WNOHANG) != 0) {
        // Someone else in this process reaped it (a waitpid(-1) somewhere): the end is still
        // visible on the pidfd, the exit code is lost.
        if (errno != ECHILD || !IsEndedProcess(child.reapDescriptor)) return false;
        status.si_code = CLD_EXITED;
        status.si_status = 0;
        status.si_pid = child.processId;
    }
    if (status.si_pid == 0) return false;
    if (status.si_code == CLD_EXITED) {
        child.exitCode = static_cast<std::uint32_t>(status.si_status);
    } else if (child.killedByUs && status.si_status == SIGKILL) {
        child.exitCode = child.requestedExitCode;
    } else {
        child.exitCode = 128u + static_cast<std::uint32_t>(status.si_status);
    }
    close(child.reapDescriptor);
    child.reapDescriptor = -1;
    return true;
}

void PosixProcesses::ReapExitedChildren() {
    std::erase_if(unreaped_, [](const std::shared_ptr<Child>& child) { return Reap(*child); });
}

std::shared_ptr<PosixProcesses::Child> PosixProcesses::UnreapedChild(int processId) const {
    for (const auto& child : unreaped_) {
        if (child->processId == processId) return child;
    }
    return nullptr;
}

ProcessHandle PosixProcesses::AddHandle(int pidfd, Handle handle) {
    const int descriptor = fcntl(pidfd, F_DUPFD_CLOEXEC, kLowestHandle);
    close(pidfd);
    if (descriptor < 0) return 0;
    handles_.emplace(descriptor, std::move(handle));
    return descriptor;
}

bool PosixProcesses::CreateProcess(const std::string& commandLine,
                                   const std::string& workingDirectory, bool showWindow,
                                   ProcessInformation& info) {
    ReapExitedChildren();
    info = {};
    lastCreateError_.clear();
    // Without PATH, exec's own default applies.
    const char* path = std::getenv("PATH");
    const auto command =
        SplitCommandLine(commandLine, workingDirectory, path ? path : "/bin:/usr/bin");
    if (!command) {
        lastCreateError_ = "no executable program file on the command line";
        return false;
    }
    KeepChildrenWaitable();
    std::string spawnError;
    const auto processId = Spawn(*command, workingDirectory, environment_, spawnError);
    if (!processId) {
        lastCreateError_ = command->program + ": " + spawnError;
        return false;
    }

    // Our unreaped child cannot be replaced by another process, so opening it by pid is safe.
    const int reapDescriptor = pidfd_open(*processId, 0);
    const int handleDescriptor = reapDescriptor < 0 ? -1 : pidfd_open(*processId, 0);
    if (handleDescriptor < 0) {
        lastCreateError_ = std::strerror(errno);
        kill(*processId, SIGKILL);
        waitpid(*processId, nullptr, 0);
        if (reapDescriptor >= 0) close(reapDescriptor);
        return false;
    }
    auto child = std::make_shared<Child>();
    child->processId = *processId;
    child->reapDescriptor = reapDescriptor;
    unreaped_.push_back(child);
    const ProcessHandle handle = AddHandle(handleDescriptor, {*processId, child, !showWindow});
    if (handle == 0) {
        // A task nobody can follow or end must not run on; a later sweep reaps it.
        lastCreateError_ = std::strerror(errno);
        pidfd_send_signal(reapDescriptor, SIGKILL, nullptr, 0);
        return false;
    }
    info = {handle, handle, *processId, *processId};
    return true;
}

ExitQuery PosixProcesses::GetExitCodeProcess(ProcessHandle handle) {
    ReapExitedChildren();
    const auto found = handles_.find(handle);
    if (found == handles_.end()) return {};
    const Handle& entry = found->second;
    if (entry.child) {
        const bool ended = Reap(*entry.child);
        return {true, !ended, ended ? entry.child->exitCode : kStillActive};
    }
    // Someone else's process: its end can be seen, its exit code cannot.
    const bool ended = IsEndedProcess(handle);
    return {true, !ended, ended ? 0u : kStillActive};
}

bool PosixProcesses::TerminateProcess(ProcessHandle handle, std::uint32_t exitCode) {
    ReapExitedChildren();
    lastTerminateError_.clear();
    const auto found = handles_.find(handle);
    if (found == handles_.end()) return false;
    Handle& entry = found->second;
    if (entry.child ? Reap(*entry.child) : IsEndedProcess(handle)) return false;
    if (pidfd_send_signal(handle, SIGKILL, nullptr, 0) != 0) {
        // ESRCH: it ended meanwhile, which is no failure.
        if (errno != ESRCH) lastTerminateError_ = std::strerror(errno);
        return false;
    }
    if (entry.child && !entry.child->killedByUs) {
        entry.child->killedByUs = true;
        entry.child->requestedExitCode = exitCode;
    }
    return true;
}

ProcessHandle PosixProcesses::OpenProcess(int processId) {
    ReapExitedChildren();
    if (processId <= 0) return 0;
    const int pidfd = pidfd_open(processId, 0);
    if (pidfd < 0) return 0;
    // A pid of one of our unreaped children still names that child: share its exit status.
    auto child = UnreapedChild(processId);
    return AddHandle(pidfd, {processId, std::move(child), false});
}

void PosixProcesses::CloseHandle(ProcessHandle handle) {
    const auto found = handles_.find(handle);
    if (found != handles_.end()) {
        close(found->first);
        handles_.erase(found);
    }
    ReapExitedChildren();
}

int PosixProcesses::ProcessIdOfHandle(ProcessHandle handle) const {
    const auto found = handles_.find(handle);
    return found == handles_.end() ? 0 : found->second.processId;
}

bool PosixProcesses::StartedHidden(ProcessHandle handle) const {
    const auto found = handles_.find(handle);
    return found != handles_.end() && found->second.startedHidden;
}

}  // namespace vardo::platform
