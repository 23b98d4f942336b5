#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XRes.h>
#include <signal.h>

namespace vardo::test {

// Stops the window manager of a display (found through the X server, by the owner of WM_S0) for
// as long as it lives, and lets it go on in any case.
class StoppedWindowManager {
  public:
    explicit StoppedWindowManager(Display* display) : pid_(WindowManagerProcess(display)) {
        if (pid_ > 0) ::kill(pid_, SIGSTOP);
    }
    ~StoppedWindowManager() { Resume(); }
    StoppedWindowManager(const StoppedWindowManager&) = delete;
    StoppedWindowManager& operator=(const StoppedWindowManager&) = delete;

    bool Stopped() const { return pid_ > 0; }
    void Resume() {
        if (pid_ > 0) ::kill(pid_, SIGCONT);
        pid_ = 0;
    }

  private:
    static int WindowManagerProcess(Display* display) {
        const Window owner = XGetSelectionOwner(display, XInternAtom(display, "WM_S0", False));
        if (owner == 0) return 0;
        XResClientIdSpec spec{owner, XRES_CLIENT_ID_PID_MASK};
        long count = 0;
        XResClientIdValue* values = nullptr;
        if (XResQueryClientIds(display, 1, &spec, &count, &values) != 0) return 0;
        const int pid = count > 0 ? XResGetClientPid(&values[0]) : 0;
        XResClientIdsDestroy(count, values);
        return pid;
    }

    int pid_;
};

}  // namespace vardo::test
