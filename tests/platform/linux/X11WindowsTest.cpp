#include "X11Windows.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>

#include "PlatformTestSupport.h"
#include "WindowEventLoop.h"

// Xlib defines macros (None, Bool, Status) that clash with GoogleTest: include it last.
#include <X11/Xlib.h>

namespace vardo::platform {
namespace {

using test::HelperProcess;
using test::TempFolder;
using test::TestClientPath;
using test::WaitUntil;

constexpr Rect kMonitor1{0, 0, 1920, 1080};
constexpr Rect kMonitor2{1920, 0, 1920, 1080};

std::optional<std::string> TestDisplay(const char* variable) {
    const char* value = std::getenv(variable);
    if (!value || !*value) return std::nullopt;
    return std::string(value);
}

std::optional<TopLevelWindow> FindByCaption(const std::vector<TopLevelWindow>& windows,
                                            const std::string& caption) {
    for (const auto& window : windows)
        if (window.caption == caption) return window;
    return std::nullopt;
}

// The pid listed for the window with this caption; -1 when no such window is listed.
int ProcessOfCaption(const std::vector<TopLevelWindow>& windows, const std::string& caption) {
    const auto window = FindByCaption(windows, caption);
    return window ? window->processId : -1;
}

std::ptrdiff_t PositionOf(const std::vector<TopLevelWindow>& windows, const std::string& caption) {
    const auto found = std::find_if(windows.begin(), windows.end(),
                                    [&](const auto& window) { return window.caption == caption; });
    return found == windows.end() ? -1 : found - windows.begin();
}

// Runs on both test displays: with openbox and without any window manager.
class X11WindowsTest : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        display_ = TestDisplay(GetParam());
        ASSERT_TRUE(display_) << GetParam()
                              << " is not set: the X test bed is not running (scripts/test.sh)";
        windows_ = std::make_unique<X11Windows>(*display_);
        ASSERT_TRUE(windows_->Available()) << "cannot open " << *display_;
        // A separate plain connection to look at the server's own view of a window.
        observer_ = XOpenDisplay(display_->c_str());
        ASSERT_NE(observer_, nullptr);
    }
    void TearDown() override {
        helpers_.clear();
        if (observer_) XCloseDisplay(observer_);
    }

    // Captions carry the test process and run, so that tests running side by side on the same
    // display (or a repeated run meeting windows of the one before) never see each other's.
    std::string Named(const std::string& caption) const {
        return caption + " [" + std::to_string(getpid()) + "." + std::to_string(run_) + "]";
    }

    bool WithWindowManager() const { return std::string(GetParam()) == "VARDO_TEST_DISPLAY_WM"; }

    // Starts the X test client on the test display; returns the pid that owns its windows.
    int StartClient(const std::vector<std::string>& options) {
        const std::string ready = folder_.File("ready" + std::to_string(helpers_.size()));
        std::vector<std::string> argv{TestClientPath(), "--display", *display_, "--ready", ready};
        argv.insert(argv.end(), options.begin(), options.end());
        helpers_.push_back(std::make_unique<HelperProcess>(argv));
        return test::WaitForReadyPid(ready);
    }

    // Waits until a window with this caption is listed and, unless it stays unmapped, mapped
    // (under a window manager: inside its frame).
    TopLevelWindow WaitForWindow(const std::string& caption, bool mapped = true) {
        std::optional<TopLevelWindow> found;
        WaitUntil([&] {
            found = FindByCaption(windows_->EnumWindows(), caption);
            if (!found) return false;
            if (!mapped) return true;
            return IsMapped(found->window) &&
                   (!WithWindowManager() || ParentOf(found->window) != Root());
        });
        EXPECT_TRUE(found) << "no window \"" << caption << "\"";
        return found.value_or(TopLevelWindow{});
    }

    // The outer rectangle once the window manager has stopped changing it.
    std::optional<Rect> SettledRect(WindowHandle window) {
        std::optional<Rect> previous;
        std::optional<Rect> current;
        WaitUntil([&] {
            previous = current;
            current = windows_->GetWindowRect(window);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            return current && current == previous;
        });
        return current;
    }

