#include "SecondSequencer.h"

namespace vardo {

std::vector<LocalSeconds> SecondSequencer::Advance(LocalTime now) {
    const LocalSeconds current = std::chrono::floor<std::chrono::seconds>(now);
    std::vector<LocalSeconds> due;
    if (!last_) {
        due.push_back(current);
    } else {
        const auto step = current - *last_;
        if (step <= std::chrono::seconds::zero() && step >= -kMaxStepBack) return due;
        if (step > std::chrono::seconds::zero() && step <= kMaxCatchUp) {
            for (LocalSeconds second = *last_ + std::chrono::seconds(1); second <= current;
                 second += std::chrono::seconds(1))
                due.push_back(second);
        } else {
            due.push_back(current);
        }
    }
    last_ = current;
    return due;
}

}  // namespace vardo
