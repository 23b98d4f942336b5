#pragma once

#include <QString>
#include <string_view>

#include "OperatorText.h"

namespace vardo {

// The texts of the Qt-free layers in the program's language, translated where they are shown.

// A marked text without arguments (VARDO_TEXT(context, wording)).
QString Translated(const char* context, std::string_view wording);

// A text with its arguments: the wording translated, then the arguments filled in.
QString Translated(const OperatorText& text);

// A history line as the status line shows it: its event text and the bracket closing its subject
// translated, the time, the subject and what follows it as the line has them. A line of another
// form shows as it is.
QString ShownHistoryLine(std::string_view line);

}  // namespace vardo
