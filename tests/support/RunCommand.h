#pragma once

// Runs a program to its end, as a shell would, and gives back its exit status and its output.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "TempFolder.h"

extern char** environ;

namespace vardo::test {

struct CommandResult {
    int status = -1;  // the exit status, or -1 when the program did not exit normally
    std::string out;
    std::string err;
};

inline CommandResult RunCommand(const std::string& program, const std::vector<std::string>& args) {
    TempFolder outputs;
    const std::string outFile = outputs.File("stdout");
    const std::string errFile = outputs.File("stderr");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT, 0600);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    CommandResult result;
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        result.err = program + ": cannot be started";
        return result;
    }
    int wait = 0;
    pid_t waited = 0;
    do {
        waited = waitpid(pid, &wait, 0);
    } while (waited < 0 && errno == EINTR);
    if (waited == pid && WIFEXITED(wait)) result.status = WEXITSTATUS(wait);
    result.out = ReadBytes(outFile);
    result.err = ReadBytes(errFile);
    return result;
}

}  // namespace vardo::test
