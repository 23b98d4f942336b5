#include "TimeText.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

#include "TextFields.h"
#include "Utf8Path.h"

namespace vardo {

std::string SecondsToTimeText(std::int64_t seconds) {
    char text[64];
    std::snprintf(text, sizeof text, "%2.2lld:%2.2lld:%2.2lld",
                  static_cast<long long>(seconds / 3600), static_cast<long long>(seconds / 60 % 60),
                  static_cast<long long>(seconds % 60));
    return text;
}

namespace {

// "HH:MM:SS", the form the editor saves, read directly: the schedule scan reads every row's two
// times each second. Other texts take the general rule, which gives the same result for this form.
std::optional<std::int64_t> PlainTimeSeconds(std::string_view text) {
    const auto digit = [&](std::size_t i) { return text[i] >= '0' && text[i] <= '9'; };
    if (text.size() != 8 || text[2] != ':' || text[5] != ':' || !digit(0) || !digit(1) ||
        !digit(3) || !digit(4) || !digit(6) || !digit(7)) {
        return std::nullopt;
    }
    const auto pair = [&](std::size_t i) { return (text[i] - '0') * 10 + (text[i + 1] - '0'); };
    return pair(0) * 3600 + pair(3) * 60 + pair(6);
}

}  // namespace

std::int64_t TimeTextToSeconds(std::string_view text) {
    if (const std::optional<std::int64_t> plain = PlainTimeSeconds(text)) return *plain;
    // Fields 1 to 3 split on ':' as GetField splits them, without copying them.
    constexpr std::int64_t kFieldSeconds[] = {3600, 60, 1};
    std::int64_t seconds = 0;
    for (const std::int64_t unit : kFieldSeconds) {
        const size_t colon = text.find(':');
        seconds += unit * ParseInt(TrimBlanks(text.substr(0, colon))).value_or(0);
        if (colon == std::string_view::npos) break;
        text.remove_prefix(colon + 1);
    }
    return seconds;
}

std::string NowTimeText() {
    return SecondsToTimeText(TimeOfDaySeconds(CurrentClock().Now()));
}

std::chrono::year_month_day Today() {
    return std::chrono::year_month_day{std::chrono::floor<std::chrono::days>(CurrentClock().Now())};
}

std::string DateText(bool withDashes, std::chrono::year_month_day date) {
    char text[32];
    std::snprintf(text, sizeof text, withDashes ? "%4.4d-%2.2u-%2.2u" : "%4.4d%2.2u%2.2u",
                  static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()));
    return text;
}

std::string DateText(bool withDashes) {
    return DateText(withDashes, Today());
}

int TimeOfDaySeconds(LocalTime time) {
    using namespace std::chrono;
    return static_cast<int>(floor<seconds>(time - floor<days>(time)).count());
}

std::string LongTimeText(int secondsOfDay) {
    char text[48];
    std::snprintf(text, sizeof text, "%d:%2.2d:%2.2d", secondsOfDay / 3600, secondsOfDay / 60 % 60,
                  secondsOfDay % 60);
    return text;
}

std::string_view WeekdayName(std::chrono::year_month_day date) {
    if (!date.ok()) return {};
    return kWeekdayNames[std::chrono::weekday{std::chrono::local_days{date}}.c_encoding()];
}

std::string DatedFilePath(std::string_view programFolder, std::string_view folder,
                          std::string_view extension) {
    std::string directory = std::string(programFolder) + std::string(folder);
    std::error_code ignored;  // an existing folder or any failure shows at the write
    std::filesystem::create_directory(Utf8Path(directory), ignored);
    return directory + "/" + DateText(false) + "." + std::string(extension);
}

}  // namespace vardo
