// vardo-skin: packs a folder into a skin file, unpacks a skin file into a folder, lists a skin
// file's entries. Every failure is one line on standard error and a non-zero exit status: 2 for
// wrong arguments, 1 for anything else.
#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include <QtGlobal>

#include "AtomicFile.h"
#include "CommandArguments.h"
#include "Language.h"
#include "SkinRead.h"
#include "Utf8Path.h"
#include "WinConvert.h"

namespace fs = std::filesystem;

namespace vardo {
namespace {

// The usage and help in Chinese, the program's own language; the translation gives them in the
// locale's.
constexpr const char* kUsage =
    QT_TRANSLATE_NOOP("vardo::SkinCommandLine",
                      "用法：vardo-skin pack 文件夹 文件.skn [--version 20000|30000|40000]\n"
                      "      vardo-skin unpack 文件.skn 文件夹\n"
                      "      vardo-skin list 文件.skn\n"
                      "      vardo-skin --help | --version\n");

constexpr const char* kHelp = QT_TRANSLATE_NOOP(
    "vardo::SkinCommandLine",
    "打包、解包和列出皮肤文件（.skn），它们给 vardo 的窗口以边框、标题栏和控件。\n"
    "\n"
    "  pack 文件夹 文件.skn   把文件夹中的每个文件打包进 文件.skn，容器版本为 20000，\n"
    "                         除非其后跟 --version 30000 或 40000\n"
    "  unpack 文件.skn 文件夹 把各条目写入文件夹（重名的取第一个，不写到文件夹之外）\n"
    "  list 文件.skn          列出容器版本，然后每个条目的名称和大小\n"
    "  --help                 显示本说明并退出\n"
    "  --version              显示版本并退出\n"
    "\n"
    "退出状态：0 成功；1 外来的或损坏的皮肤文件（包括被截短的）、文件夹不存在或条目名带有\n"
    "文件夹部分，在标准错误上用一行说明；2 参数错误。\n");

// A failure to report: its text is the whole line after "vardo-skin: ".
class Failure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Arguments the tool cannot act on: exit status 2.
class UsageError : public Failure {
  public:
    using Failure::Failure;
};

std::string ReadWholeFile(const std::string& path) {
    std::error_code error;
    std::string bytes = ReadFileBytes(path, error);
    if (error) throw Failure(path + ": " + error.message());
    return bytes;
}

TSkinReader LoadSkinFile(const std::string& path) {
    TSkinReader reader;
    if (!reader.LoadFromStream(ReadWholeFile(path))) {
        throw Failure(path + ": " +
                      OneLine(CommandLineText(kSkinFileTextContext, reader.LoadError())) + " (" +
                      CommandLineText(reader.LoadReason()) + ")");
    }
    return reader;
}

std::uint32_t ParseVersion(std::string_view text) {
    for (const std::uint32_t version : {kSkinVersion20000, kSkinVersion30000, kSkinVersion40000}) {
        if (text == std::to_string(version)) return version;
    }
    throw UsageError("unknown container version " + std::string(text) +
                     " (use 20000, 30000 or 40000)");
}

int Pack(const std::string& folder, const std::string& skinFile, std::uint32_t version) {
    std::error_code error;
    if (!fs::is_directory(Utf8Path(folder), error)) throw Failure(folder + ": not a folder");

    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(Utf8Path(folder), error)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
    }
    if (error) throw Failure(folder + ": " + error.message());
    std::sort(files.begin(), files.end());

