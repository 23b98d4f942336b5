// xtestclient: a small X client whose behaviour the tests choose on the command line. It opens
// top-level windows with given captions and sizes (optionally late, from a forked child process,
// or unmapped), reports where it runs, and exits after a given time with a given code.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr const char* kUsage = R"(usage: xtestclient [options]

Without --window no X connection is made: the program only reports and waits. Arguments that
do not start with "--" are accepted and ignored (--write-args reports them).

  --window CAPTION     open a top-level window with this UTF-8 caption (repeatable; windows are
                       created in order, so the last one ends on top)
  --size WxH           size of every window (default 300x200)
  --position X,Y       ask for this position of every window (user-specified position)
  --static-gravity     declare static window gravity (the position is the client's own corner,
                       not the frame's, as many toolkits do)
  --delay MS           wait MS milliseconds before opening the windows
  --child              open the windows in a forked child process; the started process waits
                       for it and exits with its exit code (the windows belong to another pid)
  --unmapped           create the windows without mapping them
  --leader MS          as toolkits do: create an unmapped leader window (with the first caption)
                       at once, and open the windows MS milliseconds later
  --move-after MS,X,Y  MS milliseconds after a window is shown, move it to X,Y itself
  --retitle MS,TEXT    MS milliseconds after a window is shown, change its caption to TEXT
  --override-redirect  open override-redirect windows (no window manager frame)
  --type TYPE          give the --window windows _NET_WM_WINDOW_TYPE_TYPE (NORMAL, DIALOG, ...)
  --dialog CAPTION     also open a dialog: transient for the first window, of type dialog
  --tooltip CAPTION    also open a tooltip: an override-redirect window of type tooltip
  --later MS,CAPTION   MS milliseconds after the windows, open another one with this caption
  --hold-position X,Y  whenever a window is moved elsewhere, move it back to X,Y at once (with
                       --static-gravity the client's own corner; a client fighting a placement)
  --wm-name-only       set only WM_NAME (Latin-1 STRING), no _NET_WM_NAME
  --no-pid             do not set _NET_WM_PID
  --lifetime MS        exit after MS milliseconds (default: run until killed)
  --exit-code N        exit code at the end of the lifetime (default 0; the system keeps N & 255)
  --ready FILE         once the windows exist, write the pid of the process that owns them to
                       FILE (written to FILE.tmp and renamed, so FILE appears complete)
  --write-cwd FILE     write the working directory to FILE at start
  --write-args FILE    write argv, one argument per line, to FILE at start
  --write-env FILE     write the environment, one NAME=value per line, to FILE at start
  --display NAME       X display to use (default $DISPLAY)
  --help               show this text
)";

struct Options {
    std::vector<std::string> captions;
    unsigned width = 300;
    unsigned height = 200;
    std::optional<std::pair<int, int>> position;
    bool staticGravity = false;
    int delayMs = 0;
    bool child = false;
    bool unmapped = false;
    std::optional<int> leaderMs;
    std::optional<int> moveAfterMs;
    std::pair<int, int> moveTo{0, 0};
    std::optional<int> retitleAfterMs;
    std::string retitle;
    bool overrideRedirect = false;
    std::string dialog;
    std::string tooltip;
    std::string windowType;
    std::optional<int> laterMs;
    std::string laterCaption;
    std::optional<std::pair<int, int>> holdPosition;
    bool wmNameOnly = false;
    bool setPid = true;
    std::optional<int> lifetimeMs;
    int exitCode = 0;
    std::string readyFile;
    std::string cwdFile;
    std::string argsFile;
    std::string environmentFile;
    std::string display;
};

[[noreturn]] void Fail(const std::string& message) {
    std::cerr << "xtestclient: " << message << "\n" << kUsage;
    std::exit(2);
}

int ParseInt(const std::string& text, const std::string& option) {
    try {
        std::size_t used = 0;
        const int value = std::stoi(text, &used);
        if (used == text.size()) return value;
    } catch (const std::exception&) {
    }
    Fail("bad number for " + option + ": " + text);
}

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) Fail(option + " needs a value");
            return argv[++i];
        };
        if (option == "--help") {
            std::cout << kUsage;
            std::exit(0);
        } else if (option == "--window") {
            options.captions.push_back(value());
        } else if (option == "--size") {
            const std::string size = value();
            const auto x = size.find('x');
            if (x == std::string::npos) Fail("bad size: " + size);
            options.width = static_cast<unsigned>(ParseInt(size.substr(0, x), option));
            options.height = static_cast<unsigned>(ParseInt(size.substr(x + 1), option));
        } else if (option == "--position") {
            const std::string position = value();
            const auto comma = position.find(',');
            if (comma == std::string::npos) Fail("bad position: " + position);
            options.position = {ParseInt(position.substr(0, comma), option),
                                ParseInt(position.substr(comma + 1), option)};
        } else if (option == "--static-gravity") {
            options.staticGravity = true;
        } else if (option == "--delay") {
            options.delayMs = ParseInt(value(), option);
        } else if (option == "--child") {
            options.child = true;
        } else if (option == "--unmapped") {
            options.unmapped = true;
        } else if (option == "--leader") {
            options.leaderMs = ParseInt(value(), option);
        } else if (option == "--move-after") {
            const std::string move = value();
            const auto first = move.find(',');
            const auto second = move.find(',', first == std::string::npos ? first : first + 1);
            if (second == std::string::npos) Fail("bad --move-after: " + move);
            options.moveAfterMs = ParseInt(move.substr(0, first), option);
            options.moveTo = {ParseInt(move.substr(first + 1, second - first - 1), option),
                              ParseInt(move.substr(second + 1), option)};
        } else if (option == "--retitle") {
            const std::string retitle = value();
            const auto comma = retitle.find(',');
            if (comma == std::string::npos) Fail("bad --retitle: " + retitle);
            options.retitleAfterMs = ParseInt(retitle.substr(0, comma), option);
            options.retitle = retitle.substr(comma + 1);
        } else if (option == "--type") {
            options.windowType = "_NET_WM_WINDOW_TYPE_" + value();
        } else if (option == "--dialog") {
            options.dialog = value();
        } else if (option == "--tooltip") {
            options.tooltip = value();
        } else if (option == "--later") {
            const std::string later = value();
            const auto comma = later.find(',');
            if (comma == std::string::npos) Fail("bad --later: " + later);
            options.laterMs = ParseInt(later.substr(0, comma), option);
            options.laterCaption = later.substr(comma + 1);
        } else if (option == "--hold-position") {
            const std::string position = value();
            const auto comma = position.find(',');
            if (comma == std::string::npos) Fail("bad --hold-position: " + position);
            options.holdPosition = {ParseInt(position.substr(0, comma), option),
                                    ParseInt(position.substr(comma + 1), option)};
        } else if (option == "--override-redirect") {
            options.overrideRedirect = true;
        } else if (option == "--wm-name-only") {
            options.wmNameOnly = true;
        } else if (option == "--no-pid") {
            options.setPid = false;
        } else if (option == "--lifetime") {
            options.lifetimeMs = ParseInt(value(), option);
        } else if (option == "--exit-code") {
            options.exitCode = ParseInt(value(), option);
        } else if (option == "--ready") {
            options.readyFile = value();
        } else if (option == "--write-cwd") {
            options.cwdFile = value();
        } else if (option == "--write-args") {
            options.argsFile = value();
        } else if (option == "--write-env") {
            options.environmentFile = value();
        } else if (option == "--display") {
            options.display = value();
        } else if (option.rfind("--", 0) == 0) {
            Fail("unknown option " + option);
        } else {
            continue;  // a plain argument, only reported by --write-args
        }
    }
    return options;
}

