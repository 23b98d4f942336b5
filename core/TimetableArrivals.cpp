#include "TimetableArrivals.h"

namespace vardo {

namespace {

bool Same(const std::optional<TimetableArrival>& known, const TimetableArrival& arrival) {
    return known && known->path == arrival.path && known->signature == arrival.signature;
}

}  // namespace

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
