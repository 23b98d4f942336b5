#pragma once

#include <QObject>
#include <QTimer>
#include <memory>

namespace vardo {

// A one-second timer that fires at each wall-clock second boundary of the system clock, instead
// of drifting with its start phase: a task set for 08:30:00 starts within a millisecond of
// 08:30:00.000 even when the machine is busy. The kernel wakes it at the boundary itself (a
// timer on the real-time clock with an absolute expiry, in the event loop: a timer descriptor on
// Linux, a waitable timer on Windows), which follows the wall clock when it is set. On Linux it
// also fires at once when the wall clock is set, so that what depends on the second learns of the
// jump then, not a second later. Each tick arms the next, so late ticks do not accumulate.
class AlignedSecondTimer : public QObject {
    Q_OBJECT

  public:
    // Without the kernel's timer (descriptors or handles exhausted) a plain timer stands in, this
    // much past the boundary so that it never lands a hair before it.
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
    struct KernelTimer;  // the system's timer and its notifier in the event loop

    // The system's half (with the constructor, which opens kernel_ or leaves it null when it
    // cannot): arms the kernel's timer for the next whole second of the wall clock, disarms it,
    // and reads its expiry.
    bool ArmKernelTimer();
    void DisarmKernelTimer();
    void Expired();

    void PrepareFallback();
    void Arm();
    void Fire();

    bool active_ = false;
    std::unique_ptr<KernelTimer> kernel_;  // null when it could not be had
    QTimer fallback_;
};

}  // namespace vardo