void WriteFileAtomically(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file << text;
    }
    std::rename(temporary.c_str(), path.c_str());
}

void ReportLaunch(const Options& options, int argc, char** argv) {
    if (!options.cwdFile.empty()) {
        char buffer[4096];
        WriteFileAtomically(options.cwdFile, getcwd(buffer, sizeof buffer) ? buffer : "");
    }
    if (!options.argsFile.empty()) {
        std::string text;
        for (int i = 0; i < argc; ++i) text += std::string(argv[i]) + "\n";
        WriteFileAtomically(options.argsFile, text);
    }
    if (!options.environmentFile.empty()) {
        std::string text;
        for (char** entry = environ; *entry != nullptr; ++entry) text += std::string(*entry) + "\n";
        WriteFileAtomically(options.environmentFile, text);
    }
}

void SetCaption(Display* display, Window window, const std::string& caption, bool wmNameOnly) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(caption.data());
    const int length = static_cast<int>(caption.size());
    if (wmNameOnly) {
        XChangeProperty(display, window, XA_WM_NAME, XA_STRING, 8, PropModeReplace, bytes, length);
        return;
    }
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False), utf8, 8,
                    PropModeReplace, bytes, length);
    XChangeProperty(display, window, XA_WM_NAME, utf8, 8, PropModeReplace, bytes, length);
}

