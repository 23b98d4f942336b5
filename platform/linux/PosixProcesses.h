#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Processes.h"
#include "TaskEnvironment.h"

namespace vardo::platform {

// Processes on Linux: children started with posix_spawn in a session of their own, handles that
// are pidfds. Every handle this object gives out is a descriptor it owns until CloseHandle; a
// number it did not give out is never closed or signalled. Children are reaped by the exit query
// or, once their handles are closed, by a sweep at the start of every later call, so no zombie
// outlives the next call after its exit. Not thread-safe: use it from one thread.
class PosixProcesses final : public Processes {
  public:
    PosixProcesses() = default;
    // Closes every handle; running children keep running (tasks outlive the program).
    ~PosixProcesses() override;
    PosixProcesses(const PosixProcesses&) = delete;
    PosixProcesses& operator=(const PosixProcesses&) = delete;

    // The environment every later child starts with; until this is called, the program's own.
    void SetEnvironment(Environment environment) { environment_ = std::move(environment); }

    bool CreateProcess(const std::string& commandLine, const std::string& workingDirectory,
                       bool showWindow, ProcessInformation& info) override;
    std::string LastCreateError() const override { return lastCreateError_; }
    ExitQuery GetExitCodeProcess(ProcessHandle handle) override;
    bool TerminateProcess(ProcessHandle handle, std::uint32_t exitCode) override;
    std::string LastTerminateError() const override { return lastTerminateError_; }
    ProcessHandle OpenProcess(int processId) override;
    void CloseHandle(ProcessHandle handle) override;
    int ProcessIdOfHandle(ProcessHandle handle) const override;
    bool StartedHidden(ProcessHandle handle) const override;
    void ReapExitedChildren() override;

  private:
    // One process we spawned, shared by every handle that refers to it until it has been reaped.
    struct Child {
        int processId = 0;
        int reapDescriptor = -1;  // our own pidfd, used only to reap; -1 once reaped
        std::uint32_t exitCode = kStillActive;
        std::uint32_t requestedExitCode = 0;  // reported when our SIGKILL ended it
        bool killedByUs = false;
    };
    struct Handle {
        int processId = 0;
        std::shared_ptr<Child> child;  // null for a process we did not spawn
        bool startedHidden = false;
    };

    // Reaps a child if it has exited; true when it has (now or before).
    static bool Reap(Child& child);
    std::shared_ptr<Child> UnreapedChild(int processId) const;
    ProcessHandle AddHandle(int pidfd, Handle handle);

    std::optional<Environment> environment_;
    std::map<ProcessHandle, Handle> handles_;
    std::vector<std::shared_ptr<Child>> unreaped_;
    std::string lastCreateError_;
    std::string lastTerminateError_;
};

}  // namespace vardo::platform
