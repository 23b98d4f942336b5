// The main window while the window manager does not answer: the program goes on ticking, and the
// placement it asked for lands once the window manager is back.
#include <signal.h>

#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>

#include "MainWindowFixture.h"
#include "TaskTable.h"

// Last: Xlib defines macros (None, Bool, Status) that clash with the headers above.
#include "StoppedWindowManager.h"

namespace vardo::test {
namespace {

using MainWindowWithWindowManagerTest = MainWindowFixture;

TEST_F(MainWindowWithWindowManagerTest, WindowManagerStoppedDuringAPlacement_ProgramKeepsTicking) {
    ASSERT_TRUE(windows_.WindowManagerRunning())
        << "needs DISPLAY on the test bed's display with its window manager";
    // The caption the row looks for comes after the window has shown: the placement is asked
    // while the window manager is stopped.
    WriteFile(kDefaultTable, "  1^^" VARDO_XTESTCLIENT
                             "^^--window \"GUI Early\" --retitle 400,\"GUI Retitled Player\"^^gui"
                             "^^^^^^GUI Retitled^^否^^否,最大^^2^^^^^^^^^^^^^^\r\n");
    const auto main = Start();
    main->btnPlayFlash->click();
    int owner = 0;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            for (const auto& window : windows_.EnumWindows())
                if (window.caption == "GUI Early" && window.viewable) owner = window.processId;
            return owner != 0;
        },
        5000));

    Display* xlib = XOpenDisplay(nullptr);
    ASSERT_NE(xlib, nullptr);
    StoppedWindowManager stopped(xlib);
    ASSERT_TRUE(stopped.Stopped());
    QElapsedTimer elapsed;
    elapsed.start();
    qint64 lastBeat = 0;
    qint64 longestGap = 0;
    QTimer beat;
    beat.setInterval(20);
    QObject::connect(&beat, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, elapsed.elapsed() - lastBeat);
        lastBeat = elapsed.elapsed();
    });
    beat.start();
    int clockTicks = 0;
    QObject::connect(&main->tmTimeDate, &AlignedSecondTimer::timeout, [&] { ++clockTicks; });
    QTest::qWait(2000);
    beat.stop();

    EXPECT_EQ(main->table().Cell(ColProcessId, 1), std::to_string(owner))
        << "the retitled window was not taken while the window manager was stopped";
    EXPECT_GE(clockTicks, 1);
    // Waiting for the window manager would hold the loop for at least half a second.
    EXPECT_LT(longestGap, 400);
    stopped.Resume();
    const platform::Rect monitor2{1920, 0, 1920, 1080};
    const auto window = std::strtoull(main->table().Cell(ColWindowHandle, 1).c_str(), nullptr, 10);
    EXPECT_TRUE(QTest::qWaitFor([&] { return windows_.GetWindowRect(window) == monitor2; }, 5000));
    main->btnStopFlash->click();
    XCloseDisplay(xlib);
}

}  // namespace
}  // namespace vardo::test