void SetWindowType(Display* display, Window window, const char* type) {
    const Atom value = XInternAtom(display, type, False);
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_WINDOW_TYPE", False), XA_ATOM,
                    32, PropModeReplace, reinterpret_cast<const unsigned char*>(&value), 1);
}

Window CreateWindow(Display* display, const Options& options, const std::string& caption) {
    const int screen = DefaultScreen(display);
    const long pid = getpid();
    const auto [x, y] = options.position.value_or(std::pair{0, 0});
    XSetWindowAttributes attributes{};
    attributes.background_pixel = WhitePixel(display, screen);
    attributes.override_redirect = options.overrideRedirect;
    attributes.event_mask = StructureNotifyMask;
    const Window window =
        XCreateWindow(display, RootWindow(display, screen), x, y, options.width, options.height, 0,
                      CopyFromParent, InputOutput, CopyFromParent,
                      CWBackPixel | CWOverrideRedirect | CWEventMask, &attributes);
    XSizeHints hints{};
    if (options.position) hints.flags |= USPosition;
    if (options.staticGravity) {
        hints.flags |= PWinGravity;
        hints.win_gravity = StaticGravity;
    }
    XSetWMNormalHints(display, window, &hints);
    SetCaption(display, window, caption, options.wmNameOnly);
    if (options.setPid) {
        XChangeProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL,
                        32, PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
    }
    XClassHint classHint{const_cast<char*>("xtestclient"), const_cast<char*>("XTestClient")};
    XSetClassHint(display, window, &classHint);
    return window;
}

void OpenWindows(Display* display, const Options& options) {
    Window first = None;
    for (const auto& caption : options.captions) {
        const Window window = CreateWindow(display, options, caption);
        if (!options.windowType.empty()) SetWindowType(display, window, options.windowType.c_str());
        if (first == None) first = window;
        if (!options.unmapped) XMapWindow(display, window);
    }
    if (!options.dialog.empty()) {
        Options managed = options;
        managed.overrideRedirect = false;
        const Window dialog = CreateWindow(display, managed, options.dialog);
        XSetTransientForHint(display, dialog, first);
        SetWindowType(display, dialog, "_NET_WM_WINDOW_TYPE_DIALOG");
        XMapWindow(display, dialog);
    }
    if (!options.tooltip.empty()) {
        Options bare = options;
        bare.overrideRedirect = true;
        const Window tooltip = CreateWindow(display, bare, options.tooltip);
        SetWindowType(display, tooltip, "_NET_WM_WINDOW_TYPE_TOOLTIP");
        XMapWindow(display, tooltip);
    }
    XSync(display, False);
}

// --hold-position: where the window's own corner stands on the root, and back to X,Y if it is
// elsewhere.
void HoldPosition(Display* display, Window window, std::pair<int, int> position) {
    int x = 0;
    int y = 0;
    Window child = None;
    if (!XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child))
        return;
    if (x == position.first && y == position.second) return;
    XMoveWindow(display, window, position.first, position.second);
    XFlush(display);
}

