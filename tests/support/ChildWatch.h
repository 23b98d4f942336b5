#pragma once

// Runs a watch in a child process of its own, so that an observer of the X server has its own
// connection and Xlib error handling, independent of the process it observes. The watch gets the
// read end of a stop pipe (it reaches end of file when the watch is to end) and the write end of
// a result pipe.
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <utility>

namespace vardo::test {

class ChildWatch {
  public:
    // Starts watch(stopDescriptor, resultDescriptor) in a child that exits when it returns.
    template <typename Watch>
    explicit ChildWatch(Watch&& watch) {
        int stop[2];
        int result[2];
        if (pipe(stop) != 0) return;
        if (pipe(result) != 0) {
            close(stop[0]);
            close(stop[1]);
            return;
        }
        child_ = fork();
        if (child_ == 0) {
            close(stop[1]);
            close(result[0]);
            std::forward<Watch>(watch)(stop[0], result[1]);
            _exit(0);
        }
        close(stop[0]);
        close(result[1]);
        stop_ = stop[1];
        result_ = result[0];
    }
    ~ChildWatch() { Finish(); }
    ChildWatch(const ChildWatch&) = delete;
    ChildWatch& operator=(const ChildWatch&) = delete;

    // Reads the next size bytes the watch writes; false when it ended before.
    bool Read(void* data, std::size_t size) {
        if (child_ <= 0) return false;
        auto* bytes = static_cast<char*>(data);
        while (size > 0) {
            const ssize_t got = read(result_, bytes, size);
            if (got <= 0) return false;
            bytes += got;
            size -= static_cast<std::size_t>(got);
        }
        return true;
    }

    // Ends the watch and returns every byte it wrote that was not read yet; empty once ended.
    std::string Finish() {
        std::string written;
        if (child_ <= 0) return written;
        close(stop_);
        char buffer[4096];
        for (ssize_t got; (got = read(result_, buffer, sizeof buffer)) > 0;) {
            written.append(buffer, static_cast<std::size_t>(got));
        }
        close(result_);
        waitpid(child_, nullptr, 0);
        child_ = 0;
        return written;
    }

  private:
    pid_t child_ = 0;
    int stop_ = -1;
    int result_ = -1;
};

}  // namespace vardo::test