    // Runs the events of the windows under test until the window's rectangle satisfies
    // `placed`; the rectangle as it then stands.
    std::optional<Rect> PlacedRect(WindowHandle window,
                                   const std::function<bool(const Rect&)>& placed) {
        std::optional<Rect> rect;
        test::RunWindowEventsUntil(*windows_, [&] {
            rect = windows_->GetWindowRect(window);
            return rect && placed(*rect);
        });
        return rect;
    }
    std::optional<Rect> PlacedRect(WindowHandle window, const Rect& wanted) {
        return PlacedRect(window, [&](const Rect& rect) { return rect == wanted; });
    }

    Window Root() const { return DefaultRootWindow(observer_); }
    Window ParentOf(WindowHandle window) const {
        Window root = None;
        Window parent = None;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(observer_, window, &root, &parent, &children, &count)) return None;
        if (children) XFree(children);
        return parent;
    }
    bool IsMapped(WindowHandle window) const {
        XWindowAttributes attributes{};
        return XGetWindowAttributes(observer_, window, &attributes) &&
               attributes.map_state != IsUnmapped;
    }

    std::optional<std::string> display_;
    std::unique_ptr<X11Windows> windows_;
    Display* observer_ = nullptr;
    TempFolder folder_;
    std::vector<std::unique_ptr<HelperProcess>> helpers_;
    const int run_ = ++runs_;
    static inline int runs_ = 0;
};

TEST_P(X11WindowsTest, Monitors_TwoMonitorsSideBySide_InServerOrder) {
    EXPECT_EQ(windows_->Monitors(), (std::vector<Rect>{kMonitor1, kMonitor2}));
}

TEST_P(X11WindowsTest, WindowManagerRunning_MatchesTheTestDisplay) {
    EXPECT_EQ(windows_->WindowManagerRunning(), WithWindowManager());
}

TEST_P(X11WindowsTest, EnumWindows_SeveralProcesses_TopFirstWithCaptionsAndPids) {
    const int first = StartClient({"--window", Named("Vardo first")});
    WaitForWindow(Named("Vardo first"));
    const int second =
        StartClient({"--window", Named("Vardo second a"), "--window", Named("Vardo second b")});
    WaitForWindow(Named("Vardo second b"));
    const int hidden = StartClient({"--unmapped", "--window", Named("Vardo never mapped")});
    WaitForWindow(Named("Vardo never mapped"), false);
    helpers_.push_back(std::make_unique<HelperProcess>(
        std::vector<std::string>{"xlogo", "-display", *display_, "-title", Named("Vardo xlogo")}));
    const int xlogo = helpers_.back()->pid();
    WaitForWindow(Named("Vardo xlogo"));

    const auto windows = windows_->EnumWindows();
    EXPECT_EQ(ProcessOfCaption(windows, Named("Vardo first")), first);
    EXPECT_EQ(ProcessOfCaption(windows, Named("Vardo second a")), second);
    EXPECT_EQ(ProcessOfCaption(windows, Named("Vardo second b")), second);
    EXPECT_EQ(ProcessOfCaption(windows, Named("Vardo never mapped")), hidden);
    // xlogo sets no _NET_WM_PID: its pid comes from the X server.
    EXPECT_EQ(ProcessOfCaption(windows, Named("Vardo xlogo")), xlogo);
    // Mapped later means higher in the stack.
    EXPECT_LT(PositionOf(windows, Named("Vardo xlogo")),
              PositionOf(windows, Named("Vardo second b")));
    EXPECT_LT(PositionOf(windows, Named("Vardo second b")),
              PositionOf(windows, Named("Vardo second a")));
    EXPECT_LT(PositionOf(windows, Named("Vardo second a")),
              PositionOf(windows, Named("Vardo first")));
    EXPECT_FALSE(IsMapped(
        FindByCaption(windows, Named("Vardo never mapped")).value_or(TopLevelWindow{}).window));
}

