#include "HistoryFile.h"

#include <system_error>

#include "TextCodec.h"
#include "TextFields.h"

namespace vardo {

std::string HistoryLineText(std::string_view timeText, std::string_view event,
                            std::string_view application, std::string_view description) {
    std::string line = "  ";
    line.append(timeText).append(event).append(application).append(kSubjectSeparator);
    return line.append(description);
}

HistoryLoad LoadHistoryLines(const std::string& path) {
    std::error_code error;
    const std::string bytes = ReadFileBytes(path, error);
    HistoryLoad load;
    if (error) {
        if (error != std::errc::no_such_file_or_directory)
            load.error = path + ": " + error.message();
        return load;
    }
    load.found = true;
    const std::string text = DecodeFileText(bytes);
    for (const TextLine& line : SplitLines(text)) load.lines.emplace_back(line.text);
    return load;
}

WriteResult SaveHistoryLines(const std::string& path, const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return WriteFileAtomically(path, Utf8ToGb18030(text));
}

}  // namespace vardo
