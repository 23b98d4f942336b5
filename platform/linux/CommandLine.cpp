#include "CommandLine.h"

#include <sys/stat.h>
#include <unistd.h>

namespace vardo::platform {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsExecutableFile(const std::string& path) {
    struct stat status {};
    return !path.empty() && stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

// The file a program name refers to, or an empty text when it names no executable file.
std::string ResolveProgram(const std::string& name, const std::string& workingDirectory,
                           const std::string& searchPath) {
    if (name.empty()) return {};
    if (name.find('/') != std::string::npos) {
        std::string path = name;
        if (name.front() != '/' && !workingDirectory.empty()) path = workingDirectory + "/" + name;
        return IsExecutableFile(path) ? path : std::string{};
    }
    std::size_t begin = 0;
    while (begin <= searchPath.size()) {
        std::size_t end = searchPath.find(':', begin);
        if (end == std::string::npos) end = searchPath.size();
        // An empty PATH entry means the current folder, which for a task is its working folder.
        std::string folder = searchPath.substr(begin, end - begin);
        if (folder.empty())
            folder = workingDirectory.empty() ? "." : workingDirectory;
        else if (folder.front() != '/' && !workingDirectory.empty())
            folder = workingDirectory + "/" + folder;
        std::string candidate = folder + "/" + name;
        if (IsExecutableFile(candidate)) return candidate;
        begin = end + 1;
    }
    return {};
}

// The resolved program, with the name it was written as and the split arguments as its argv.
SplitCommand MakeCommand(std::string program, const std::string& name,
                         const std::string& arguments) {
    SplitCommand command{std::move(program), {name}};
    for (auto& argument : SplitArguments(arguments)) command.argv.push_back(std::move(argument));
    return command;
}

}  // namespace

std::vector<std::string> SplitArguments(const std::string& text) {
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\' && i + 1 < text.size() && text[i + 1] == '"') {
            current += '"';
            inArgument = true;
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
            inArgument = true;
        } else if (IsBlank(c) && !quoted) {
            if (inArgument) arguments.push_back(std::move(current));
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument) arguments.push_back(std::move(current));
    return arguments;
}

std::optional<SplitCommand> SplitCommandLine(const std::string& commandLine,
                                             const std::string& workingDirectory,
                                             const std::string& searchPath) {
    if (!commandLine.empty() && commandLine.front() == '"') {
        const std::size_t close = commandLine.find('"', 1);
        const std::string name =
            commandLine.substr(1, close == std::string::npos ? std::string::npos : close - 1);
        std::string program = ResolveProgram(name, workingDirectory, searchPath);
        if (program.empty()) return std::nullopt;
        return MakeCommand(std::move(program), name,
                           close == std::string::npos ? "" : commandLine.substr(close + 1));
    }
    for (std::size_t end = 0; end <= commandLine.size(); ++end) {
        if (end < commandLine.size() && !IsBlank(commandLine[end])) continue;
        const std::string name = commandLine.substr(0, end);
        std::string program = ResolveProgram(name, workingDirectory, searchPath);
        if (!program.empty()) return MakeCommand(std::move(program), name, commandLine.substr(end));
    }
    return std::nullopt;
}

}  // namespace vardo::platform
