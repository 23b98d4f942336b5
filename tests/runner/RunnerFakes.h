#pragma once

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Processes.h"
#include "TaskRunnerHost.h"
#include "Windows.h"

namespace vardo::test {

// Processes that exist only in memory. Handles are numbered like descriptors: the lowest free
// number from 3 up, so a closed handle's number is handed out again, as on the real system.
class FakeProcesses final : public platform::Processes {
  public:
    struct Launch {
        std::string commandLine;
        std::string workingDirectory;
        bool showWindow = true;
        int processId = 0;
    };

    bool CreateProcess(const std::string& commandLine, const std::string& workingDirectory,
                       bool showWindow, platform::ProcessInformation& info) override {
        launches.push_back({commandLine, workingDirectory, showWindow, 0});
        info = {};
        lastCreateError = failLaunches ? "no such program" : "";
        if (failLaunches) return false;
        const int processId = nextProcessId++;
        alive.insert(processId);
        const platform::ProcessHandle handle = AddHandle(processId, !showWindow);
        launches.back().processId = processId;
        info = {handle, handle, processId, processId};
        return true;
    }

    std::string LastCreateError() const override { return lastCreateError; }
    std::string LastTerminateError() const override { return lastTerminateError; }

    platform::ExitQuery GetExitCodeProcess(platform::ProcessHandle handle) override {
        const auto open = handles.find(handle);
        if (open == handles.end()) return {};
        const int processId = open->second.processId;
        if (alive.contains(processId)) return {true, true, platform::kStillActive};
        return {true, false, exitCodes[processId]};
    }

    bool TerminateProcess(platform::ProcessHandle handle, std::uint32_t exitCode) override {
        lastTerminateError.clear();
        const auto open = handles.find(handle);
        if (open == handles.end() || !alive.contains(open->second.processId)) return false;
        if (refuseKills) {
            lastTerminateError = "Operation not permitted";
            return false;
        }
        terminated.push_back(open->second.processId);
        Exit(open->second.processId, exitCode);
        return true;
    }

    platform::ProcessHandle OpenProcess(int processId) override {
        return alive.contains(processId) ? AddHandle(processId, false) : 0;
    }

    void CloseHandle(platform::ProcessHandle handle) override {
        closed.push_back(handle);
        handles.erase(handle);
    }

    int ProcessIdOfHandle(platform::ProcessHandle handle) const override {
        const auto open = handles.find(handle);
        return open == handles.end() ? 0 : open->second.processId;
    }

    bool StartedHidden(platform::ProcessHandle handle) const override {
        const auto open = handles.find(handle);
        return open != handles.end() && open->second.startedHidden;
    }

    // A process that was not started by the runner (the owner of a caption-mode window).
    int AddForeignProcess() {
        const int processId = nextProcessId++;
        alive.insert(processId);
        return processId;
    }

    void Exit(int processId, std::uint32_t exitCode) {
        alive.erase(processId);
        exitCodes[processId] = exitCode;
    }

    bool failLaunches = false;
    bool refuseKills = false;  // as for another user's processes
    std::string lastCreateError;
    std::string lastTerminateError;
    int nextProcessId = 1000;
    std::vector<Launch> launches;
    std::vector<int> terminated;
    std::vector<platform::ProcessHandle> closed;
    std::set<int> alive;
    std::map<int, std::uint32_t> exitCodes;

    struct OpenHandle {
        int processId = 0;
        bool startedHidden = false;
    };
    std::map<platform::ProcessHandle, OpenHandle> handles;

  private:
    platform::ProcessHandle AddHandle(int processId, bool startedHidden) {
        platform::ProcessHandle handle = 3;
        while (handles.contains(handle)) ++handle;
        handles[handle] = {processId, startedHidden};
        return handle;
    }
};

// Windows and monitors that exist only in memory; every call that changes a window is recorded.
class FakeWindows final : public platform::Windows {
  public:
    struct Window {
        platform::TopLevelWindow info;
        platform::Rect rect;
        bool hidden = false;
        bool rectReadable = true;
    };

