#include "TranslatedText.h"

#include <QCoreApplication>
#include <string>

#include "HistoryFile.h"
#include "QtText.h"

namespace vardo {

namespace {

// "  HH:MM:SS": where the event text of a history line begins.
constexpr std::size_t kEventOffset = 10;

}  // namespace

QString Translated(const char* context, std::string_view wording) {
    return QCoreApplication::translate(context, std::string(wording).c_str());
}

QString Translated(const OperatorText& text) {
    const std::string wording = Translated(text.context, text.wording).toStdString();
    return ToQString(FillArguments(wording, text.arguments));
}

QString ShownHistoryLine(std::string_view line) {
    for (const std::string_view event : kHistoryEventTexts) {
        if (line.substr(std::min(kEventOffset, line.size())).starts_with(event)) {
            std::string_view rest = line.substr(kEventOffset + event.size());
            QString shown =
                ToQString(line.substr(0, kEventOffset)) + Translated(kHistoryTextContext, event);
            // The subject is the task's application file, which holds no bracket of ours.
            const std::size_t end = rest.find(std::string(" ") + std::string(kSubjectEnd));
            if (end == std::string_view::npos) return shown + ToQString(rest);
            return shown + ToQString(rest.substr(0, end + 1)) +
                   Translated(kHistoryTextContext, kSubjectEnd) +
                   ToQString(rest.substr(end + 1 + kSubjectEnd.size()));
        }
    }
    return ToQString(line);
}

}  // namespace vardo
