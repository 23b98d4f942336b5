#pragma once

#include <QObject>
#include <QTimer>
#include <memory>

class QSocketNotifier;

namespace vardo {

// A one-second timer that fires at each wall-clock second boundary of the system clock, instead
// of drifting with its start phase: a task set for 08:30:00 starts within a millisecond of
// 08:30:00.000 even when the machine is busy. The kernel wakes it at the boundary itself (a
// timer on the real-time clock with an absolute expiry, in the event loop); it also fires at once
// when the wall clock is set, so that what depends on the second learns of the jump then, not a
// second later. Each tick arms the next, so late ticks do not accumulate.
class AlignedSecondTimer : public QObject {
    Q_OBJECT

  public:
    // Without the kernel's timer (descriptors exhausted) a plain timer stands in, this much past
    // the boundary so that it never lands a hair before it.
    static constexpr int kMarginMs = 2;

    explicit AlignedSecondTimer(QObject* parent = nullptr);
    ~AlignedSecondTimer() override;

    void start();
    void stop();
    bool isActive() const { return active_; }

    // Milliseconds from a system-clock time (ms since the epoch) to just past its next second.
    static int DelayToNextSecond(qint64 epochMs);

  signals:
    void timeout();

  private:
    void Arm();
    void Expired();
    void Fire();

    bool active_ = false;
    int timer_ = -1;  // the kernel's timer; -1 when it could not be had
    std::unique_ptr<QSocketNotifier> notifier_;
    QTimer fallback_;
};

}  // namespace vardo
