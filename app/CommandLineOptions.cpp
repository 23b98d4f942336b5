#include "CommandLineOptions.h"

namespace vardo {
namespace {

constexpr int kUsageError = 2;

constexpr std::string_view kHelp =
    "Usage: vardo [OPTION]... [QT OPTION]...\n"
    "Start and end the programs of the day's timetable at their times, and place their windows\n"
    "on the chosen monitor.\n"
    "\n"
    "  -h, --help     print this help and exit\n"
    "  -v, --version  print the version and exit\n"
    "\n"
    "Qt's own options work as in every Qt program, e.g. -platform xcb, -display :0, -style.\n"
    "\n"
    "A portable vardo keeps its files beside the executable: Data/ (timetables), History/ (run\n"
    "history), VARDO.INI (settings) and Skins/. The installed vardo keeps them in\n"
    "$XDG_DATA_HOME/vardo/ (default ~/.local/share/vardo/) and also lists the skins it ships.\n";

}  // namespace

std::optional<int> AnswerHelpOrVersion(int argc, const char* const argv[], std::string_view version,
                                       std::ostream& out) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--") break;
        if (argument == "--help" || argument == "-h") {
            out << kHelp;
            return 0;
        }
        if (argument == "--version" || argument == "-v") {
            out << "vardo " << version << "\n";
            return 0;
        }
    }
    return std::nullopt;
}

std::optional<int> RefuseLeftArguments(int argc, const char* const argv[], std::ostream& err) {
    if (argc < 2) return std::nullopt;
    const std::string_view argument = argv[1];
    if (argument.starts_with('-')) {
        err << "vardo: unknown option '" << argument << "' (see vardo --help)\n";
    } else {
        err << "vardo: unexpected argument '" << argument << "' (see vardo --help)\n";
    }
    return kUsageError;
}

}  // namespace vardo
