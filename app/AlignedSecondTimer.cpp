#include "AlignedSecondTimer.h"

#include <QDateTime>

namespace vardo {

void AlignedSecondTimer::PrepareFallback() {
    fallback_.setSingleShot(true);
    fallback_.setTimerType(Qt::PreciseTimer);
    connect(&fallback_, &QTimer::timeout, this, &AlignedSecondTimer::Fire);
}

void AlignedSecondTimer::start() {
    active_ = true;
    Arm();
}

void AlignedSecondTimer::stop() {
    active_ = false;
    fallback_.stop();
    if (kernel_) DisarmKernelTimer();
}

int AlignedSecondTimer::DelayToNextSecond(qint64 epochMs) {
    const qint64 intoSecond = ((epochMs % 1000) + 1000) % 1000;
    return static_cast<int>(1000 - intoSecond) + kMarginMs;
}

void AlignedSecondTimer::Arm() {
    if (kernel_ && ArmKernelTimer()) return;
    fallback_.start(DelayToNextSecond(QDateTime::currentMSecsSinceEpoch()));
}

void AlignedSecondTimer::Fire() {
    // Re-armed before the handlers run, so a slow handler does not push the next tick back,
    // and a handler may stop the timer.
    Arm();
    emit timeout();
}

}  // namespace vardo
