// The second-aligned timer: its arithmetic, and real ticks on the system clock.
#include "AlignedSecondTimer.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>

namespace vardo {
namespace {

TEST(AlignedSecondTimer, DelayToNextSecond_EndsJustPastTheBoundary) {
    const int margin = AlignedSecondTimer::kMarginMs;
    EXPECT_EQ(AlignedSecondTimer::DelayToNextSecond(1'700'000'000'000), 1000 + margin);
    EXPECT_EQ(AlignedSecondTimer::DelayToNextSecond(1'700'000'000'001), 999 + margin);
    EXPECT_EQ(AlignedSecondTimer::DelayToNextSecond(1'700'000'000'999), 1 + margin);
    EXPECT_EQ(AlignedSecondTimer::DelayToNextSecond(-1), 1 + margin);
}

TEST(AlignedSecondTimer, Ticks_FallInSuccessiveWallClockSeconds) {
    AlignedSecondTimer timer;
    std::vector<qint64> seconds;
    QEventLoop loop;
    QObject::connect(&timer, &AlignedSecondTimer::timeout, [&] {
        seconds.push_back(QDateTime::currentMSecsSinceEpoch() / 1000);
        if (seconds.size() == 3) {
            timer.stop();
            loop.quit();
        }
    });
    timer.start();
    EXPECT_TRUE(timer.isActive());
    loop.exec();
    EXPECT_FALSE(timer.isActive());
    ASSERT_EQ(seconds.size(), 3u);
    EXPECT_LT(seconds[0], seconds[1]);
    EXPECT_LT(seconds[1], seconds[2]);
}

}  // namespace
}  // namespace vardo

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
