// The session end's signals on the real process: what the handlers take over, what they leave
// alone, and what they put back.
#include <gtest/gtest.h>

#include <signal.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "SessionEndSignals.h"

namespace vardo {
namespace {

extern "C" void OwnHandler(int) {}

struct sigaction Disposition(int signalNumber) {
    struct sigaction current {};
    sigaction(signalNumber, nullptr, &current);
    return current;
}

void SetDisposition(int signalNumber, void (*handler)(int), int flags = 0) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = flags;
    ASSERT_EQ(sigaction(signalNumber, &action, nullptr), 0);
}

class SessionEndSignalsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const int signalNumber : {SIGTERM, SIGHUP, SIGINT}) {
            saved_.push_back(Disposition(signalNumber));
            SetDisposition(signalNumber, SIG_DFL);
        }
    }
    void TearDown() override {
        int i = 0;
        for (const int signalNumber : {SIGTERM, SIGHUP, SIGINT})
            sigaction(signalNumber, &saved_[i++], nullptr);
    }
    // Lets the notifier read what the handler wrote.
    static void Deliver(int signalNumber) {
        ASSERT_EQ(::raise(signalNumber), 0);
        QCoreApplication::processEvents();
    }

    int argc_ = 1;
    char name_[6] = "tests";
    char* argv_[2] = {name_, nullptr};
    QCoreApplication application_{argc_, argv_};
    std::vector<struct sigaction> saved_;
};

// nohup, or a background job of a shell: the operator asked that this signal not end the program.
TEST_F(SessionEndSignalsTest, IgnoredAtStart_StaysIgnoredWhileTheOthersAreTold) {
    SetDisposition(SIGHUP, SIG_IGN);
    SessionEndSignals handlers;
    int told = 0;
    handlers.Forward([&] { ++told; });

    EXPECT_EQ(Disposition(SIGHUP).sa_handler, SIG_IGN);
    Deliver(SIGHUP);
    EXPECT_EQ(told, 0);
    Deliver(SIGTERM);
    EXPECT_EQ(told, 1);
    Deliver(SIGINT);
    EXPECT_EQ(told, 2);
}

TEST_F(SessionEndSignalsTest, Destroyed_PutsBackEachDispositionAsFound) {
    SetDisposition(SIGTERM, OwnHandler, SA_RESTART | SA_NODEFER);
    SetDisposition(SIGHUP, SIG_IGN);
    {
        SessionEndSignals handlers;
        EXPECT_NE(Disposition(SIGTERM).sa_handler, OwnHandler);
        EXPECT_NE(Disposition(SIGINT).sa_handler, SIG_DFL);
    }
    EXPECT_EQ(Disposition(SIGTERM).sa_handler, OwnHandler);
    EXPECT_EQ(Disposition(SIGTERM).sa_flags & SA_NODEFER, SA_NODEFER);
    EXPECT_EQ(Disposition(SIGHUP).sa_handler, SIG_IGN);
    EXPECT_EQ(Disposition(SIGINT).sa_handler, SIG_DFL);
}

// The start-up's box runs a loop of its own before the main window can be told.
TEST_F(SessionEndSignalsTest, BeforeAReceiver_EndsTheRunningLoopAndIsToldOnceOneIsSet) {
    SessionEndSignals handlers;
    QEventLoop box;
    QTimer::singleShot(0, [] { ::raise(SIGTERM); });
    QTimer::singleShot(5000, &box, [&] { box.exit(1); });
    EXPECT_EQ(box.exec(), 0) << "the loop was not ended by the signal";

    int told = 0;
    handlers.Forward([&] { ++told; });
    EXPECT_EQ(told, 1);
    Deliver(SIGTERM);
    EXPECT_EQ(told, 2);
}

}  // namespace
}  // namespace vardo
