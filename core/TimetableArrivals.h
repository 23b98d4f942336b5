#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <set>
#include <string>

#include "Clock.h"

namespace vardo {

// Which file lies at a path and how it was last written: a file replaced by a rename has another
// inode, one written in place another size or time.
struct FileSignature {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::int64_t changedNanoseconds = 0;
    friend bool operator==(const FileSignature&, const FileSignature&) = default;
};

// The signature of the regular file at path; exists is false for anything else.
FileSignature SignatureOf(const std::string& path);

// A timetable file that has arrived and is ready to be taken, as it was when found so.
struct TimetableArrival {
    std::string path;
    FileSignature signature;
};

// Decides when a timetable that arrives in the Data folder is taken: a file renamed into place
// (rsync, Ansible, Syncthing and the like write a temporary file and rename it) at once; a file
// written in place once its writer has closed it, when the folder watch tells of closes, and it
// has then stayed unchanged for kSettleTime, so that a half-written file is never taken (a copy
// that stalls keeps the file unchanged, but open). Without word of the writer (a file found by
// polling, a watch renewed after its folder went) the unchanged kSettleTime alone decides. The
// caller asks with the day's choice on every folder event and every second.
class TimetableArrivals {
  public:
    static constexpr std::chrono::seconds kSettleTime{2};

    // The running table came from path as it is now (a load, or the program's own save).
    void Loaded(const std::string& path);
    void Loaded(const TimetableArrival& arrival);
    // The program saved the table to path: when the table came from there, that is its file now.
    void Saved(const std::string& path);
    // The file did not read as a timetable: it is not offered again until it changes.
    void Refused(const TimetableArrival& arrival);

    // The folder watch saw a file arrive at path by a rename, or be written there in place.
    void RenamedInto(const std::string& path);
    void WrittenInPlace(const std::string& path);
    // The folder watch saw a writer write to path and keep it open, or close it.
    void WriterOpen(const std::string& path);
    void WriterClosed(const std::string& path);
    // The folder watch may have missed changes: what it told of the folder's files is void.
    void WatchLost();

    // The file to take now when the day's choice is `chosen`: nothing while it is the file the
    // table came from and unchanged, missing, refused as it is, held open by its writer, or
    // written in place and not yet unchanged for kSettleTime. Renames of files other than
    // `chosen` are forgotten: such a file, once chosen, is taken as one written in place.
    std::optional<TimetableArrival> Due(const std::string& chosen, LocalTime now);

  private:
    struct Pending {
        TimetableArrival arrival;
        LocalTime since;
    };

    std::optional<TimetableArrival> loaded_;
    std::optional<TimetableArrival> refused_;
    std::optional<Pending> pending_;
    std::set<std::string> renamed_;
    std::set<std::string> open_;  // written and not yet closed by their writer
};

}  // namespace vardo
