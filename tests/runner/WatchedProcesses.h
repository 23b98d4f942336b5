#pragma once

// What the operator model sees of the task processes: the real processes layer with a record of
// every handle it gives out and takes back, a switch that refuses kills as the system does for a
// process of another user, and the program's children as /proc lists them.
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "PosixProcesses.h"

namespace vardo::test {

// One process creation the program asked for, in order.
struct Creation {
    std::string commandLine;
    int processId = 0;  // 0: it created no process
};

class WatchedProcesses final : public platform::Processes {
  public:
    // The creations since the last call, in order.
    std::vector<Creation> TakeCreations() { return std::exchange(creations_, {}); }
    // The process ids of the handles the program holds, one entry per handle.
    std::multiset<int> HeldProcessIds() const {
        std::multiset<int> held;
        for (const auto& [handle, processId] : open_) held.insert(processId);
        return held;
    }
    // The process an open handle refers to; 0 when the program holds no such handle.
    int HeldProcessId(platform::ProcessHandle handle) const {
        const auto found = open_.find(handle);
        return found == open_.end() ? 0 : found->second;
    }
    // The next `count` kills are refused, as for a process the program may not signal (EPERM).
    void RefuseKills(int count) { refusedKills_ += count; }
    // Processes the program signalled to end, and that may still be dying.
    const std::set<int>& Killed() const { return killed_; }
    // Processes whose end was refused.
    const std::set<int>& Refused() const { return refused_; }

    bool CreateProcess(const std::string& commandLine, const std::string& workingDirectory,
                       bool showWindow, platform::ProcessInformation& info) override {
        const bool created = real_.CreateProcess(commandLine, workingDirectory, showWindow, info);
        creations_.push_back({commandLine, created ? info.processId : 0});
        if (created) open_[info.processHandle] = info.processId;
        return created;
    }
    std::string LastCreateError() const override { return real_.LastCreateError(); }
    platform::ExitQuery GetExitCodeProcess(platform::ProcessHandle handle) override {
        return real_.GetExitCodeProcess(handle);
    }
    bool TerminateProcess(platform::ProcessHandle handle, std::uint32_t exitCode) override {
        refusal_.clear();
        if (refusedKills_ > 0 && open_.contains(handle)) {
            --refusedKills_;
            refusal_ = std::strerror(EPERM);
            refused_.insert(open_.at(handle));
            return false;
        }
        const bool ended = real_.TerminateProcess(handle, exitCode);
        if (ended) killed_.insert(real_.ProcessIdOfHandle(handle));
        return ended;
    }
    std::string LastTerminateError() const override {
        return refusal_.empty() ? real_.LastTerminateError() : refusal_;
    }
    platform::ProcessHandle OpenProcess(int processId) override {
        const platform::ProcessHandle handle = real_.OpenProcess(processId);
        if (handle != 0) open_[handle] = processId;
        return handle;
    }
    void CloseHandle(platform::ProcessHandle handle) override {
        open_.erase(handle);
        real_.CloseHandle(handle);
    }
    int ProcessIdOfHandle(platform::ProcessHandle handle) const override {
        return real_.ProcessIdOfHandle(handle);
    }
    bool StartedHidden(platform::ProcessHandle handle) const override {
        return real_.StartedHidden(handle);
    }
    void ReapExitedChildren() override { real_.ReapExitedChildren(); }

  private:
    platform::PosixProcesses real_;
    std::map<platform::ProcessHandle, int> open_;
    std::vector<Creation> creations_;
    std::set<int> killed_;
    std::set<int> refused_;
    int refusedKills_ = 0;
    std::string refusal_;
};

// A child of this process as /proc shows it.
struct ChildProcess {
    int processId = 0;
    bool ended = false;  // a zombie: it has ended and waits to be reaped
};

inline std::vector<ChildProcess> ChildProcesses() {
    std::vector<ChildProcess> children;
    const int self = ::getpid();
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line)) continue;
        const std::size_t end = line.rfind(") ");
        char state = 0;
        int parent = 0;
        if (end == std::string::npos ||
            std::sscanf(line.c_str() + end + 2, "%c %d", &state, &parent) != 2 || parent != self)
            continue;
        children.push_back({std::stoi(entry.path().filename().string()), state == 'Z'});
    }
    return children;
}

// Whether the process still runs (neither gone nor a zombie).
inline bool Runs(int processId) {
    std::ifstream stat("/proc/" + std::to_string(processId) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return false;
    const std::size_t end = line.rfind(") ");
    return end != std::string::npos && line.compare(end + 2, 1, "Z") != 0;
}

// Waits up to `limit` for a signalled process to die.
inline bool EndsWithin(int processId, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (Runs(processId)) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

}  // namespace vardo::test
