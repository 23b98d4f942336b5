#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "AtomicFile.h"

namespace vardo {

// A history line: "  " + the time as HH:MM:SS + one of the event texts below (blanks included) +
// the row's application file + kSubjectSeparator + the row's description.
inline constexpr std::string_view kStartEventText = " 启动任务: 【";  // started by the program
inline constexpr std::string_view kEndEventText = " 结束任务: 【";    // ended by the program
inline constexpr std::string_view kExitEventText = " 任务结束: 【";   // the task exited by itself
inline constexpr std::string_view kSubjectSeparator = " 】  ";
// A notice line of the same form: a placing row's task showed no window the program could place.
inline constexpr std::string_view kUnplacedNoticeText = " 窗口未能放置: 【";
// A notice line that follows the start line of a launch that created no process; the reason
// stands where the description does.
inline constexpr std::string_view kLaunchFailedNoticeText = " 启动失败: 【";
// A notice line of an end the system refused (the process runs on and is still followed); the
// reason stands where the description does.
inline constexpr std::string_view kEndRefusedNoticeText = " 结束失败: 【";

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
