// The vardo executable's command line, run as a shell user runs it. --help and --version must
// answer without a display, so the runs that ask for them have none.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "TempFolder.h"

namespace vardo::test {
namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs vardo with arguments (already quoted for the shell) and without any display.
Outcome RunVardo(const std::string& arguments) {
    TempFolder folder;
    // A private runtime folder keeps Qt from warning about a missing one on standard error.
    const std::string command =
        "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "
        "XDG_RUNTIME_DIR='" +
        folder.path() + "' timeout 20 '" + std::string(VARDO_EXECUTABLE) + "' " + arguments +
        " >'" + folder.File("out") + "' 2>'" + folder.File("err") + "' </dev/null";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadBytes(folder.File("out")),
            ReadBytes(folder.File("err"))};
}

TEST(VardoCommandLine, HelpAndVersion_AnswerWithoutADisplayAndExitZero) {
    for (const char* option : {"--help", "-h"}) {
        const Outcome help = RunVardo(option);
        EXPECT_EQ(help.status, 0) << option << ": " << help.err;
        EXPECT_EQ(help.out.rfind("Usage: vardo ", 0), 0u) << help.out;
        EXPECT_NE(help.out.find("--version"), std::string::npos);
    }
    for (const char* option : {"--version", "-v"}) {
        const Outcome version = RunVardo(option);
        EXPECT_EQ(version.status, 0) << option << ": " << version.err;
        EXPECT_EQ(version.out, "vardo " VARDO_VERSION "\n");
        EXPECT_EQ(version.err, "");
    }
}

// Qt takes its own options (here the platform and its argument) out of the command line; the
// first that is left is refused on one line with status 2, before any window opens.
TEST(VardoCommandLine, UnknownOption_OneLineAndStatusTwo_QtOptionsStillTaken) {
    const Outcome unknown = RunVardo("-platform offscreen -style Fusion --bogus");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.out, "");
    EXPECT_EQ(unknown.err, "vardo: unknown option '--bogus' (see vardo --help)\n");

    const Outcome stray = RunVardo("-platform offscreen timetable.tab");
    EXPECT_EQ(stray.status, 2);
    EXPECT_EQ(stray.err, "vardo: unexpected argument 'timetable.tab' (see vardo --help)\n");
}

// Nothing in the way of the check needs a display: the mistake is told, not a display missing.
TEST(VardoCommandLine, UnknownOption_WithoutADisplay_IsToldBeforeAnyDisplayIsNeeded) {
    const Outcome unknown = RunVardo("--bogus");
    EXPECT_EQ(unknown.status, 2) << unknown.err;
    EXPECT_EQ(unknown.err, "vardo: unknown option '--bogus' (see vardo --help)\n");

    const Outcome afterQtOptions = RunVardo("-display :5 --style=Fusion -reverse -bogus");
    EXPECT_EQ(afterQtOptions.status, 2) << afterQtOptions.err;
    EXPECT_EQ(afterQtOptions.err, "vardo: unknown option '-bogus' (see vardo --help)\n");

    const Outcome afterTheEnd = RunVardo("-- -platform");
    EXPECT_EQ(afterTheEnd.status, 2) << afterTheEnd.err;
    EXPECT_EQ(afterTheEnd.err, "vardo: unexpected argument '-platform' (see vardo --help)\n");
}

}  // namespace
}  // namespace vardo::test
