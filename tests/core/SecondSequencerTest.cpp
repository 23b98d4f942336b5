#include "SecondSequencer.h"

#include <gtest/gtest.h>

#include "ManualClock.h"

namespace vardo {
namespace {

using namespace std::chrono;
using test::At;

LocalSeconds Second(int year, unsigned month, unsigned day, int hour, int minute, int second) {
    return floor<seconds>(At(year, month, day, hour, minute, second));
}

TEST(SecondSequencerTest, FirstTick_ProcessesOnlyTheCurrentSecond) {
    SecondSequencer sequencer;
    EXPECT_EQ(sequencer.Advance(At(2024, 1, 1, 8, 0, 0, 400)),
              std::vector{Second(2024, 1, 1, 8, 0, 0)});
}

TEST(SecondSequencerTest, SameSecondTwice_ProcessesItOnce) {
    SecondSequencer sequencer;
    sequencer.Advance(At(2024, 1, 1, 8, 0, 0, 10));
    EXPECT_TRUE(sequencer.Advance(At(2024, 1, 1, 8, 0, 0, 990)).empty());
    EXPECT_EQ(sequencer.Advance(At(2024, 1, 1, 8, 0, 1, 5)).size(), 1u);
}

TEST(SecondSequencerTest, ForwardGap_CatchesUpEverySecondInOrder) {
    SecondSequencer sequencer;
    sequencer.Advance(At(2024, 1, 1, 8, 0, 0, 900));
    EXPECT_EQ(sequencer.Advance(At(2024, 1, 1, 8, 0, 3, 100)),
              (std::vector{Second(2024, 1, 1, 8, 0, 1), Second(2024, 1, 1, 8, 0, 2),
                           Second(2024, 1, 1, 8, 0, 3)}));
}

TEST(SecondSequencerTest, GapOfSixtySeconds_IsCaughtUpButSixtyOneIsAJump) {
    SecondSequencer sequencer;
    sequencer.Advance(At(2024, 1, 1, 8, 0, 0));
    const auto caughtUp = sequencer.Advance(At(2024, 1, 1, 8, 1, 0));
    ASSERT_EQ(caughtUp.size(), 60u);
    EXPECT_EQ(caughtUp.front(), Second(2024, 1, 1, 8, 0, 1));
    EXPECT_EQ(caughtUp.back(), Second(2024, 1, 1, 8, 1, 0));
    EXPECT_EQ(sequencer.Advance(At(2024, 1, 1, 8, 2, 1)), std::vector{Second(2024, 1, 1, 8, 2, 1)});
}

TEST(SecondSequencerTest, Midnight_IsJustTheNextSecond) {
    SecondSequencer sequencer;
    sequencer.Advance(At(2024, 12, 31, 23, 59, 58));
    EXPECT_EQ(sequencer.Advance(At(2025, 1, 1, 0, 0, 1)),
              (std::vector{Second(2024, 12, 31, 23, 59, 59), Second(2025, 1, 1, 0, 0, 0),
                           Second(2025, 1, 1, 0, 0, 1)}));
}

TEST(SecondSequencerTest, ClockBackWithinThreeHours_RepeatsNothingAndResumesAfterLastSecond) {
    SecondSequencer sequencer;
    sequencer.Advance(At(2024, 10, 27, 3, 0, 0));
    EXPECT_TRUE(sequencer.Advance(At(2024, 10, 27, 2, 0, 0)).empty());
    EXPECT_TRUE(sequencer.Advance(At(2024, 10, 27, 2, 59, 59)).empty());
    EXPECT_TRUE(sequencer.Advance(At(2024, 10, 27, 3, 0, 0)).empty());
    EXPECT_EQ(sequencer.Advance(At(2024, 10, 27, 3, 0, 1)),
              std::vector{Second(2024, 10, 27, 3, 0, 1)});
}

TEST(SecondSequencerTest, ClockBackOverMidnight_RepeatsNothing) {
    SecondSequencer sequencer;
    sequencer.Advance(At(2024, 1, 2, 0, 0, 5));
    EXPECT_TRUE(sequencer.Advance(At(2024, 1, 1, 23, 59, 50)).empty());
}

TEST(SecondSequencerTest, LargeJumps_ProcessOnlyTheCurrentSecond) {
    SecondSequencer sequencer;
    sequencer.Advance(At(2024, 1, 1, 8, 0, 0));
    EXPECT_EQ(sequencer.Advance(At(2024, 1, 1, 12, 0, 0)),
              std::vector{Second(2024, 1, 1, 12, 0, 0)});
    EXPECT_EQ(sequencer.Advance(At(2024, 1, 1, 8, 59, 59)),
              std::vector{Second(2024, 1, 1, 8, 59, 59)});
    EXPECT_EQ(sequencer.Advance(At(2024, 1, 1, 9, 0, 0)), std::vector{Second(2024, 1, 1, 9, 0, 0)});
}

TEST(SecondSequencerTest, Resume_SkipsSecondsThatPassedMeanwhile) {
    SecondSequencer sequencer;
    sequencer.Advance(At(2024, 1, 1, 8, 0, 0));
    sequencer.Resume();
    EXPECT_EQ(sequencer.Advance(At(2024, 1, 1, 8, 0, 30)),
              std::vector{Second(2024, 1, 1, 8, 0, 30)});
}

}  // namespace
}  // namespace vardo
