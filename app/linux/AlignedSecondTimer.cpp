#include "AlignedSecondTimer.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <QDateTime>
#include <QSocketNotifier>
#include <cerrno>
#include <cstdint>
#include <ctime>

namespace vardo {

AlignedSecondTimer::AlignedSecondTimer(QObject* parent)
    : QObject(parent), timer_(timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC)) {
    if (timer_ >= 0) {
        notifier_ = std::make_unique<QSocketNotifier>(timer_, QSocketNotifier::Read);
        notifier_->setEnabled(false);
        connect(notifier_.get(), &QSocketNotifier::activated, this, &AlignedSecondTimer::Expired);
    }
    fallback_.setSingleShot(true);
    fallback_.setTimerType(Qt::PreciseTimer);
    connect(&fallback_, &QTimer::timeout, this, &AlignedSecondTimer::Fire);
}

AlignedSecondTimer::~AlignedSecondTimer() {
    notifier_.reset();
    if (timer_ >= 0) close(timer_);
}

void AlignedSecondTimer::start() {
    active_ = true;
    Arm();
}

void AlignedSecondTimer::stop() {
    active_ = false;
    fallback_.stop();
    if (timer_ < 0) return;
    notifier_->setEnabled(false);
    const itimerspec disarmed{};
    timerfd_settime(timer_, 0, &disarmed, nullptr);
}

int AlignedSecondTimer::DelayToNextSecond(qint64 epochMs) {
    const qint64 intoSecond = ((epochMs % 1000) + 1000) % 1000;
    return static_cast<int>(1000 - intoSecond) + kMarginMs;
}

void AlignedSecondTimer::Arm() {
    if (timer_ >= 0) {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        itimerspec next{};
        next.it_value.tv_sec = now.tv_sec + 1;
        // Cancelled, and so woken, when someone sets the wall clock.
        if (timerfd_settime(timer_, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &next, nullptr) ==
            0) {
            notifier_->setEnabled(true);
            return;
        }
    }
    fallback_.start(DelayToNextSecond(QDateTime::currentMSecsSinceEpoch()));
}

// The boundary has come, or the wall clock was set (the read then fails with ECANCELED): both
// are a tick. Anything else is a wake-up with nothing to read.
void AlignedSecondTimer::Expired() {
    std::uint64_t expirations = 0;
    if (read(timer_, &expirations, sizeof expirations) < 0 && errno != ECANCELED) return;
    Fire();
}

void AlignedSecondTimer::Fire() {
    // Re-armed before the handlers run, so a slow handler does not push the next tick back,
    // and a handler may stop the timer.
    Arm();
    emit timeout();
}

}  // namespace vardo
