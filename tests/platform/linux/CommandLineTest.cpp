#include "CommandLine.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "PlatformTestSupport.h"

namespace vardo::platform {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

class CommandLineTest : public ::testing::Test {
  protected:
    // An executable script file at a path relative to the temporary folder.
    std::string MakeProgram(const std::string& relative, bool executable = true) {
        const fs::path path = folder_.File(relative);
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "#!/bin/sh\n";
        chmod(path.c_str(), executable ? 0755 : 0644);
        return path.string();
    }
    std::string SearchPath() const { return folder_.File("bin"); }

    TempFolder folder_;
};

TEST_F(CommandLineTest, SplitCommandLine_UnquotedPathWithBlanks_ShortestExecutablePrefixWins) {
    const std::string program = MakeProgram("my tools/run");
    MakeProgram("my tools/run now");  // a longer prefix that also names a program loses
    const auto command = SplitCommandLine(program + " now -x", "", SearchPath());
    ASSERT_TRUE(command);
    EXPECT_EQ(command->program, program);
    EXPECT_EQ(command->argv, (std::vector<std::string>{program, "now", "-x"}));
}

TEST_F(CommandLineTest, SplitCommandLine_PrefixNamingAFolderOrPlainFile_IsPassedOver) {
    MakeProgram("my/readme", false);
    const std::string program = MakeProgram("my/readme tool");
    const auto command = SplitCommandLine(program + " arg", "", SearchPath());
    ASSERT_TRUE(command);
    EXPECT_EQ(command->program, program);
    EXPECT_EQ(command->argv.back(), "arg");
}

TEST_F(CommandLineTest, SplitCommandLine_LeadingQuotedPath_IsTheProgramEvenWithBlanks) {
    MakeProgram("a b");
    const std::string program = MakeProgram("a b c/player");
    const auto command =
        SplitCommandLine("\"" + program + "\" --title \"two words\" last", "", SearchPath());
    ASSERT_TRUE(command);
    EXPECT_EQ(command->program, program);
    EXPECT_EQ(command->argv, (std::vector<std::string>{program, "--title", "two words", "last"}));
}

TEST_F(CommandLineTest, SplitCommandLine_QuotedPathThatIsNoProgram_Fails) {
    MakeProgram("a");
    EXPECT_FALSE(SplitCommandLine("\"" + folder_.File("a") + " missing\" x", "", SearchPath()));
}

TEST_F(CommandLineTest, SplitCommandLine_BareName_IsSearchedOnPath) {
    const std::string program = MakeProgram("bin/player");
    const auto command = SplitCommandLine("player  -f file", "", "/nonexistent:" + SearchPath());
    ASSERT_TRUE(command);
    EXPECT_EQ(command->program, program);
    EXPECT_EQ(command->argv, (std::vector<std::string>{"player", "-f", "file"}));
}

TEST_F(CommandLineTest, SplitCommandLine_RelativePathWithSlash_IsTakenFromTheWorkingFolder) {
    const std::string program = MakeProgram("work/tools/run");
    const auto command = SplitCommandLine("tools/run x", folder_.File("work"), SearchPath());
    ASSERT_TRUE(command);
    EXPECT_EQ(command->program, program);
}

TEST_F(CommandLineTest, SplitCommandLine_MissingProgramOrEmptyApplication_FindsNothing) {
    MakeProgram("bin/player");
    EXPECT_FALSE(SplitCommandLine("no-such-program arg", "", SearchPath()));
    EXPECT_FALSE(SplitCommandLine("", "", SearchPath()));
    EXPECT_FALSE(SplitCommandLine("   ", "", SearchPath()));
    // An empty application field gives a line that starts with the blank: the parameters are
    // never taken for the program.
    EXPECT_FALSE(SplitCommandLine(" player", "", SearchPath()));
}

TEST_F(CommandLineTest, SplitCommandLine_TrailingBlankOfEmptyParameters_GivesNoArguments) {
    const std::string program = MakeProgram("bin/player");
    const auto command = SplitCommandLine(program + " ", "", SearchPath());
    ASSERT_TRUE(command);
    EXPECT_EQ(command->argv.size(), 1u);
}

TEST(SplitArguments, QuotesGroupWordsAndEscapedQuotesStayLiteral) {
    EXPECT_EQ(SplitArguments(R"(  a "b c"d "" e\"f "g)"),
              (std::vector<std::string>{"a", "b cd", "", "e\"f", "g"}));
    EXPECT_EQ(SplitArguments("\tx\t\ty "), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(SplitArguments(R"(C:\path\file)"), (std::vector<std::string>{R"(C:\path\file)"}));
}

}  // namespace
}  // namespace vardo::platform
