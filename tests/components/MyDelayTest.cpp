#include "MyDelay.h"

#include <gtest/gtest.h>
#include <QTest>
#include <QTimer>

namespace vardo::test {

TEST(MyDelay, IntervalWritten_TimerHoldsItAndNeverRuns) {
    TMyDelay delay;
    delay.SetInterval(1000);
    EXPECT_EQ(delay.Interval(), 1000);
    int ticks = 0;
    QObject::connect(delay.Timer(), &QTimer::timeout, [&ticks] { ++ticks; });
    QTest::qWait(1100);
    EXPECT_FALSE(delay.Timer()->isActive());
    EXPECT_EQ(ticks, 0);
}

}  // namespace vardo::test
