#pragma once

// Watches the X server from a process of its own, as an operator's screen would show it: when
// each top-level window appears (its frame, under a window manager, is mapped), and when it then
// first stands on a given rectangle or is taken off the screen again. Being another process, it
// measures the program from outside, with Xlib state of its own.
#include <X11/Xlib.h>
#include <time.h>
#include <unistd.h>

#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ChildWatch.h"

namespace vardo::bench {

class PlacementObserver {
  public:
    enum class Outcome { Placed, Withdrawn };

    // Starts watching; returns once the observer sees every window mapped from now on.
    PlacementObserver(const std::string& display, Outcome outcome, int left, int top, int width,
                      int height)
        : watch_([&](int stop, int result) {
              Observe(display, outcome, {left, top, width, height}, stop, result);
          }) {
        char ready = 0;
        if (!watch_.Read(&ready, 1)) watch_.Finish();
    }

    // Milliseconds from each window's appearance to the outcome, for the windows that got there.
    std::vector<double> Stop() {
        const std::string written = watch_.Finish();
        std::vector<double> delays(written.size() / sizeof(double));
        std::memcpy(delays.data(), written.data(), delays.size() * sizeof(double));
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

    test::ChildWatch watch_;
};

}  // namespace vardo::bench
