#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "AtomicFile.h"
#include "OperatorText.h"

namespace vardo {

// A history line: "  " + the time as HH:MM:SS + one of the event texts below (blanks included) +
// the row's application file + kSubjectSeparator + the row's description.
// The files keep these texts as written; where a line is shown, they are translated in the context
// kHistoryTextContext.
inline constexpr char kHistoryTextContext[] = "vardo::HistoryLine";
// started by the program
inline constexpr std::string_view kStartEventText =
    VARDO_TEXT("vardo::HistoryLine", " 启动任务: 【");
// ended by the program
inline constexpr std::string_view kEndEventText = VARDO_TEXT("vardo::HistoryLine", " 结束任务: 【");
// the task exited by itself
inline constexpr std::string_view kExitEventText =
    VARDO_TEXT("vardo::HistoryLine", " 任务结束: 【");
inline constexpr std::string_view kSubjectSeparator = " 】  ";
// The bracket that closes the subject, as shown translated.
inline constexpr std::string_view kSubjectEnd = VARDO_TEXT("vardo::HistoryLine", "】");
// A notice line of the same form: a placing row's task showed no window the program could place.
inline constexpr std::string_view kUnplacedNoticeText =
    VARDO_TEXT("vardo::HistoryLine", " 窗口未能放置: 【");
// A notice line that follows the start line of a launch that created no process; the reason
// stands where the description does.
inline constexpr std::string_view kLaunchFailedNoticeText =
    VARDO_TEXT("vardo::HistoryLine", " 启动失败: 【");
// A notice line of an end the system refused (the process runs on and is still followed); the
// reason stands where the description does.
inline constexpr std::string_view kEndRefusedNoticeText =
    VARDO_TEXT("vardo::HistoryLine", " 结束失败: 【");
// Notice lines of a timetable file that arrived in Data/: loaded, or refused (the reason stands
// where the description does).
inline constexpr std::string_view kTableLoadedNoticeText =
    VARDO_TEXT("vardo::HistoryLine", " 装入任务计划表: 【");
inline constexpr std::string_view kTableRefusedNoticeText =
    VARDO_TEXT("vardo::HistoryLine", " 任务计划表未装入: 【");
// The event texts a line may hold, for showing lines translated.
inline constexpr std::array<std::string_view, 8> kHistoryEventTexts = {
    kStartEventText,        kEndEventText,           kExitEventText,
    kUnplacedNoticeText,    kLaunchFailedNoticeText, kEndRefusedNoticeText,
    kTableLoadedNoticeText, kTableRefusedNoticeText};

std::string HistoryLineText(std::string_view timeText, std::string_view event,
                            std::string_view application, std::string_view description);

// A day's run-history file: the memo's lines, each followed by CR LF, in GB18030 (a file that is
// entirely valid UTF-8 is also read).

struct HistoryLoad {
    std::vector<std::string> lines;  // UTF-8
    std::string error;               // non-empty when an existing file could not be read
    bool found = false;              // the file exists and was read
};

// The lines of the file, split at CR LF, lone LF or lone CR; a missing file gives no lines and
// no error.
HistoryLoad LoadHistoryLines(const std::string& path);

// Writes all lines, replacing the file atomically.
WriteResult SaveHistoryLines(const std::string& path, const std::vector<std::string>& lines);

}  // namespace vardo
