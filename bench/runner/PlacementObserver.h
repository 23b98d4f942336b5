#pragma once

// Watches the X server from a process of its own, as an operator's screen would show it: when
// each top-level window appears (its frame, under a window manager, is mapped), and when it then
// first stands on a given rectangle or is taken off the screen again. Being another process, it
// measures the program from outside, with Xlib state of its own.
#include <X11/Xlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vardo::bench {

class PlacementObserver {
  public:
    enum class Outcome { Placed, Withdrawn };

    // Starts watching; returns once the observer sees every window mapped from now on.
    PlacementObserver(const std::string& display, Outcome outcome, int left, int top, int width,
                      int height) {
        int stop[2];
        int result[2];
        if (pipe(stop) != 0 || pipe(result) != 0) return;
        child_ = fork();
        if (child_ == 0) {
            close(stop[1]);
            close(result[0]);
            Observe(display, outcome, {left, top, width, height}, stop[0], result[1]);
            _exit(0);
        }
        close(stop[0]);
        close(result[1]);
        stop_ = stop[1];
        result_ = result[0];
        char ready = 0;
        if (read(result_, &ready, 1) != 1) Stop();
    }
    ~PlacementObserver() { Stop(); }
    PlacementObserver(const PlacementObserver&) = delete;
    PlacementObserver& operator=(const PlacementObserver&) = delete;

    // Milliseconds from each window's appearance to the outcome, for the windows that got there.
    std::vector<double> Stop() {
        std::vector<double> delays;
        if (child_ <= 0) return delays;
        close(stop_);
        double delay = 0;
        while (read(result_, &delay, sizeof delay) == sizeof delay) delays.push_back(delay);
        close(result_);
        waitpid(child_, nullptr, 0);
        child_ = 0;
        return delays;
    }

  private:
    struct Area {
        int left, top, width, height;
    };

    static double NowMs() {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
    }

    static void Observe(const std::string& name, Outcome outcome, Area target, int stop,
                        int result) {
        Display* display = XOpenDisplay(name.c_str());
        if (!display) return;
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        const Window root = DefaultRootWindow(display);
        XSelectInput(display, root, SubstructureNotifyMask);
        XSync(display, False);
        const char ready = 1;
        if (write(result, &ready, 1) != 1) return;
        std::map<Window, double> appeared;
        for (;;) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(stop, &readable);
            FD_SET(ConnectionNumber(display), &readable);
            if (XPending(display) == 0 &&
                select(std::max(stop, ConnectionNumber(display)) + 1, &readable, nullptr, nullptr,
                       nullptr) > 0 &&
                FD_ISSET(stop, &readable))
                break;
            while (XPending(display) > 0) {
                XEvent event;
                XNextEvent(display, &event);
                const double now = NowMs();
                std::optional<double> delay;
                if (event.type == MapNotify && event.xmap.event == root) {
                    appeared.insert_or_assign(event.xmap.window, now);
                } else if (event.type == DestroyNotify && event.xdestroywindow.event == root) {
                    appeared.erase(event.xdestroywindow.window);
                } else if (event.type == ConfigureNotify && event.xconfigure.event == root &&
                           outcome == Outcome::Placed) {
                    const XConfigureEvent& c = event.xconfigure;
                    const int border = 2 * c.border_width;
                    if (c.x == target.left && c.y == target.top &&
                        c.width + border == target.width && c.height + border == target.height)
                        if (const auto found = appeared.find(c.window); found != appeared.end()) {
                            delay = now - found->second;
                            appeared.erase(found);
                        }
                } else if (event.type == UnmapNotify && event.xunmap.event == root &&
                           outcome == Outcome::Withdrawn) {
                    if (const auto found = appeared.find(event.xunmap.window);
                        found != appeared.end()) {
                        delay = now - found->second;
                        appeared.erase(found);
                    }
                }
                if (delay && write(result, &*delay, sizeof *delay) != sizeof *delay) return;
            }
        }
        XCloseDisplay(display);
    }

    pid_t child_ = 0;
    int stop_ = -1;
    int result_ = -1;
};

}  // namespace vardo::bench
