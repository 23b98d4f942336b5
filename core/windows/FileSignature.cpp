#include <windows.h>

#include "TimetableArrivals.h"
#include "Utf8Path.h"

namespace vardo {

namespace {

// Since 1970, as on Linux; a file time counts 100 ns steps since 1601.
std::int64_t Nanoseconds(const FILETIME& time) {
    constexpr std::int64_t kStepsFrom1601To1970 = 116444736000000000;
    const std::uint64_t steps =
        static_cast<std::uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
    return (static_cast<std::int64_t>(steps) - kStepsFrom1601To1970) * 100;
}

}  // namespace

// The volume and the file index tell one file from another as device and inode do; a file that
// replaced another by a rename has its own index.
FileSignature SignatureOf(const std::string& path) {
    const HANDLE file = ::CreateFileW(Utf8Path(path).c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    BY_HANDLE_FILE_INFORMATION info{};
    const bool read = ::GetFileInformationByHandle(file, &info) != 0;
    const bool regular = ::GetFileType(file) == FILE_TYPE_DISK;
    ::CloseHandle(file);
    if (!read || !regular || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return {};
    return {true,
            info.dwVolumeSerialNumber,
            static_cast<std::uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow,
            static_cast<std::int64_t>(static_cast<std::uint64_t>(info.nFileSizeHigh) << 32 |
                                      info.nFileSizeLow),
            Nanoseconds(info.ftLastWriteTime),
            Nanoseconds(info.ftLastWriteTime)};
}

}  // namespace vardo