TEST_P(X11WindowsTest, EnumWindows_WindowOpenedByForkedChild_BelongsToTheChild) {
    const std::string ready = folder_.File("forked");
    helpers_.push_back(std::make_unique<HelperProcess>(
        std::vector<std::string>{TestClientPath(), "--display", *display_, "--child", "--ready",
                                 ready, "--no-pid", "--window", Named("Vardo forked")}));
    const int launcher = helpers_.back()->pid();
    const int child = test::WaitForReadyPid(ready);
    test::KillOnExit cleanup(child);
    ASSERT_GT(child, 0);
    EXPECT_NE(child, launcher);
    EXPECT_EQ(WaitForWindow(Named("Vardo forked")).processId, child);
}

TEST_P(X11WindowsTest, EnumWindows_Captions_Utf8LegacyAndCutAt255Characters) {
    const std::string utf8 = Named("播放器 Vardo — 第一");
    const std::string longPrefix = Named("Vardo long") + " ";  // ASCII: one byte per character
    std::string longCaption = longPrefix;
    for (int i = 0; i < 300; ++i) longCaption += "字";
    StartClient({"--window", utf8, "--window", longCaption});
    StartClient(
        {"--wm-name-only", "--window", Named("Vardo caf\xe9"), "--window", Named(" Vardo lead")});
    WaitForWindow(utf8);
    // Latin-1 WM_NAME arrives as UTF-8; a leading blank is part of the caption.
    WaitForWindow(Named("Vardo caf\xc3\xa9"));
    WaitForWindow(Named(" Vardo lead"));
    const auto windows = windows_->EnumWindows();
    const auto cut = std::find_if(windows.begin(), windows.end(), [&](const auto& window) {
        return window.caption.rfind(longPrefix, 0) == 0;
    });
    ASSERT_NE(cut, windows.end());
    std::string expected = longPrefix;
    while (expected.size() < longPrefix.size() + 3 * (255 - longPrefix.size())) expected += "字";
    EXPECT_EQ(cut->caption, expected);
}

TEST_P(X11WindowsTest, MoveWindow_OnMonitor2_KeepsTheSize) {
    StartClient({"--size", "400x300", "--window", Named("Vardo move")});
    const auto window = WaitForWindow(Named("Vardo move"));
    const auto before = SettledRect(window.window);
    ASSERT_TRUE(before);
    windows_->MoveWindow(window.window, kMonitor2.left + 100, 50);
    const Rect wanted{kMonitor2.left + 100, 50, before->width, before->height};
    EXPECT_EQ(PlacedRect(window.window, wanted), wanted);
}

TEST_P(X11WindowsTest, MoveResizeWindow_FillMonitor2_GivesExactlyItsRectangle) {
    StartClient({"--window", Named("Vardo fill")});
    helpers_.push_back(std::make_unique<HelperProcess>(
        std::vector<std::string>{"xlogo", "-display", *display_, "-title", Named("Vardo xlogo")}));
    for (const std::string& caption : {Named("Vardo fill"), Named("Vardo xlogo")}) {
        const auto window = WaitForWindow(caption);
        windows_->MoveResizeWindow(window.window, kMonitor2);
        EXPECT_EQ(PlacedRect(window.window, kMonitor2), kMonitor2) << caption;
        // Asked again for the same place (openbox would drop a repeated request).
        windows_->MoveResizeWindow(window.window, {100, 100, 500, 400});
        windows_->MoveResizeWindow(window.window, kMonitor2);
        EXPECT_EQ(PlacedRect(window.window, kMonitor2), kMonitor2) << caption;
    }
}

TEST_P(X11WindowsTest, MoveResizeWindow_WindowJustMapped_ItsFrameFillsMonitor2) {
    // Placed before the window manager has taken the window on: the frame it adds afterwards
    // must not be put around a client that already has the whole monitor's size.
    const Window window = XCreateSimpleWindow(observer_, Root(), 0, 0, 400, 300, 0, 0, 0);
    XMapWindow(observer_, window);
    XSync(observer_, False);
    windows_->MoveResizeWindow(window, kMonitor2);
    EXPECT_EQ(PlacedRect(window, kMonitor2), kMonitor2);
    XDestroyWindow(observer_, window);
    XSync(observer_, False);
}