    bool Available() const override { return available; }
    bool MayMissTaskWindows() const override { return waylandSession; }

    std::vector<platform::TopLevelWindow> EnumWindows() override {
        ++enumerations;
        std::vector<platform::TopLevelWindow> result;
        for (const Window& window : windows) result.push_back(window.info);
        return result;
    }

    std::optional<platform::Rect> GetWindowRect(platform::WindowHandle handle) override {
        const Window* window = Find(handle);
        if (window == nullptr || !window->rectReadable) return std::nullopt;
        return window->rect;
    }

    void MoveWindow(platform::WindowHandle handle, int left, int top) override {
        calls.push_back("move " + std::to_string(handle));
        if (Window* window = Find(handle)) {
            window->rect.left = left;
            window->rect.top = top;
        }
    }

    void MoveResizeWindow(platform::WindowHandle handle, const platform::Rect& rect) override {
        calls.push_back("moveresize " + std::to_string(handle));
        if (Window* window = Find(handle)) window->rect = rect;
    }

    void RaiseWindow(platform::WindowHandle handle) override {
        calls.push_back("raise " + std::to_string(handle));
    }

    void HideWindow(platform::WindowHandle handle) override {
        calls.push_back("hide " + std::to_string(handle));
        if (Window* window = Find(handle)) window->hidden = true;
    }

    std::vector<platform::Rect> Monitors() override { return monitors; }

    void SetListener(platform::WindowListener* newListener) override { listener = newListener; }

    // Adds a window at the top of the stacking order, viewable unless said otherwise.
    platform::WindowHandle Open(int processId, std::string caption,
                                platform::Rect rect = {10, 20, 300, 200}, bool viewable = true) {
        const platform::WindowHandle handle = nextWindow++;
        windows.insert(windows.begin(),
                       Window{{handle, processId, std::move(caption), viewable}, rect});
        return handle;
    }

    // Makes a window viewable and tells the listener, as the event watch does.
    void Show(platform::WindowHandle handle) {
        Window* window = Find(handle);
        window->info.viewable = true;
        if (listener) listener->WindowViewable(window->info);
    }

    Window* Find(platform::WindowHandle handle) {
        for (Window& window : windows) {
            if (window.info.window == handle) return &window;
        }
        return nullptr;
    }

    std::vector<platform::Rect> monitors{{0, 0, 1920, 1080}, {1920, 0, 1920, 1080}};
    std::vector<Window> windows;
    std::vector<std::string> calls;
    int enumerations = 0;
    bool available = true;  // false: no X display, as on a Wayland session without XWayland
    bool waylandSession = false;
    platform::WindowListener* listener = nullptr;
    platform::WindowHandle nextWindow = 0x400001;
};

// The main window as the runner sees it.
class FakeHost final : public TaskRunnerHost {
  public:
    bool IsEditState() const override { return editState; }
    void SetStatusText(int panel, const std::string& text) override {
        if (panel >= 0 && panel < static_cast<int>(panels.size())) panels[panel] = " " + text;
    }
    void SetStatusLine(const std::string& text) override { statusLine = text; }
    std::string StatusLineText() const override { return statusLine; }
    void AppendHistoryLine(const std::string& line) override {
        history.push_back(line);
        if (onHistoryLine) onHistoryLine();
    }
    void ShowReminder(const std::string& text) override { reminders.push_back(text); }
    void RaiseMainWindow() override { ++mainWindowRaises; }
    void StopWatchTimer() override { watchTimerEvents.push_back("stop"); }
    void StartWatchTimer() override { watchTimerEvents.push_back("start"); }
    std::string ProgramFolder() const override { return programFolder; }

    bool editState = false;
    std::array<std::string, 5> panels;
    std::string statusLine = "  正在播放：无";
    std::vector<std::string> history;
    // Runs after each appended line, as a message box's nested event loop would.
    std::function<void()> onHistoryLine;
    std::vector<std::string> reminders;
    int mainWindowRaises = 0;
    std::vector<std::string> watchTimerEvents;
    std::string programFolder = "/opt/vardo/";
};

}  // namespace vardo::test
