// The end of the Windows session as the system tells it: the messages sent to the program's
// top-level windows, through Qt's window procedure and its native event filters.
#include "SessionEndMessages.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>

#include <windows.h>

namespace vardo {
namespace {

HWND Shown(QWidget& window) {
    window.resize(200, 100);
    window.show();
    return reinterpret_cast<HWND>(window.winId());
}

TEST(SessionEndMessagesTest, AConfirmedEnd_TellsTheReceiverOnce_WhicheverWindowsHearOfIt) {
    QWidget first, second;
    const HWND firstHandle = Shown(first);
    const HWND secondHandle = Shown(second);
    SessionEndMessages sessionEnd;
    int told = 0;
    sessionEnd.Forward([&] { ++told; });

    // Asked first: the program lets the session end, and nothing closes yet.
    EXPECT_EQ(::SendMessageW(firstHandle, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    EXPECT_EQ(told, 0);
    // Another program refused: the session goes on.
    ::SendMessageW(firstHandle, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
    EXPECT_EQ(told, 0);

    // The end is confirmed to each window; the receiver is told before the first message returns.
    ::SendMessageW(firstHandle, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(told, 1);
    ::SendMessageW(secondHandle, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(told, 1);
}

TEST(SessionEndMessagesTest, AnEndBeforeTheReceiver_EndsTheRunningLoop_AndIsToldWhenItIsSet) {
    QWidget window;
    const HWND handle = Shown(window);
    SessionEndMessages sessionEnd;

    // The start-up's box waits in a loop of its own when the session ends.
    QTimer::singleShot(0, [handle] {
        ::SendMessageW(handle, WM_QUERYENDSESSION, 0, 0);
        ::SendMessageW(handle, WM_ENDSESSION, TRUE, 0);
    });
    QTimer::singleShot(10'000, [] { QCoreApplication::exit(2); });  // a loop left running
    EXPECT_EQ(QEventLoop().exec(), 0);

    int told = 0;
    sessionEnd.Forward([&] { ++told; });
    EXPECT_EQ(told, 1);
}

}  // namespace
}  // namespace vardo
