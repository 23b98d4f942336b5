#include "AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <filesystem>
#include <mutex>
#include <set>
#include <utility>

namespace vardo {

namespace {

class UniqueFd {
  public:
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() { Close(); }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now, reporting the error a late write-back failure shows up as.
    bool Close() {
        if (fd_ < 0) return true;
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0;
    }

  private:
    int fd_;
};

WriteResult Failure(const std::string& path, int error) {
    const std::string reason = std::system_category().message(error);
    return {path + ": " + reason, reason};
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// The file a write to path must replace: the end of a chain of symbolic links, or path itself.
std::string ReplacedFile(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) return path;
    const auto resolved = std::filesystem::weakly_canonical(path, error);
    return error ? path : resolved.string();
}

// Why an existing file may not be written, or 0. Renaming over a file needs only the folder's
// permission, so without this check a read-only file would be replaced silently where a write in
// place fails. Root passes every access check; for it a file without any write bit counts as
// read-only, as the read-only attribute does.
int WhyNotWritable(const std::filesystem::path& target, const struct stat& existing) {
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return errno;
    return (existing.st_mode & 0222) == 0 ? EACCES : 0;
}

// A short name of its own: one built from the target's name would exceed the file system's
// limit on name length for targets whose own name is near it.
constexpr std::string_view kTemporaryPrefix = ".vardo-";
constexpr std::string_view kTemporarySuffix = ".tmp";

std::string TemporaryName(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    const std::string name = std::string(kTemporaryPrefix) + std::to_string(::getpid()) + "-" +
                             std::to_string(counter++) + std::string(kTemporarySuffix);
    return (target.parent_path() / name).string();
}

// The process a temporary name belongs to, or 0 for any other name.
pid_t TemporaryOwner(std::string_view name) {
    if (!name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix)) return 0;
    name.remove_prefix(kTemporaryPrefix.size());
    pid_t owner = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), owner);
    return error == std::errc() && end != name.data() && *end == '-' ? owner : 0;
}

// A write killed before its rename (a power cut, SIGKILL) leaves its temporary file behind. The
// first write of a process into a folder removes those of processes that are gone; a process that
// is alive, or not ours to ask, keeps its own.
void RemoveLeftTemporaries(const std::filesystem::path& folder) {
    static std::mutex mutex;
    static pid_t sweeper = 0;  // a forked child sweeps again
    static std::set<std::filesystem::path> swept;
    const std::lock_guard lock(mutex);
    if (std::exchange(sweeper, ::getpid()) != ::getpid()) swept.clear();
    if (!swept.insert(folder).second) return;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const pid_t owner = TemporaryOwner(entry->path().filename().native());
        if (owner > 0 && owner != ::getpid() && ::kill(owner, 0) != 0 && errno == ESRCH) {
            ::unlink(entry->path().c_str());
        }
    }
}

}  // namespace

WriteResult WriteFileAtomically(const std::string& path, std::string_view bytes, Flush flush) {
    const std::filesystem::path target = ReplacedFile(path);
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) return Failure(path, EISDIR);
    // A device, pipe or socket chosen as the target must not be swapped for a plain file.
    if (exists && !S_ISREG(existing.st_mode)) return Failure(path, EINVAL);
    if (const int error = exists ? WhyNotWritable(target, existing) : 0)
        return Failure(path, error);

    RemoveLeftTemporaries(target.parent_path());
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = TemporaryName(target);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return Failure(path, errno);
    }
    UniqueFd file(fd);
    if (!file.valid()) return Failure(path, EEXIST);

    int error = 0;
    if (!WriteAll(file.get(), bytes)) error = errno;
    if (!error && exists) {
        // Only root can give the file back to another owner; anyone else owns it already.
        if (::fchown(file.get(), existing.st_uid, existing.st_gid) != 0 && errno != EPERM)
            error = errno;
        if (!error && ::fchmod(file.get(), existing.st_mode & 07777) != 0) error = errno;
    }
    if (!error && flush == Flush::Yes && ::fsync(file.get()) != 0) error = errno;
    if (!file.Close() && !error) error = errno;
    if (!error && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
    if (error) {
        ::unlink(temporary.c_str());
        return Failure(path, error);
    }
    // The folder is not flushed: until it is, a crash leaves the previous file, which is whole.
    return {};
}

std::string ReadFileBytes(const std::string& path, std::error_code& error) {
    error.clear();
    // O_NONBLOCK keeps a FIFO at path from blocking the open; only regular files are read, so a
    // device or pipe chosen by mistake can neither hang the program nor fill its memory.
    UniqueFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file.valid()) {
        error.assign(errno, std::system_category());
        return {};
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) {
        error.assign(errno, std::system_category());
        return {};
    }
    if (!S_ISREG(info.st_mode)) {
        error = std::make_error_code(S_ISDIR(info.st_mode) ? std::errc::is_a_directory
                                                           : std::errc::invalid_argument);
        return {};
    }
    std::string bytes;
    if (info.st_size > 0) bytes.reserve(static_cast<size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            error.assign(errno, std::system_category());
            return {};
        }
        if (got == 0) break;
        bytes.append(buffer, static_cast<size_t>(got));
    }
    return bytes;
}

}  // namespace vardo
