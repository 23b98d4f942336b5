#pragma once

#include <QObject>
#include <QTimer>

namespace vardo {

// A one-second timer that fires just after each wall-clock second boundary of the system clock,
// instead of drifting with its start phase: a task set for 08:30:00 starts a few milliseconds
// after 08:30:00.000 even when the machine is busy. Each tick re-arms a precise single shot for
// the rest of the current second plus a small margin, so late ticks do not accumulate.
class AlignedSecondTimer : public QObject {
    Q_OBJECT

  public:
    // Past the boundary by this much, so the tick never lands a hair before it.
    static constexpr int kMarginMs = 2;

    explicit AlignedSecondTimer(QObject* parent = nullptr);

    void start();
    void stop();
    bool isActive() const { return timer_.isActive(); }

    // Milliseconds from a system-clock time (ms since the epoch) to just past its next second.
    static int DelayToNextSecond(qint64 epochMs);

  signals:
    void timeout();

  private:
    void Arm();
    void Fire();

    QTimer timer_;
};

}  // namespace vardo
