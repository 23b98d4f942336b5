#pragma once

#include <optional>
#include <ostream>
#include <string_view>

namespace vardo {

// The program's command line: --help and --version of its own; Qt's options (-platform, -display,
// -style, ...) are Qt's, and QApplication takes them out of argv.

// Answers --help (-h) or --version (-v), the first of them before any "--", on out, and gives the
// exit status (0); nullopt when neither is asked. Called before QApplication exists, so the
// answer needs no display.
std::optional<int> AnswerHelpOrVersion(int argc, const char* const argv[], std::string_view version,
                                       std::ostream& out);

// Any argument that is neither the program's nor one of Qt's own options (with its value) is one
// the program does not know: names the first on one line of err and gives the exit status (2);
// nullopt when there is none. Called before QApplication exists, so a mistyped option is told
// without a display.
std::optional<int> RefuseUnknownArguments(int argc, const char* const argv[], std::ostream& err);

}  // namespace vardo
