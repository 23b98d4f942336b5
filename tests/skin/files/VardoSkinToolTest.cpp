#include <sys/wait.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "SampleBytes.h"
#include "SkinRead.h"
#include "TempFolder.h"
#include "WinConvert.h"

namespace vardo {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

struct ToolRun {
    int status = -1;
    std::string output;  // standard output and standard error together
};

// Runs the real tool with arguments (each quoted for the shell).
ToolRun RunTool(const std::vector<std::string>& args) {
    std::string command = "'" + std::string(VARDO_SKIN_TOOL) + "'";
    for (const std::string& arg : args) command += " '" + arg + "'";
    command += " 2>&1";
    ToolRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        run.output.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// The unpacked size a skin file declares in its first four bytes (little-endian).
int ReadDeclaredSize(const std::string& skinFile) {
    std::int32_t size = 0;
    std::memcpy(&size, skinFile.data(), sizeof size);
    return size;
}

int CountLines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST(VardoSkinToolTest, PackListUnpack_RoundTripsEveryFile) {
    TempFolder temp;
    const std::string in = temp.File("in");
    fs::create_directory(in);
    fs::create_directory(in + "/subfolder");  // not a file: not packed
    WriteBytes(in + "/skin.ini", "[Personality]\r\nTop=top.bmp\r\n");
    WriteBytes(in + "/top.bmp", test::SkinLikeBitmapBytes(120, 30, 1));
    WriteBytes(in + "/empty.bmp", "");

    for (const std::string version : {"20000", "30000", "40000"}) {
        const std::string skin = temp.File("s" + version + ".skn");
        const std::vector<std::string> packArgs =
            version == "20000" ? std::vector<std::string>{"pack", in, skin}
                               : std::vector<std::string>{"pack", in, skin, "--version", version};
        ASSERT_EQ(RunTool(packArgs).status, 0) << version;

        const ToolRun list = RunTool({"list", skin});
        EXPECT_EQ(list.status, 0);
        EXPECT_EQ(list.output, "version " + version + "\nempty.bmp\t0\nskin.ini\t28\ntop.bmp\t" +
                                   std::to_string(fs::file_size(in + "/top.bmp")) + "\n");

        const std::string out = temp.File("out" + version);
        ASSERT_EQ(RunTool({"unpack", skin, out}).status, 0);
        for (const char* name : {"skin.ini", "top.bmp", "empty.bmp"}) {
            EXPECT_EQ(ReadBytes(out + "/" + name), ReadBytes(in + "/" + name)) << name;
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 3);
    }
}

TEST(VardoSkinToolTest, Unpack_WritesTheFirstOfRepeatedNames) {
    TempFolder temp;
    const std::string skin = temp.File("dup.skn");
    WriteBytes(skin, PackSkinFile(BuildSkinContainer(
                         {{"a.bmp", "first"}, {"A.BMP", "second"}, {"b.ini", "x"}})));
    ASSERT_EQ(RunTool({"unpack", skin, temp.File("out")}).status, 0);
    EXPECT_EQ(ReadBytes(temp.File("out/a.bmp")), "first");
    EXPECT_FALSE(fs::exists(temp.File("out/A.BMP")));
}

TEST(VardoSkinToolTest, BadInput_OneLineOnStandardErrorAndNothingWrittenOutside) {
    TempFolder temp;
    WriteBytes(temp.File("foreign.skn"),
               PackSkinFile(std::string("\x10\x27\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 16)));
    const std::string damaged = PackSkinFile(BuildSkinContainer({{"a.bmp", "abc"}}));
    WriteBytes(temp.File("damaged.skn"), damaged.substr(0, 4) + "\xFF\xFF\xFF");
    WriteBytes(temp.File("escape.skn"),
               PackSkinFile(BuildSkinContainer({{"ok.bmp", "1"}, {"../x", "2"}})));
    WriteBytes(temp.File("absolute.skn"),
               PackSkinFile(BuildSkinContainer({{temp.File("abs"), "3"}})));

    const std::vector<std::vector<std::string>> refused = {
        {"pack", temp.File("missing"), temp.File("p.skn")},
        {"pack", temp.File("foreign.skn"), temp.File("p.skn")},
        {"pack", temp.path(), temp.File("p.skn"), "--version", "25000"},
        {"list", temp.File("foreign.skn")},
        {"list", temp.File("damaged.skn")},
        {"list", temp.File("missing.skn")},
        {"unpack", temp.File("escape.skn"), temp.File("out/deeper")},
        {"unpack", temp.File("absolute.skn"), temp.File("out")},
        {"unpack", temp.File("damaged.skn"), temp.File("out")},
    };
    for (const auto& args : refused) {
        const ToolRun run = RunTool(args);
        EXPECT_NE(run.status, 0) << args[0] << " " << args[1];
        EXPECT_EQ(CountLines(run.output), 1) << run.output;
        EXPECT_EQ(run.output.rfind("vardo-skin: ", 0), 0u) << run.output;
        EXPECT_EQ(run.output.find('\r'), std::string::npos) << "nothing runs back over the line";
    }
    // A refused file: the system's text on the line, and what is wrong with the file.
    const std::string foreignLine = RunTool({"list", temp.File("foreign.skn")}).output;
    EXPECT_NE(foreignLine.find("此文件版本不同 / 请升级新版本"), std::string::npos) << foreignLine;
    EXPECT_NE(foreignLine.find("10000"), std::string::npos) << "the file's version";
    EXPECT_FALSE(fs::exists(temp.File("p.skn")));
    EXPECT_FALSE(fs::exists(temp.File("out")));
    EXPECT_FALSE(fs::exists(temp.File("x")));
    EXPECT_FALSE(fs::exists(temp.File("abs")));

    EXPECT_NE(RunTool({"unpack", temp.File("foreign.skn")}).status, 0);  // usage
}

TEST(VardoSkinToolTest, HelpAndVersion_GoToStandardOutputWithStatusZero) {
    // The help in the locale's language: English here, Chinese under zh_CN.
    unsetenv("LANGUAGE");
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    setenv("LANG", "zh_CN.UTF-8", 1);
    EXPECT_TRUE(RunTool({"--help"}).output.starts_with("用法：vardo-skin pack"));
    setenv("LANG", "en_US.UTF-8", 1);
    const ToolRun help = RunTool({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* word : {"usage: vardo-skin pack", "unpack", "list", "Exit status"}) {
        EXPECT_NE(help.output.find(word), std::string::npos) << word;
    }
    EXPECT_EQ(RunTool({"list", "x.skn", "-h"}).output, help.output);
    const ToolRun version = RunTool({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.output, "vardo-skin " VARDO_VERSION "\n");
}

TEST(VardoSkinToolTest, WrongArguments_ExitWithStatusTwo) {
    TempFolder temp;
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"extract", "a.skn", "out"},
        {"list"},
        {"list", "a.skn", "b.skn"},
        {"unpack", "a.skn", "out", "--version", "30000"},
        {"pack", temp.path(), temp.File("p.skn"), "--version"},
        {"pack", temp.path(), temp.File("p.skn"), "--version", "25000"},
    };
    for (const auto& args : wrong) {
        const ToolRun run = RunTool(args);
        EXPECT_EQ(run.status, 2) << ::testing::PrintToString(args) << run.output;
        EXPECT_NE(run.output.find("vardo-skin"), std::string::npos) << "the usage or the wrong one";
    }
    EXPECT_FALSE(fs::exists(temp.File("p.skn")));
}

TEST(VardoSkinToolTest, ASkinFileCutShort_IsRefusedAndNothingIsUnpacked) {
    TempFolder temp;
    const std::string skin =
        PackSkinFile(BuildSkinContainer({{"skin.ini", "[Personality]\r\nTop=top.bmp\r\n"},
                                         {"top.bmp", test::SkinLikeBitmapBytes(120, 30, 1)},
                                         {"left.bmp", test::SkinLikeBitmapBytes(8, 200, 2)}}));
    ASSERT_GT(skin.size(), 2000u);
    WriteBytes(temp.File("cut.skn"), skin.substr(0, 1000));
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"list", temp.File("cut.skn")}, {"unpack", temp.File("cut.skn"), temp.File("out")}}) {
        const ToolRun run = RunTool(args);
        EXPECT_EQ(run.status, 1) << args[0];
        EXPECT_EQ(CountLines(run.output), 1) << run.output;
        EXPECT_NE(run.output.find("文件不完整"), std::string::npos) << run.output;
    }
    EXPECT_FALSE(fs::exists(temp.File("out")));

    // In the locale's language: the same line in English.
    unsetenv("LANGUAGE");
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    setenv("LANG", "en_US.UTF-8", 1);
    EXPECT_EQ(RunTool({"list", temp.File("cut.skn")}).output,
              "vardo-skin: " + temp.File("cut.skn") +
                  ": This file is of another version / Please upgrade to the new version! (the "
                  "file is incomplete: its data ends before the declared " +
                  std::to_string(ReadDeclaredSize(skin)) + " bytes are unpacked)\n");
}

TEST(VardoSkinToolTest, Unpack_DoesNotFollowALinkPlantedInTheFolder) {
    TempFolder temp;
    fs::create_directory(temp.File("out"));
    WriteBytes(temp.File("target"), "keep");
    fs::create_symlink(temp.File("target"), temp.File("out/a.bmp"));
    WriteBytes(temp.File("s.skn"), PackSkinFile(BuildSkinContainer({{"a.bmp", "evil"}})));
    EXPECT_NE(RunTool({"unpack", temp.File("s.skn"), temp.File("out")}).status, 0);
    EXPECT_EQ(ReadBytes(temp.File("target")), "keep");
}

}  // namespace
}  // namespace vardo
