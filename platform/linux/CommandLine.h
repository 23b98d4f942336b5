#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vardo::platform {

// A command line resolved into the program to execute and its argument vector.
struct SplitCommand {
    std::string program;            // path handed to exec: absolute, or as resolved on PATH
    std::vector<std::string> argv;  // argv[0] is the program as written on the line
};

// Splits a command line the way an unquoted Windows command line is read, without a shell:
// a leading double-quoted path is the program; otherwise every prefix that ends before a blank
// (and finally the whole line) is tried from the shortest, and the first that names an
// executable regular file wins. A prefix without '/' is searched in the folders of searchPath
// (PATH syntax); a relative prefix with '/' is taken relative to workingDirectory. The rest of
// the line becomes the arguments: blanks separate them, double quotes group words (the quotes
// themselves are dropped) and \" stands for a literal quote. nullopt when no program is found.
std::optional<SplitCommand> SplitCommandLine(const std::string& commandLine,
                                             const std::string& workingDirectory,
                                             const std::string& searchPath);

// The arguments part of a command line, split by the rule above.
std::vector<std::string> SplitArguments(const std::string& text);

}  // namespace vardo::platform
