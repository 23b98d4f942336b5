#include "AlignedSecondTimer.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <cstdint>
#include <ctime>

namespace vardo {

// A timer descriptor on the real-time clock, read in the event loop.
struct AlignedSecondTimer::KernelTimer {
    explicit KernelTimer(int descriptor)
        : fd(descriptor), notifier(descriptor, QSocketNotifier::Read) {
        notifier.setEnabled(false);
    }
    ~KernelTimer() {
        notifier.setEnabled(false);
        close(fd);
    }
    KernelTimer(const KernelTimer&) = delete;
    KernelTimer& operator=(const KernelTimer&) = delete;

    int fd;
    QSocketNotifier notifier;
};

AlignedSecondTimer::AlignedSecondTimer(QObject* parent) : QObject(parent) {
    PrepareFallback();
    const int fd = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd < 0) return;
    kernel_ = std::make_unique<KernelTimer>(fd);
    connect(&kernel_->notifier, &QSocketNotifier::activated, this, &AlignedSecondTimer::Expired);
}

AlignedSecondTimer::~AlignedSecondTimer() = default;

bool AlignedSecondTimer::ArmKernelTimer() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    itimerspec next{};
    next.it_value.tv_sec = now.tv_sec + 1;
    // Cancelled, and so woken, when someone sets the wall clock.
    if (timerfd_settime(kernel_->fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &next, nullptr) !=
        0)
        return false;
    kernel_->notifier.setEnabled(true);
    return true;
}

void AlignedSecondTimer::DisarmKernelTimer() {
    kernel_->notifier.setEnabled(false);
    const itimerspec disarmed{};
    timerfd_settime(kernel_->fd, 0, &disarmed, nullptr);
}

// The boundary has come, or the wall clock was set (the read then fails with ECANCELED): both
// are a tick. Anything else is a wake-up with nothing to read.
void AlignedSecondTimer::Expired() {
    std::uint64_t expirations = 0;
    if (read(kernel_->fd, &expirations, sizeof expirations) < 0 && errno != ECANCELED) return;
    Fire();
}

}  // namespace vardo
