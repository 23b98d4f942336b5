#include "TimetableArrivals.h"

#include <sys/stat.h>

namespace vardo {

namespace {

std::int64_t Nanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

bool Same(const std::optional<TimetableArrival>& known, const TimetableArrival& arrival) {
    return known && known->path == arrival.path && known->signature == arrival.signature;
}

}  // namespace

FileSignature SignatureOf(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return {};
    return {true,
            static_cast<std::uint64_t>(status.st_dev),
            static_cast<std::uint64_t>(status.st_ino),
            static_cast<std::int64_t>(status.st_size),
            Nanoseconds(status.st_mtim),
            Nanoseconds(status.st_ctim)};
}

void TimetableArrivals::Loaded(const std::string& path) {
    Loaded({path, SignatureOf(path)});
}

void TimetableArrivals::Loaded(const TimetableArrival& arrival) {
    loaded_ = arrival;
    pending_.reset();
    renamed_.erase(arrival.path);
}

void TimetableArrivals::Saved(const std::string& path) {
    if (loaded_ && loaded_->path == path) Loaded(path);
}

void TimetableArrivals::Refused(const TimetableArrival& arrival) {
    refused_ = arrival;
    pending_.reset();
}

void TimetableArrivals::RenamedInto(const std::string& path) {
    renamed_.insert(path);
}

// Written after its rename, a file is no longer known to be complete.
void TimetableArrivals::WrittenInPlace(const std::string& path) {
    renamed_.erase(path);
    open_.erase(path);
}

void TimetableArrivals::WriterOpen(const std::string& path) {
    renamed_.erase(path);
    open_.insert(path);
}

void TimetableArrivals::WriterClosed(const std::string& path) {
    open_.erase(path);
}

void TimetableArrivals::WatchLost() {
    renamed_.clear();
    open_.clear();
}

std::optional<TimetableArrival> TimetableArrivals::Due(const std::string& chosen, LocalTime now) {
    // Only the chosen file's rename matters; the others' marks go, so they never pile up.
    const bool renamed = renamed_.contains(chosen);
    renamed_.clear();
    const TimetableArrival found{chosen, SignatureOf(chosen)};
    // The program's own save renames into place too; that is no arrival.
    if (!found.signature.exists || Same(loaded_, found) || Same(refused_, found)) {
        pending_.reset();
        return std::nullopt;
    }
    if (renamed) {
        pending_.reset();
        return found;
    }
    // Its writer holds it open: the wait starts once it is closed.
    if (open_.contains(chosen)) {
        pending_.reset();
        return std::nullopt;
    }
    // Anything else may still be being written: it is taken once it has stopped changing. A
    // clock set back restarts the wait.
    if (!pending_ || pending_->arrival.path != chosen ||
        pending_->arrival.signature != found.signature || now < pending_->since) {
        pending_ = Pending{found, now};
        return std::nullopt;
    }
    if (now - pending_->since < kSettleTime) return std::nullopt;
    pending_.reset();
    return found;
}

}  // namespace vardo
