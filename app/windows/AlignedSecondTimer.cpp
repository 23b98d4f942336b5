#include "AlignedSecondTimer.h"

#include <QWinEventNotifier>

#include <windows.h>

namespace vardo {

namespace {

// Not named in older headers: a timer that keeps to the millisecond rather than to the clock
// interrupt (Windows 10 1803 and later).
constexpr DWORD kHighResolutionTimer = 0x00000002;

// The system time is counted in 100-nanosecond steps.
constexpr ULONGLONG kStepsPerSecond = 10'000'000;

HANDLE CreateSecondTimer() {
    // Auto-reset: the wait that reports an expiry also clears it.
    if (HANDLE timer = ::CreateWaitableTimerExW(nullptr, nullptr, kHighResolutionTimer,
                                                TIMER_ALL_ACCESS))
        return timer;
    return ::CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
}

}  // namespace

// A waitable timer with an absolute due time in system (UTC) time, which the system moves along
// when the wall clock is set; its handle is watched by the event loop.
struct AlignedSecondTimer::KernelTimer {
    explicit KernelTimer(HANDLE timer) : handle(timer), notifier(timer) {
        notifier.setEnabled(false);
    }
    ~KernelTimer() {
        notifier.setEnabled(false);
        ::CancelWaitableTimer(handle);
        ::CloseHandle(handle);
    }
    KernelTimer(const KernelTimer&) = delete;
    KernelTimer& operator=(const KernelTimer&) = delete;

    HANDLE handle;
    QWinEventNotifier notifier;
};

AlignedSecondTimer::AlignedSecondTimer(QObject* parent) : QObject(parent) {
    PrepareFallback();
    HANDLE timer = CreateSecondTimer();
    if (!timer) return;
    kernel_ = std::make_unique<KernelTimer>(timer);
    connect(&kernel_->notifier, &QWinEventNotifier::activated, this, &AlignedSecondTimer::Expired);
}

AlignedSecondTimer::~AlignedSecondTimer() = default;

bool AlignedSecondTimer::ArmKernelTimer() {
    FILETIME now{};
    ::GetSystemTimePreciseAsFileTime(&now);
    const ULONGLONG steps = (ULONGLONG{now.dwHighDateTime} << 32) | now.dwLowDateTime;
    // A positive due time is absolute.
    LARGE_INTEGER due{};
    due.QuadPart = static_cast<LONGLONG>((steps / kStepsPerSecond + 1) * kStepsPerSecond);
    if (!::SetWaitableTimer(kernel_->handle, &due, 0, nullptr, nullptr, FALSE)) return false;
    kernel_->notifier.setEnabled(true);
    return true;
}

void AlignedSecondTimer::DisarmKernelTimer() {
    kernel_->notifier.setEnabled(false);
    ::CancelWaitableTimer(kernel_->handle);
}

// The notifier tells of the expiry once; the next arming sets the timer again.
void AlignedSecondTimer::Expired() {
    kernel_->notifier.setEnabled(false);
    Fire();
}

}  // namespace vardo