TEST_P(X11WindowsTest, MoveResizeWindow_SamePlaceTheClientAskedForUnderStaticGravity_IsCarriedOut) {
    // openbox drops a request for the very position the client asked for under another
    // gravity, size and all, unless it is asked for a different position first.
    StartClient({"--position", "2000,100", "--static-gravity", "--window", Named("Vardo static")});
    const auto window = WaitForWindow(Named("Vardo static"));
    ASSERT_TRUE(SettledRect(window.window));
    windows_->MoveWindow(window.window, 2000, 100);
    windows_->MoveResizeWindow(window.window, {2000, 100, 500, 400});
    EXPECT_EQ(PlacedRect(window.window, {2000, 100, 500, 400}), (Rect{2000, 100, 500, 400}));
}

TEST_P(X11WindowsTest, MoveResizeWindow_WindowWithResizeIncrements_StartsAtTheCornerAndFitsInside) {
    helpers_.push_back(std::make_unique<HelperProcess>(std::vector<std::string>{
        "xterm", "-display", *display_, "-title", Named("Vardo xterm"), "-e", "sleep", "60"}));
    const auto window = WaitForWindow(Named("Vardo xterm"));
    windows_->MoveResizeWindow(window.window, kMonitor2);
    const auto rect = PlacedRect(window.window, [](const Rect& placed) {
        return placed.left == kMonitor2.left && placed.width > kMonitor2.width - 40;
    });
    ASSERT_TRUE(rect);
    EXPECT_EQ(rect->left, kMonitor2.left);
    EXPECT_EQ(rect->top, kMonitor2.top);
    // The terminal keeps to whole character cells, so it may end a little short.
    EXPECT_LE(rect->width, kMonitor2.width);
    EXPECT_GT(rect->width, kMonitor2.width - 40);
    EXPECT_LE(rect->height, kMonitor2.height);
    EXPECT_GT(rect->height, kMonitor2.height - 40);
}

TEST_P(X11WindowsTest, HideWindow_ReallyUnmapsAndStaysListed_ThenCanBePlaced) {
    StartClient({"--window", Named("Vardo hide")});
    const auto window = WaitForWindow(Named("Vardo hide"));
    ASSERT_TRUE(IsMapped(window.window));
    windows_->HideWindow(window.window);
    EXPECT_TRUE(test::RunWindowEventsUntil(*windows_, [&] { return !IsMapped(window.window); }));
    // The window manager gives the withdrawn window back to the root a moment after it unmaps;
    // a listing taken in between walks the frame as the client leaves it.
    std::optional<TopLevelWindow> listed;
    EXPECT_TRUE(test::RunWindowEventsUntil(*windows_, [&] {
        listed = FindByCaption(windows_->EnumWindows(), Named("Vardo hide"));
        return listed.has_value();
    }));
    ASSERT_TRUE(listed);
    EXPECT_EQ(listed->window, window.window);
    // Hidden windows are also given the monitor's rectangle (hide mode).
    windows_->MoveResizeWindow(window.window, kMonitor2);
    EXPECT_EQ(PlacedRect(window.window, kMonitor2), kMonitor2);
    EXPECT_FALSE(IsMapped(window.window));
}

TEST_P(X11WindowsTest, RaiseWindow_LowerWindow_ComesFirst) {
    StartClient({"--window", Named("Vardo lower")});
    const auto lower = WaitForWindow(Named("Vardo lower"));
    StartClient({"--window", Named("Vardo upper")});
    WaitForWindow(Named("Vardo upper"));
    windows_->RaiseWindow(lower.window);
    EXPECT_TRUE(WaitUntil(
        [&] {
            const auto windows = windows_->EnumWindows();
            return PositionOf(windows, Named("Vardo lower")) <
                   PositionOf(windows, Named("Vardo upper"));
        },
        std::chrono::seconds(2)));
}

