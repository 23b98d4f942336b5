#include "Win32Processes.h"

#include <windows.h>

#include "WideText.h"

namespace vardo::platform {

Win32Processes::~Win32Processes() {
    for (const auto& [number, handle] : handles_) ::CloseHandle(handle.process);
}

ProcessHandle Win32Processes::AddHandle(void* process, int processId) {
    const ProcessHandle number = static_cast<ProcessHandle>(::HandleToLong(process));
    handles_[number] = {process, processId};
    return number;
}

void* Win32Processes::ProcessOf(ProcessHandle handle) const {
    const auto found = handles_.find(handle);
    return found == handles_.end() ? nullptr : found->second.process;
}

bool Win32Processes::CreateProcess(const std::string& commandLine,
                                   const std::string& workingDirectory, bool showWindow,
                                   ProcessInformation& info) {
    info = {};
    std::wstring command = WideText(commandLine);  // CreateProcessW may write into it
    const std::wstring folder = WideText(workingDirectory);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = showWindow ? SW_SHOWNORMAL : SW_HIDE;
    PROCESS_INFORMATION created{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE,
                          CREATE_UNICODE_ENVIRONMENT, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &created)) {
        lastCreateError_ = WindowsErrorText(::GetLastError());
        return false;
    }
    lastCreateError_.clear();
    ::CloseHandle(created.hThread);
    const int processId = static_cast<int>(created.dwProcessId);
    info.processHandle = AddHandle(created.hProcess, processId);
    info.threadHandle = info.processHandle;
    info.processId = processId;
    info.threadId = processId;
    return true;
}

// The exit code alone cannot tell a running process from one that exited with 259: whether the
// process has ended is asked of the handle itself.
ExitQuery Win32Processes::GetExitCodeProcess(ProcessHandle handle) {
    void* process = ProcessOf(handle);
    if (!process) return {};
    DWORD code = 0;
    if (!::GetExitCodeProcess(process, &code)) return {};
    const bool running = ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    return {true, running, running ? kStillActive : static_cast<std::uint32_t>(code)};
}

bool Win32Processes::TerminateProcess(ProcessHandle handle, std::uint32_t exitCode) {
    void* process = ProcessOf(handle);
    if (!process || ::WaitForSingleObject(process, 0) != WAIT_TIMEOUT) return false;
    return ::TerminateProcess(process, exitCode) != 0;
}

ProcessHandle Win32Processes::OpenProcess(int processId) {
    constexpr DWORD kAccess = PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE;
    HANDLE process = ::OpenProcess(kAccess, FALSE, static_cast<DWORD>(processId));
    return process ? AddHandle(process, processId) : 0;
}

void Win32Processes::CloseHandle(ProcessHandle handle) {
    const auto found = handles_.find(handle);
    if (found == handles_.end()) return;
    ::CloseHandle(found->second.process);
    handles_.erase(found);
}

int Win32Processes::ProcessIdOfHandle(ProcessHandle handle) const {
    const auto found = handles_.find(handle);
    return found == handles_.end() ? 0 : found->second.processId;
}

}  // namespace vardo::platform
