#pragma once

#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "TempFolder.h"

namespace vardo::test {

// Path of the X test client built next to the tests.
inline std::string TestClientPath() {
    return VARDO_XTESTCLIENT;
}

// Sets (or, with nullopt, removes) an environment variable and restores it afterwards.
class ScopedEnvironment {
  public:
    ScopedEnvironment(std::string name, const std::optional<std::string>& value)
        : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str())) old_ = old;
        if (value)
            setenv(name_.c_str(), value->c_str(), 1);
        else
            unsetenv(name_.c_str());
    }
    ~ScopedEnvironment() {
        if (old_)
            setenv(name_.c_str(), old_->c_str(), 1);
        else
            unsetenv(name_.c_str());
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    std::string name_;
    std::optional<std::string> old_;
};

inline bool WaitUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// A helper process started by the test itself (not through the code under test). It dies with
// the test process and is killed and reaped when this object goes, so a failing test leaves
// nothing running.
class HelperProcess {
  public:
    HelperProcess(const std::vector<std::string>& argv,
                  const std::vector<std::pair<std::string, std::string>>& environment = {}) {
        pid_ = fork();
        if (pid_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
            std::freopen("/dev/null", "w", stdout);
            std::vector<char*> args;
            for (const auto& argument : argv) args.push_back(const_cast<char*>(argument.c_str()));
            args.push_back(nullptr);
            execvp(args[0], args.data());
            _exit(127);
        }
    }
    ~HelperProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    HelperProcess(const HelperProcess&) = delete;
    HelperProcess& operator=(const HelperProcess&) = delete;
    int pid() const { return pid_; }

  private:
    int pid_ = -1;
};

// Kills a process when it goes out of scope, through a pidfd taken at once (so a later process
// with the same pid is never hit); for processes started in a session of their own, which would
// not die with the test.
class KillOnExit {
  public:
    explicit KillOnExit(int pid)
        : pidfd_(pid > 0 ? static_cast<int>(syscall(SYS_pidfd_open, pid, 0)) : -1) {}
    ~KillOnExit() {
        if (pidfd_ >= 0) {
            syscall(SYS_pidfd_send_signal, pidfd_, SIGKILL, nullptr, 0);
            close(pidfd_);
        }
    }
    KillOnExit(const KillOnExit&) = delete;
    KillOnExit& operator=(const KillOnExit&) = delete;

  private:
    int pidfd_;
};

// The pid an xtestclient wrote to its --ready file, once the file is there.
inline int WaitForReadyPid(const std::string& readyFile) {
    if (!WaitUntil([&] { return std::filesystem::exists(readyFile); })) return 0;
    return std::atoi(ReadBytes(readyFile).c_str());
}

}  // namespace vardo::test
