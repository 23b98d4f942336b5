#include "TimeText.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "ManualClock.h"
#include "TempFolder.h"

namespace vardo {
namespace {

using namespace std::chrono;
using test::At;
using test::ManualClock;

TEST(TimeTextTest, SecondsToTimeText_FormatsWithoutWrappingHours) {
    EXPECT_EQ(SecondsToTimeText(0), "00:00:00");
    EXPECT_EQ(SecondsToTimeText(3725), "01:02:05");
    EXPECT_EQ(SecondsToTimeText(86399), "23:59:59");
    EXPECT_EQ(SecondsToTimeText(86400), "24:00:00");
    EXPECT_EQ(SecondsToTimeText(360000), "100:00:00");
}

TEST(TimeTextTest, TimeTextToSeconds_ReadsFieldsLeniently) {
    EXPECT_EQ(TimeTextToSeconds("08:00:00"), 28800);
    EXPECT_EQ(TimeTextToSeconds("  :  :  "), 0);
    EXPECT_EQ(TimeTextToSeconds("12:xx:05"), 43205);
    EXPECT_EQ(TimeTextToSeconds("5"), 18000);
    EXPECT_EQ(TimeTextToSeconds("1:30"), 5400);
    EXPECT_EQ(TimeTextToSeconds("0:90:00"), 5400);
    EXPECT_EQ(TimeTextToSeconds(" 7 : 5 : 0 "), 25500);
    EXPECT_EQ(TimeTextToSeconds(""), 0);
    EXPECT_EQ(TimeTextToSeconds("1:2:3:4"), 3723);
    EXPECT_EQ(TimeTextToSeconds("-1:00:00"), -3600);
}

TEST(TimeTextTest, TimeTextToSeconds_OutOfRangeNumbersCountZeroAndNeverOverflow) {
    EXPECT_EQ(TimeTextToSeconds("99999999999:00:00"), 0);
    EXPECT_EQ(TimeTextToSeconds("2147483647:00:00"), 2147483647LL * 3600);
}

TEST(TimeTextTest, ClockTexts_ReadTheInstalledClock) {
    ManualClock clock(At(2025, 3, 5, 9, 7, 3, 999));
    EXPECT_EQ(NowTimeText(), "09:07:03");
    EXPECT_EQ(DateText(true), "2025-03-05");
    EXPECT_EQ(DateText(false), "20250305");
    EXPECT_EQ(WeekdayName(Today()), "星期三");
    clock.Set(At(2025, 3, 5, 23, 59, 59));
    clock.AdvanceSecond();
    EXPECT_EQ(NowTimeText(), "00:00:00");
    EXPECT_EQ(DateText(true), "2025-03-06");
}

TEST(TimeTextTest, WeekdayName_CountsFromSunday) {
    EXPECT_EQ(WeekdayName(2024y / March / 15), "星期五");
    EXPECT_EQ(WeekdayName(2024y / March / 17), "星期日");
    EXPECT_EQ(WeekdayName(2024y / March / 16), "星期六");
}

TEST(TimeTextTest, TimeOfDay_SecondsAndLongFormat) {
    EXPECT_EQ(TimeOfDaySeconds(test::At(2024, 1, 1, 15, 30, 0, 700)), 55800);
    EXPECT_EQ(TimeOfDaySeconds(test::At(2024, 1, 1)), 0);
    EXPECT_EQ(LongTimeText(3 * 3600), "3:00:00");
    EXPECT_EQ(LongTimeText(55800), "15:30:00");
    EXPECT_EQ(TimeTextToSeconds(LongTimeText(25500)), 25500);
}

TEST(TimeTextTest, DatedFilePath_CreatesTheFolderOnceAndNamesTodaysFile) {
    ManualClock clock(At(2024, 3, 15, 12));
    test::TempFolder folder;
    const std::string path = DatedFilePath(folder.Slash(), "History", "txt");
    EXPECT_EQ(path, folder.Slash() + "History/20240315.txt");
    EXPECT_TRUE(std::filesystem::is_directory(folder.Slash() + "History"));
    EXPECT_EQ(DatedFilePath(folder.Slash(), "History", "txt"), path);
}

}  // namespace
}  // namespace vardo
