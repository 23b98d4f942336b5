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
