#pragma once

#include <cstdint>
#include <string>

namespace vardo::platform {

// A process handle is a pidfd. The row stores it in decimal; 0 means "no handle" (a pidfd is
// never 0 because descriptor 0 is standard input).
using ProcessHandle = int;

// What the most recent process creation left behind. There are no threads of their own on
// Linux: the thread id is the process id and the thread handle is the process handle.
struct ProcessInformation {
    ProcessHandle processHandle = 0;
    ProcessHandle threadHandle = 0;
    int processId = 0;
    int threadId = 0;
};

// Exit code that means "still running", as the scheduler's rows expect it.
inline constexpr std::uint32_t kStillActive = 259;

// Result of an exit query. `running` is the truth; `exitCode` is kStillActive while running and
// the real code afterwards (a process that exits with 259 is still reported as not running).
struct ExitQuery {
    bool succeeded = false;  // false: not a handle we hold
    bool running = false;
    std::uint32_t exitCode = 0;
};

// Process control as the task runner needs it. Implemented for real in each system's folder
// (PosixProcesses on Linux); tests of pure row logic may substitute a fake.
class Processes {
  public:
    virtual ~Processes() = default;

    // Starts commandLine (application + " " + parameters, split without a shell) with
    // workingDirectory as its current folder. Returns false and leaves `info` zeroed on failure.
    virtual bool CreateProcess(const std::string& commandLine, const std::string& workingDirectory,
                               bool showWindow, ProcessInformation& info) = 0;
    // Why the most recent CreateProcess failed, for the operator; empty after a success.
    virtual std::string LastCreateError() const { return {}; }
    virtual ExitQuery GetExitCodeProcess(ProcessHandle handle) = 0;
    // Ends the process outright through the handle; false when the handle is unknown, the
    // process has already ended, or the system refused. Never signals a process by pid.
    virtual bool TerminateProcess(ProcessHandle handle, std::uint32_t exitCode) = 0;
    // Why the most recent TerminateProcess could not end a process that runs on (the system
    // refused: another user's process); empty after a success or when there was nothing to end.
    virtual std::string LastTerminateError() const { return {}; }
    // Opens a handle for a process we did not start (caption mode); 0 when it cannot.
    virtual ProcessHandle OpenProcess(int processId) = 0;
    virtual void CloseHandle(ProcessHandle handle) = 0;
    // The process id a handle we hold refers to; 0 when the handle is not ours. Lets the runner
    // check that a row's handle and process id still belong together before acting on them.
    virtual int ProcessIdOfHandle(ProcessHandle handle) const = 0;
    // Whether the process behind a handle was created with showWindow false; its windows are
    // then to be hidden as soon as they are found (X has no start-up show state).
    virtual bool StartedHidden(ProcessHandle /*handle*/) const { return false; }
    // Reaps the children that ended after their handles were closed, so a task ended by the
    // scheduler does not linger as a zombie. Cheap; the task watch calls it every tick.
    virtual void ReapExitedChildren() {}
};

}  // namespace vardo::platform