    std::vector<SkinEntry> entries;
    for (const fs::path& file : files) {
        entries.push_back({PathUtf8(file.filename()), ReadWholeFile(PathUtf8(file))});
    }
    std::string container;
    try {
        container = BuildSkinContainer(entries, version);
    } catch (const std::invalid_argument& invalid) {
        throw Failure(folder + ": " + invalid.what());
    }
    const WriteResult written = WriteFileAtomically(skinFile, PackSkinFile(container));
    if (!written) throw Failure(written.error);
    return 0;
}

// An entry name is written as a file of the output folder only when it names one: not empty, no
// folder part, not "." or "..". On Windows a backslash also parts folders, and a colon names a
// drive or a stream.
#ifdef _WIN32
constexpr std::string_view kFolderParts = "/\\:";
#else
constexpr std::string_view kFolderParts = "/";
#endif

bool StaysInFolder(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(kFolderParts) == std::string_view::npos;
}

#ifdef _WIN32
// A link at the name is removed, not written through: the entry lands in the folder.
void WriteEntry(const fs::path& path, std::string_view bytes) {
    std::error_code error;
    if (fs::is_symlink(path, error)) fs::remove(path, error);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) throw Failure(PathUtf8(path) + ": cannot be written");
}
#else
void WriteEntry(const fs::path& path, std::string_view bytes) {
    // O_NOFOLLOW: a symbolic link planted in the folder must not lead the write elsewhere.
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) throw Failure(path.string() + ": " + std::strerror(errno));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int code = errno;
            ::close(fd);
            throw Failure(path.string() + ": " + std::strerror(code));
        }
        done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0) throw Failure(path.string() + ": " + std::strerror(errno));
}
#endif

int Unpack(const std::string& skinFile, const std::string& folder) {
    const TSkinReader reader = LoadSkinFile(skinFile);
    for (int i = 0; i < reader.Count(); ++i) {
        if (!StaysInFolder(reader.EntryName(i))) {
            throw Failure(skinFile + ": entry name \"" + std::string(reader.EntryName(i)) +
                          "\" would leave the output folder");
        }
    }
    std::error_code error;
    fs::create_directories(Utf8Path(folder), error);
    if (error || !fs::is_directory(Utf8Path(folder), error))
        throw Failure(folder + ": cannot create the folder");

    // A name that occurs again (in any letter case) is the entry a lookup finds: the first.
    std::set<std::string> written;
    std::string bytes;
    for (int i = 0; i < reader.Count(); ++i) {
        const std::string name(reader.EntryName(i));
        std::string folded = name;
        std::transform(folded.begin(), folded.end(), folded.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; });
        if (!written.insert(folded).second) continue;
        WriteEntry(Utf8Path(folder) / Utf8Path(name), reader.EntryData(i));
    }
    return 0;
}

int List(const std::string& skinFile) {
    const TSkinReader reader = LoadSkinFile(skinFile);
    std::cout << "version " << reader.Version() << "\n";
    for (int i = 0; i < reader.Count(); ++i) {
        std::cout << reader.EntryName(i) << "\t" << reader.EntryData(i).size() << "\n";
    }
    return 0;
}

int Run(const std::vector<std::string>& args) {
    if (std::find(args.begin(), args.end(), "--help") != args.end() ||
        std::find(args.begin(), args.end(), "-h") != args.end()) {
        std::cout << CommandLineText("vardo::SkinCommandLine", kUsage) << "\n"
                  << CommandLineText("vardo::SkinCommandLine", kHelp);
        return 0;
    }
    // Alone, --version asks for the tool's version; after pack it names the container version.
    if (args.size() == 1 && args[0] == "--version") {
        std::cout << "vardo-skin " VARDO_VERSION "\n";
        return 0;
    }
    std::vector<std::string> positional;
    std::uint32_t version = kSkinVersion20000;
    bool versionGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--version") {
            if (i + 1 == args.size()) throw UsageError("--version needs a container version");
            version = ParseVersion(args[++i]);
            versionGiven = true;
        } else {
            positional.push_back(args[i]);
        }
    }
    const std::string command = positional.empty() ? "" : positional[0];
    if (command == "pack" && positional.size() == 3) {
        return Pack(positional[1], positional[2], version);
    }
    if (command == "unpack" && positional.size() == 3 && !versionGiven) {
        return Unpack(positional[1], positional[2]);
    }
    if (command == "list" && positional.size() == 2 && !versionGiven) return List(positional[1]);
    std::cerr << CommandLineText("vardo::SkinCommandLine", kUsage);
    return 2;
}

}  // namespace
}  // namespace vardo

int main(int argc, char** argv) {
    try {
        return vardo::Run(vardo::CommandArguments(argc, argv));
    } catch (const vardo::UsageError& error) {
        std::cerr << "vardo-skin: " << error.what() << " (see --help)\n";
        return 2;
    } catch (const vardo::Failure& failure) {
        std::cerr << "vardo-skin: " << failure.what() << "\n";
    } catch (const std::exception& error) {
        std::cerr << "vardo-skin: " << error.what() << "\n";
    }
    return 1;
}
