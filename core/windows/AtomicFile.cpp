#include "AtomicFile.h"

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <mutex>
#include <set>

#include "Utf8Path.h"
#include "WideText.h"

namespace vardo {

namespace {

class UniqueHandle {
  public:
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    ~UniqueHandle() { Close(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool Close() {
        if (!valid()) return true;
        const bool closed = ::CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

  private:
    HANDLE handle_;
};

WriteResult Failure(const std::string& path, DWORD error) {
    const std::string reason = WindowsErrorText(error);
    return {path + ": " + reason, reason};
}

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr)) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// The file a write to path must replace: the end of a chain of symbolic links, or path itself.
std::wstring ReplacedFile(const std::string& path) {
    std::error_code error;
    const std::filesystem::path given = Utf8Path(path);
    if (!std::filesystem::is_symlink(given, error)) return given.wstring();
    const auto resolved = std::filesystem::weakly_canonical(given, error);
    return error ? given.wstring() : resolved.wstring();
}

constexpr std::wstring_view kTemporaryPrefix = L".vardo-";
constexpr std::wstring_view kTemporarySuffix = L".tmp";

std::wstring TemporaryName(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    const std::wstring name = std::wstring(kTemporaryPrefix) +
                              std::to_wstring(::GetCurrentProcessId()) + L"-" +
                              std::to_wstring(counter++) + std::wstring(kTemporarySuffix);
    return (target.parent_path() / name).wstring();
}

// The process a temporary name belongs to, or 0 for any other name.
DWORD TemporaryOwner(std::wstring_view name) {
    if (!name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix)) return 0;
    name.remove_prefix(kTemporaryPrefix.size());
    DWORD owner = 0;
    size_t at = 0;
    for (; at < name.size() && name[at] >= L'0' && name[at] <= L'9'; ++at)
        owner = owner * 10 + static_cast<DWORD>(name[at] - L'0');
    return at > 0 && at < name.size() && name[at] == L'-' ? owner : 0;
}

bool ProcessIsGone(DWORD processId) {
    const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!process) return ::GetLastError() == ERROR_INVALID_PARAMETER;
    const bool ended = ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    ::CloseHandle(process);
    return ended;
}

// A write killed before its rename (a power cut, a process ended outright) leaves its temporary
// file behind. The first write of a process into a folder removes those of processes that are
// gone; a process that is alive keeps its own.
void RemoveLeftTemporaries(const std::filesystem::path& folder) {
    static std::mutex mutex;
    static std::set<std::filesystem::path> swept;
    const std::lock_guard lock(mutex);
    if (!swept.insert(folder).second) return;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const DWORD owner = TemporaryOwner(entry->path().filename().native());
        if (owner > 0 && owner != ::GetCurrentProcessId() && ProcessIsGone(owner))
            ::DeleteFileW(entry->path().c_str());
    }
}

}  // namespace

WriteResult WriteFileAtomically(const std::string& path, std::string_view bytes, Flush flush) {
    const std::filesystem::path target = ReplacedFile(path);
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return Failure(path, ERROR_DIRECTORY);
    // Renaming over a read-only file would replace it silently where a write in place fails.
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY)) return Failure(path, ERROR_ACCESS_DENIED);

    RemoveLeftTemporaries(target.parent_path());
    std::wstring temporary;
    HANDLE handle = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && handle == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = TemporaryName(target);
        handle = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS)
            return Failure(path, ::GetLastError());
    }
    UniqueHandle file(handle);
    if (!file.valid()) return Failure(path, ERROR_FILE_EXISTS);

    DWORD error = 0;
    if (!WriteAll(file.get(), bytes)) error = ::GetLastError();
    if (!error && flush == Flush::Yes && !::FlushFileBuffers(file.get())) error = ::GetLastError();
    if (!file.Close() && !error) error = ::GetLastError();
    // The new file takes the attributes of the one it replaces (a hidden file stays hidden).
    constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                      FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (!error && exists && (attributes & kKeptAttributes) &&
        !::SetFileAttributesW(temporary.c_str(), attributes & kKeptAttributes))
        error = ::GetLastError();
    // ReplaceFile keeps the replaced file's security; a new file is simply moved.
    if (!error && exists &&
        !::ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                        REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
        error = ::GetLastError();
    if (!error && !exists &&
        !::MoveFileExW(temporary.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = ::GetLastError();
    if (error) {
        ::DeleteFileW(temporary.c_str());
        return Failure(path, error);
    }
    return {};
}

std::string ReadFileBytes(const std::string& path, std::error_code& error) {
    error.clear();
    const std::wstring name = Utf8Path(path).wstring();
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD why = ::GetLastError();
        error = why == ERROR_FILE_NOT_FOUND || why == ERROR_PATH_NOT_FOUND
                    ? std::make_error_code(std::errc::no_such_file_or_directory)
                    : std::error_code(static_cast<int>(why), std::system_category());
        return {};
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        error = std::make_error_code(std::errc::is_a_directory);
        return {};
    }
    // Others may go on writing, renaming or deleting the file while it is read.
    UniqueHandle file(::CreateFileW(name.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        error.assign(static_cast<int>(::GetLastError()), std::system_category());
        return {};
    }
    // Only disk files are read, so a device chosen by mistake can neither hang nor fill memory.
    if (::GetFileType(file.get()) != FILE_TYPE_DISK) {
        error = std::make_error_code(std::errc::invalid_argument);
        return {};
    }
    std::string bytes;
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(file.get(), &size) && size.QuadPart > 0)
        bytes.reserve(static_cast<size_t>(size.QuadPart));
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
            error.assign(static_cast<int>(::GetLastError()), std::system_category());
            return {};
        }
        if (got == 0) break;
        bytes.append(buffer, got);
    }
    return bytes;
}

}  // namespace vardo
