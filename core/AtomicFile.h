#pragma once

#include <string>
#include <string_view>
#include <system_error>

namespace vardo {

// Outcome of a file write: empty error on success, otherwise a text the operator can be shown
// ("<path>: <reason>"), and the reason alone.
struct WriteResult {
    std::string error;
    std::string reason;

    bool ok() const { return error.empty(); }
    explicit operator bool() const { return ok(); }
};

// Replaces the file at path with bytes so that a failure at any point leaves the previous file
// untouched: the bytes go to a temporary file in the same folder, are flushed to disk, and the
// temporary file is renamed over path. Only a regular file is replaced, and only one that may be
// written (write permission, and at least one write bit). An existing file keeps its permission
// bits (and, where the process may set it, its owner); a symbolic link at path is followed, so the
// file it names is replaced. A file rewritten every second whose loss in a power cut costs
// nothing (the metrics) skips the flush to disk: Flush::No; the replacement stays atomic.
enum class Flush { Yes, No };
WriteResult WriteFileAtomically(const std::string& path, std::string_view bytes,
                                Flush flush = Flush::Yes);

// The whole content of a regular file. On failure returns "" and sets error
// (std::errc::no_such_file_or_directory when nothing exists at path, is_a_directory for a folder,
// invalid_argument for a device, pipe or socket).
std::string ReadFileBytes(const std::string& path, std::error_code& error);

}  // namespace vardo
