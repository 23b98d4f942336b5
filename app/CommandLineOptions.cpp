#include "CommandLineOptions.h"

#include <QtGlobal>

#include "Language.h"

namespace vardo {
namespace {

constexpr int kUsageError = 2;

// The help in Chinese, the program's own language; the translation gives it in the locale's.
constexpr const char* kHelp = QT_TRANSLATE_NOOP(
    "vardo::CommandLine",
    "用法：vardo [选项]... [QT 选项]...\n"
    "按当天的任务计划表在规定的时间启动和结束程序，并把它们的窗口放到指定的显示器上。\n"
    "\n"
    "  -h, --help     显示本帮助并退出\n"
    "  -v, --version  显示版本并退出\n"
    "\n"
    "Qt 自己的选项与所有 Qt 程序相同，例如 -platform xcb、-display :0、-style。\n"
    "\n"
    "便携的 vardo 把文件放在程序文件旁边：Data/（任务计划表）、History/（运行历史）、\n"
    "VARDO.INI（系统参数）和 Skins/。安装的 vardo 把它们放在 $XDG_DATA_HOME/vardo/\n"
    "（默认 ~/.local/share/vardo/），并列出随程序安装的皮肤。\n"
    "界面语言由区域设置（LANG、LC_MESSAGES）或 VARDO.INI 的 [START] Language（zh_CN、en）选择。\n");

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
            out << CommandLineText("vardo::CommandLine", kHelp);
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