TEST_P(X11WindowsTest, VanishedOrBogusWindows_AreHarmless) {
    const WindowHandle bogus = 0x7ffffff;
    EXPECT_FALSE(windows_->GetWindowRect(bogus));
    EXPECT_FALSE(windows_->GetWindowRect(0));
    windows_->MoveWindow(bogus, 10, 10);
    windows_->MoveResizeWindow(bogus, kMonitor2);
    windows_->RaiseWindow(bogus);
    windows_->HideWindow(bogus);
    EXPECT_EQ(windows_->Monitors().size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(TestBed, X11WindowsTest,
                         ::testing::Values("VARDO_TEST_DISPLAY_WM", "VARDO_TEST_DISPLAY_BARE"),
                         [](const auto& info) {
                             return std::string(info.param) == "VARDO_TEST_DISPLAY_WM"
                                        ? "WithWindowManager"
                                        : "WithoutWindowManager";
                         });

// Starts an X server of the test's own (which it may end) and returns its display name; empty
// when it did not come up.
std::string StartOwnServer(std::unique_ptr<HelperProcess>& server) {
    int ready[2] = {-1, -1};
    if (pipe(ready) != 0) return {};
    server = std::make_unique<HelperProcess>(std::vector<std::string>{
        "Xvfb", "-displayfd", std::to_string(ready[1]), "-nolisten", "tcp", "-noreset"});
    close(ready[1]);
    std::string number;
    pollfd entry{ready[0], POLLIN, 0};
    char c = 0;
    while (poll(&entry, 1, 10000) == 1 && read(ready[0], &c, 1) == 1 && c != '\n') number += c;
    close(ready[0]);
    return number.empty() ? std::string{} : ":" + number;
}

// Connections whose loss reached the test's own I/O error handler.
std::vector<Display*> lostForeignConnections;

TEST(X11WindowsConnectionLoss, ServerGoesAway_ProgramRunsOnAndOtherConnectionsKeepTheirHandler) {
    std::unique_ptr<HelperProcess> server;
    const std::string display = StartOwnServer(server);
    ASSERT_FALSE(display.empty()) << "Xvfb did not start";
    // Another connection of the process (as the toolkit's would be) with a handler of its own.
    XSetIOErrorHandler([](Display* lost) {
        lostForeignConnections.push_back(lost);
        return 0;
    });
    Display* foreign = XOpenDisplay(display.c_str());
    ASSERT_NE(foreign, nullptr);
    XSetIOErrorExitHandler(
        foreign, [](Display*, void*) {}, nullptr);
    X11Windows{display};  // one that came and went before
    X11Windows windows(display);
    ASSERT_TRUE(windows.Available());
    ASSERT_FALSE(windows.Monitors().empty());
    server.reset();  // ends the server

    // Xlib's default would end this process at the first request.
    EXPECT_TRUE(windows.EnumWindows().empty());
    EXPECT_FALSE(windows.Available());
    EXPECT_TRUE(windows.Monitors().empty());
    EXPECT_FALSE(windows.GetWindowRect(1));
    windows.MoveResizeWindow(1, kMonitor2);
    windows.RaiseWindow(1);
    windows.HideWindow(1);
    EXPECT_FALSE(windows.WindowManagerRunning());

    XSync(foreign, False);
    EXPECT_NE(std::find(lostForeignConnections.begin(), lostForeignConnections.end(), foreign),
              lostForeignConnections.end());
    XCloseDisplay(foreign);
}

TEST(X11WindowsUnreachable, NoSuchDisplay_IsUnavailableAndEmpty) {
    X11Windows windows(":987");
    EXPECT_FALSE(windows.Available());
    EXPECT_TRUE(windows.EnumWindows().empty());
    EXPECT_TRUE(windows.Monitors().empty());
    EXPECT_FALSE(windows.GetWindowRect(1));
}

}  // namespace
}  // namespace vardo::platform
