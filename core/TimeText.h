#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "Clock.h"
#include "OperatorText.h"

namespace vardo {

// "%2.2d:%2.2d:%2.2d" of hours, minutes and seconds; hours are not wrapped at 24
// (3725 -> "01:02:05", 360000 -> "100:00:00").
std::string SecondsToTimeText(std::int64_t seconds);

// hours*3600 + minutes*60 + seconds of the first three ":"-separated fields, each trimmed of
// blanks; a missing, empty or non-numeric field counts 0 ("5" -> 18000, "12:xx:05" -> 43205,
// "  :  :  " -> 0). Out-of-range parts are not rejected ("0:90:00" -> 5400).
std::int64_t TimeTextToSeconds(std::string_view text);

// The time of day of CurrentClock() as "HH:MM:SS".
std::string NowTimeText();

// The date of CurrentClock().
std::chrono::year_month_day Today();

// "YYYY-MM-DD" (withDashes) or "YYYYMMDD".
std::string DateText(bool withDashes, std::chrono::year_month_day date);
std::string DateText(bool withDashes);  // today

// Seconds since midnight of a local time (fractions of a second dropped).
int TimeOfDaySeconds(LocalTime time);

// The long time format of this program, "H:mm:ss" ("3:00:00", "15:30:00"), used for the times
// kept in the settings file.
std::string LongTimeText(int secondsOfDay);

// Weekday names indexed by weekday number - 1, where 1 is Sunday and 7 Saturday. They name the
// weekday timetables' files and are shown translated (in the context kWeekdayTextContext).
inline constexpr char kWeekdayTextContext[] = "vardo::Weekday";
inline constexpr std::array<std::string_view, 7> kWeekdayNames = {
    VARDO_TEXT("vardo::Weekday", "星期日"), VARDO_TEXT("vardo::Weekday", "星期一"),
    VARDO_TEXT("vardo::Weekday", "星期二"), VARDO_TEXT("vardo::Weekday", "星期三"),
    VARDO_TEXT("vardo::Weekday", "星期四"), VARDO_TEXT("vardo::Weekday", "星期五"),
    VARDO_TEXT("vardo::Weekday", "星期六")};

std::string_view WeekdayName(std::chrono::year_month_day date);

// programFolder + folder + "/" + today's DateText without dashes + "." + extension, after trying
// to create programFolder + folder (one level; any failure ignored). programFolder ends in '/'.
std::string DatedFilePath(std::string_view programFolder, std::string_view folder,
                          std::string_view extension);

}  // namespace vardo
