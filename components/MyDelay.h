#pragma once

#include <QObject>

class QTimer;

namespace vardo {

// A non-visual component that owns one timer and holds that timer's interval. The timer is
// created disabled and is never started by the component.
class TMyDelay : public QObject {
    Q_OBJECT
    Q_PROPERTY(int Interval READ Interval WRITE SetInterval)

  public:
    explicit TMyDelay(QObject* parent = nullptr);
    ~TMyDelay() override;

    // Milliseconds; 0 when there is no timer. Writing never starts the timer.
    int Interval() const;
    void SetInterval(int milliseconds);

    const QTimer* Timer() const { return timer_; }

  private:
    QTimer* timer_;
};

}  // namespace vardo
