#pragma once

#include <QObject>

class QTimer;

// A non-visual component that owns one timer and holds that timer's interval. The timer is
// created disabled and is never started by the component.
class TMyDelay : public QObject {
    Q_OBJECT
  public:
    explicit TMyDelay(QObject* parent = nullptr);
    ~TMyDelay() override;

    // Milliseconds; 0 when there is no timer. Writing never starts the timer.
    int interval() const;
    void setInterval(int milliseconds);

    const QTimer* timer() const { return timer_; }

  private:
    QTimer* timer_;
};
