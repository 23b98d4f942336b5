#include "ReportStatus.h"

namespace vardo {

EntryStatus StatusOf(const AsRunEntry& entry) {
    if (entry.row == 0) return EntryStatus::Unplanned;
    if (entry.actualStart) {
        const std::optional<std::int64_t> delay = entry.StartDelay();
        return delay && *delay >= kLateStartSeconds ? EntryStatus::Late : EntryStatus::Ran;
    }
    if (!entry.plannedStart) return EntryStatus::Idle;
    return entry.pending ? EntryStatus::Pending : EntryStatus::Missed;
}

}  // namespace vardo
