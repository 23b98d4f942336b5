#include "Win32Windows.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>
#include <thread>

#include "Win32Processes.h"
#include "WinTestClient.h"

namespace vardo::platform {
namespace {

using std::chrono::milliseconds;

// Runs the thread's message loop (which delivers the event hook's calls) until done() holds or
// ten seconds have passed.
bool PumpUntil(const std::function<bool()>& done) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < until) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
        if (done()) return true;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return done();
}

class Win32WindowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The test bed is Xorg's dummy driver with two monitors side by side (scripts/winebed.sh).
        ASSERT_EQ(windows_.Monitors().size(), 2u)
            << "needs Wine on the two-monitor X test bed: scripts/winebed.sh start DIR";
    }
    void TearDown() override {
        for (const ProcessHandle handle : started_) processes_.TerminateProcess(handle, 1);
    }

    // Starts the test client with one window of this caption and returns that window.
    TopLevelWindow StartClient(const std::string& caption, const std::string& options = {}) {
        ProcessInformation info;
        EXPECT_TRUE(processes_.CreateProcess(
            test::WinTestClientCommand("--window \"" + caption + "\" " + options), "", true, info));
        started_.push_back(info.processHandle);
        TopLevelWindow found;
        PumpUntil([&] {
            for (const TopLevelWindow& window : windows_.EnumWindows())
                if (window.processId == info.processId && window.caption == caption) found = window;
            return found.window != 0;
        });
        return found;
    }

    std::optional<Rect> WaitForRect(WindowHandle window, const Rect& wanted) {
        std::optional<Rect> rect;
        PumpUntil([&] { return (rect = windows_.GetWindowRect(window)) == wanted; });
        return rect;
    }

    Win32Windows windows_;
    Win32Processes processes_;
    std::vector<ProcessHandle> started_;
};

TEST_F(Win32WindowsTest, Monitors_AreListedInTheSystemsOrderWithTheirFullBounds) {
    EXPECT_EQ(windows_.Monitors(), (std::vector<Rect>{{0, 0, 1920, 1080}, {1920, 0, 1920, 1080}}));
}

TEST_F(Win32WindowsTest, EnumWindows_FindsATasksWindowWithItsProcessAndCaption) {
    const TopLevelWindow window = StartClient("节目 播放器");
    ASSERT_NE(window.window, 0u);
    EXPECT_TRUE(window.viewable);
    EXPECT_EQ(window.role, WindowRole::Main);
}

TEST_F(Win32WindowsTest, Placement_FillsMonitorTwoOrShiftsOntoItKeepingTheSize) {
    const TopLevelWindow filled = StartClient("fill");
    ASSERT_NE(filled.window, 0u);
    windows_.MoveResizeWindow(filled.window, {1920, 0, 1920, 1080});
    EXPECT_EQ(WaitForRect(filled.window, {1920, 0, 1920, 1080}), (Rect{1920, 0, 1920, 1080}));
    const HMONITOR monitor = ::MonitorFromWindow(reinterpret_cast<HWND>(filled.window),
                                                 MONITOR_DEFAULTTONULL);
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetMonitorInfoW(monitor, &info));
    EXPECT_EQ(std::wstring(info.szDevice), L"\\\\.\\DISPLAY2");

    const TopLevelWindow kept = StartClient("keep", "--size 400x300 --position 50,60");
    ASSERT_NE(kept.window, 0u);
    const std::optional<Rect> before = windows_.GetWindowRect(kept.window);
    ASSERT_TRUE(before);
    windows_.MoveWindow(kept.window, 1920 + before->left, before->top);
    const Rect shifted{1920 + before->left, before->top, before->width, before->height};
    EXPECT_EQ(WaitForRect(kept.window, shifted), shifted);
}

TEST_F(Win32WindowsTest, Hide_LeavesTheWindowFoundButNotViewable) {
    const TopLevelWindow window = StartClient("hide");
    ASSERT_NE(window.window, 0u);
    windows_.HideWindow(window.window);
    EXPECT_TRUE(PumpUntil([&] {
        for (const TopLevelWindow& found : windows_.EnumWindows())
            if (found.window == window.window) return !found.viewable;
        return false;
    }));
}

}  // namespace
}  // namespace vardo::platform
