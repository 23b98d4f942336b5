#pragma once

#include <windows.h>
// The interface's own CreateProcess, not the header's macro for CreateProcessA/W; windows.h is
// included here first, so that no later inclusion brings the macro back.
#undef CreateProcess

#include <map>
#include <string>

#include "Processes.h"

namespace vardo::platform {

// Processes on Windows: CreateProcessW with the command line as given (Windows itself splits it
// and finds the program), handles that are the kernel's process handles (which fit in 32 bits on
// every Windows). Every handle this object gives out is one it owns until CloseHandle; a number
// it did not give out is never closed or terminated. As on Linux the thread id reported is the
// process id: a task's windows are those of its process, whichever thread made them. Not
// thread-safe: use it from one thread.
class Win32Processes final : public Processes {
  public:
    Win32Processes() = default;
    // Closes every handle; running processes keep running (tasks outlive the program).
    ~Win32Processes() override;
    Win32Processes(const Win32Processes&) = delete;
    Win32Processes& operator=(const Win32Processes&) = delete;

    bool CreateProcess(const std::string& commandLine, const std::string& workingDirectory,
                       bool showWindow, ProcessInformation& info) override;
    std::string LastCreateError() const override { return lastCreateError_; }
    ExitQuery GetExitCodeProcess(ProcessHandle handle) override;
    bool TerminateProcess(ProcessHandle handle, std::uint32_t exitCode) override;
    ProcessHandle OpenProcess(int processId) override;
    void CloseHandle(ProcessHandle handle) override;
    int ProcessIdOfHandle(ProcessHandle handle) const override;

  private:
    struct Handle {
        void* process = nullptr;
        int processId = 0;
    };

    ProcessHandle AddHandle(void* process, int processId);
    void* ProcessOf(ProcessHandle handle) const;

    std::map<ProcessHandle, Handle> handles_;
    std::string lastCreateError_;
};

}  // namespace vardo::platform
