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

// Whole: the option is complete in its argument; WithValue: the next argument is its value.
enum class QtOption { Unknown, Whole, WithValue };

// The options QApplication takes out of the command line (its own, QGuiApplication's, and the X
// platform's), as Qt 6 documents them; "--name" is read as "-name", and those with a value also
// come as "-name=value".
QtOption QtOptionKind(std::string_view argument) {
    static constexpr std::string_view kWithValue[] = {
        "-platform", "-platformpluginpath", "-platformtheme", "-plugin",   "-qwindowgeometry",
        "-geometry", "-qwindowicon",        "-icon",          "-qwindowtitle", "-title",
        "-session",  "-style",              "-stylesheet",    "-display",  "-name",
        "-visual",   "-qmljsdebugger",
    };
    static constexpr std::string_view kFlags[] = {"-reverse", "-testability", "-widgetcount",
                                                  "-nograb", "-dograb"};
    if (argument.starts_with("--")) argument.remove_prefix(1);
    const size_t equals = argument.find('=');
    const std::string_view name = argument.substr(0, equals);
    for (const std::string_view option : kWithValue) {
        if (name == option)
            return equals == std::string_view::npos ? QtOption::WithValue : QtOption::Whole;
    }
    if (equals != std::string_view::npos) return QtOption::Unknown;
    for (const std::string_view option : kFlags) {
        if (name == option) return QtOption::Whole;
    }
    return QtOption::Unknown;
}

std::optional<int> Refuse(std::string_view what, std::string_view argument, std::ostream& err) {
    err << "vardo: " << what << " '" << argument << "' (see vardo --help)\n";
    return kUsageError;
}

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

std::optional<int> RefuseUnknownArguments(int argc, const char* const argv[], std::ostream& err) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--") {
            if (i + 1 == argc) return std::nullopt;
            return Refuse("unexpected argument", argv[i + 1], err);
        }
        if (!argument.starts_with('-')) return Refuse("unexpected argument", argument, err);
        switch (QtOptionKind(argument)) {
            case QtOption::WithValue:
                ++i;
                break;
            case QtOption::Whole:
                break;
            case QtOption::Unknown:
                return Refuse("unknown option", argument, err);
        }
    }
    return std::nullopt;
}

}  // namespace vardo