// The toolkit's leader: never mapped, carrying the process's identity (and here the caption).
void OpenLeader(Display* display, const Options& options) {
    Options leader = options;
    leader.overrideRedirect = false;
    CreateWindow(display, leader, options.captions.front());
    XSync(display, False);
}

// Serves the X connection (if any) until the lifetime has passed; forever without a lifetime.
// Carries out --move-after and --retitle once their time after a window's first showing has come.
void Serve(Display* display, const Options& options) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = options.lifetimeMs
                              ? Clock::now() + std::chrono::milliseconds(*options.lifetimeMs)
                              : Clock::time_point::max();
    enum class Action { Move, Retitle, Open };
    struct Pending {
        Clock::time_point at;
        Window window;
        Action action;
    };
    std::vector<Pending> pending;
    if (options.laterMs)
        pending.push_back(
            {Clock::now() + std::chrono::milliseconds(*options.laterMs), None, Action::Open});
    std::vector<Window> seen;
    for (;;) {
        while (display && XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == ConfigureNotify && options.holdPosition)
                HoldPosition(display, event.xconfigure.window, *options.holdPosition);
            if (event.type != MapNotify) continue;
            const Window window = event.xmap.window;
            if (std::find(seen.begin(), seen.end(), window) != seen.end()) continue;
            seen.push_back(window);
            const auto now = Clock::now();
            if (options.moveAfterMs)
                pending.push_back(
                    {now + std::chrono::milliseconds(*options.moveAfterMs), window, Action::Move});
            if (options.retitleAfterMs)
                pending.push_back({now + std::chrono::milliseconds(*options.retitleAfterMs), window,
                                   Action::Retitle});
        }
        const auto now = Clock::now();
        for (auto due = pending.begin(); due != pending.end();) {
            if (due->at > now) {
                ++due;
                continue;
            }
            if (due->action == Action::Move) {
                XMoveWindow(display, due->window, options.moveTo.first, options.moveTo.second);
            } else if (due->action == Action::Retitle) {
                SetCaption(display, due->window, options.retitle, options.wmNameOnly);
            } else if (display) {
                XMapWindow(display, CreateWindow(display, options, options.laterCaption));
            }
            XFlush(display);
            due = pending.erase(due);
        }
        auto wake = deadline;
        for (const Pending& next : pending) wake = std::min(wake, next.at);
        int timeout = -1;
        if (wake != Clock::time_point::max()) {
            if (deadline <= now) return;
            timeout =
                static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(wake - now).count());
        }
        if (display) {
            pollfd connection{ConnectionNumber(display), POLLIN, 0};
            if (poll(&connection, 1, timeout) == 1 && (connection.revents & (POLLHUP | POLLERR)))
                return;
        } else {
            poll(nullptr, 0, timeout);
        }
    }
}

int Run(const Options& options) {
    if (options.delayMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(options.delayMs));
    Display* display = nullptr;
    if (!options.captions.empty()) {
        display = XOpenDisplay(options.display.empty() ? nullptr : options.display.c_str());
        if (!display) {
            std::cerr << "xtestclient: cannot open the display\n";
            return 3;
        }
        if (options.leaderMs) {
            OpenLeader(display, options);
            std::this_thread::sleep_for(std::chrono::milliseconds(*options.leaderMs));
        }
        OpenWindows(display, options);
    }
    if (!options.readyFile.empty())
        WriteFileAtomically(options.readyFile, std::to_string(getpid()) + "\n");
    Serve(display, options);
    if (display) XCloseDisplay(display);
    return options.exitCode;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv);
    ReportLaunch(options, argc, argv);
    if (!options.child) return Run(options);
    const pid_t child = fork();
    if (child < 0) return 4;
    if (child == 0) _exit(Run(options));
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return 4;
    }
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return 128 + WTERMSIG(status);
}
