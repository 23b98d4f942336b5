#include "AutoStart.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string_view>
#include <vector>

#include "AtomicFile.h"
#include "UserFolders.h"

namespace vardo::platform {
namespace {

namespace fs = std::filesystem;

// Exec= quoting: an argument with a reserved character is double-quoted, and inside the quotes
// '"', '`', '$' and '\' are escaped with a backslash. '%' starts a field code, so it is doubled.
std::string QuoteExecArgument(const std::string& argument) {
    constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
    const bool needsQuotes =
        argument.empty() || argument.find_first_of(kReserved) != std::string::npos;
    std::string quoted = needsQuotes ? "\"" : "";
    for (char c : argument) {
        if (needsQuotes && (c == '"' || c == '`' || c == '$' || c == '\\')) quoted += '\\';
        quoted += c;
        if (c == '%') quoted += '%';
    }
    if (needsQuotes) quoted += '"';
    return quoted;
}

// Desktop-entry string values escape '\' and control characters.
std::string EscapeStringValue(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
            case '\\':
                escaped += "\\\\";
                break;
            case '\n':
                escaped += "\\n";
                break;
            case '\t':
                escaped += "\\t";
                break;
            case '\r':
                escaped += "\\r";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string UnescapeStringValue(const std::string& text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            plain += text[i];
            continue;
        }
        switch (text[++i]) {
            case 's':
                plain += ' ';
                break;
            case 'n':
                plain += '\n';
                break;
            case 't':
                plain += '\t';
                break;
            case 'r':
                plain += '\r';
                break;
            case '\\':
                plain += '\\';
                break;
            default:
                plain += '\\', plain += text[i];
        }
    }
    return plain;
}

// The arguments of an Exec= value; none when its quoting is broken.
std::vector<std::string> ParseExec(const std::string& exec) {
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (quoted) {
            if (c == '"') {
                quoted = false;
            } else if (c == '\\' && i + 1 < exec.size()) {
                current += exec[++i];
            } else {
                current += c;
            }
        } else if (c == '"') {
            quoted = true;
            inArgument = true;
        } else if (c == ' ' || c == '\t') {
            if (inArgument) arguments.push_back(current);
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
        if (c == '%' && i + 1 < exec.size() && exec[i + 1] == '%') ++i;
    }
    if (quoted) return {};
    if (inArgument) arguments.push_back(current);
    return arguments;
}

struct DesktopEntry {
    std::string exec;
    bool hidden = false;
};

std::optional<DesktopEntry> ReadDesktopEntry(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    DesktopEntry entry;
    bool inMainGroup = false;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[') {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        if (!inMainGroup) continue;
        const auto equals = line.find('=');
        if (equals == std::string::npos) continue;
        std::string key = line.substr(0, equals);
        while (!key.empty() && key.back() == ' ') key.pop_back();
        std::string value = line.substr(equals + 1);
        while (!value.empty() && value.front() == ' ') value.erase(0, 1);
        if (key == "Exec") entry.exec = UnescapeStringValue(value);
        if (key == "Hidden") entry.hidden = value == "true";
    }
    return entry;
}

}  // namespace

std::string AutoStartEntryPath(const std::string& name) {
    return ConfigFolder() + "/autostart/" + name + ".desktop";
}

bool RegReadEquals(const std::string& name, const std::string& programPath) {
    const auto entry = ReadDesktopEntry(AutoStartEntryPath(name));
    if (!entry || entry->hidden) return false;
    const auto arguments = ParseExec(entry->exec);
    return arguments.size() == 1 && arguments.front() == programPath;
}

bool RegWriteText(const std::string& name, const std::string& programPath) {
    const fs::path target = AutoStartEntryPath(name);
    std::error_code error;
    fs::create_directories(target.parent_path(), error);
    if (error) return false;
    std::ostringstream text;
    text << "[Desktop Entry]\n"
         << "Type=Application\n"
         << "Name=" << EscapeStringValue(fs::path(programPath).filename().string()) << "\n"
         << "Exec=" << EscapeStringValue(QuoteExecArgument(programPath)) << "\n"
         << "Terminal=false\n";
    return WriteFileAtomically(target.string(), text.str()).ok();
}

void RegDeleteName(const std::string& name) {
    std::error_code ignored;
    fs::remove(AutoStartEntryPath(name), ignored);
}

}  // namespace vardo::platform
