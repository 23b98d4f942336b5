#pragma once

#include <QString>
#include <string_view>

namespace vardo {

// The timetable's own texts as the operator reads them in the program's language: the header
// captions, the column hints, and the values of the exclusive, window setting and state columns.
// The table and its files keep the Chinese originals; only what is shown is translated.

// The show part of the window setting ("是,最大") the editor stores: maximised, or not shown.
inline constexpr std::string_view kShowMaximised = "最大";
inline constexpr std::string_view kShowNone = "无";

// A stored text in the program's language; a text that is no table text of ours shows as stored.
QString TableText(std::string_view stored);

// A task cell as the grid shows it: the values of the exclusive, window setting ("是,最大", by
// its parts) and state columns translated, every other column as stored.
QString ShownCell(int column, std::string_view stored);

}  // namespace vardo
