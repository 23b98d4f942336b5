#include "AlignedSecondTimer.h"

#include <QDateTime>

namespace vardo {

AlignedSecondTimer::AlignedSecondTimer(QObject* parent) : QObject(parent) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &AlignedSecondTimer::Fire);
}

void AlignedSecondTimer::start() {
    Arm();
}

void AlignedSecondTimer::stop() {
    timer_.stop();
}

int AlignedSecondTimer::DelayToNextSecond(qint64 epochMs) {
    const qint64 intoSecond = ((epochMs % 1000) + 1000) % 1000;
    return static_cast<int>(1000 - intoSecond) + kMarginMs;
}

void AlignedSecondTimer::Arm() {
    timer_.start(DelayToNextSecond(QDateTime::currentMSecsSinceEpoch()));
}

void AlignedSecondTimer::Fire() {
    // Re-armed before the handlers run, so a slow handler does not push the next tick back,
    // and a handler may stop the timer.
    Arm();
    emit timeout();
}

}  // namespace vardo
