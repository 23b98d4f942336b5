// Tells how the machine it runs on, or the emulator that runs it, carries out three ways of starting
// a program, and how much memory it holds, one line each:
//   posix_spawn-missing-file: <error>   posix_spawn of a file that does not exist: a Linux kernel
//                                        reports ENOENT ("No such file or directory"); "none" when
//                                        the start was reported as a success (the failure was lost)
//   posix_spawn-raised-start: <result>   /bin/true started as vardo starts a task when it may borrow
//                                        a real-time priority: the spawning thread raised, the child
//                                        asked to run one step below up to its exec, and taken back
//                                        to the usual scheduling as soon as posix_spawn returns.
//                                        "exit 0" where posix_spawn returns after the exec; "exit 127"
//                                        where it returns at once and the child, taken back first,
//                                        fails its own step; "not tried: <why>" without the right
//   qprocess-start: <result>             QProcess starting /bin/true: "started" or Qt's error
//   resident-kib: <n>                    the probe's resident memory at its end, which under
//                                        emulation holds the emulator and its translated code
// scripts/test-arm64.sh runs it natively and under qemu user emulation to prove which of the tests
// that start programs cannot run there.
#include <sched.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QProcess>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

extern char** environ;

namespace {

std::string RaisedStart() {
    const int lowest = sched_get_priority_min(SCHED_FIFO);
    const sched_param spawning{lowest + 1};
    if (sched_setscheduler(0, SCHED_FIFO, &spawning) != 0)
        return std::string("not tried: ") + std::strerror(errno);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    const sched_param child{lowest};
    posix_spawnattr_setschedparam(&attributes, &child);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSCHEDPARAM);
    char program[] = "/bin/true";
    char* arguments[] = {program, nullptr};
    pid_t processId = 0;
    const int spawned = posix_spawn(&processId, program, nullptr, &attributes, arguments, environ);
    const sched_param usual{0};
    if (spawned == 0) sched_setscheduler(processId, SCHED_OTHER, &usual);
    sched_setscheduler(0, SCHED_OTHER, &usual);
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0) return std::string("not started: ") + std::strerror(spawned);
    int status = 0;
    waitpid(processId, &status, 0);
    return WIFEXITED(status) ? "exit " + std::to_string(WEXITSTATUS(status)) : "signalled";
}

}  // namespace

int main(int argc, char** argv) {
    char program[] = "/nonexistent/vardo-probe";
    char* arguments[] = {program, nullptr};
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program, nullptr, nullptr, arguments, environ);
    if (spawned == 0) waitpid(child, nullptr, 0);
    std::printf("posix_spawn-missing-file: %s\n", spawned == 0 ? "none" : std::strerror(spawned));
    std::printf("posix_spawn-raised-start: %s\n", RaisedStart().c_str());

    QCoreApplication application(argc, argv);
    QProcess process;
    process.start("/bin/true", {});
    const bool started = process.waitForStarted(10000);
    std::printf("qprocess-start: %s\n",
                started ? "started" : process.errorString().toLocal8Bit().constData());
    if (started) process.waitForFinished(10000);

    long size = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &size, &resident) != 2) resident = -1;
        std::fclose(statm);
    }
    std::printf("resident-kib: %ld\n", resident * (sysconf(_SC_PAGESIZE) / 1024));
    return 0;
}
