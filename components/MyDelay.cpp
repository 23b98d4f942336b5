#include "MyDelay.h"

#include <QTimer>

namespace vardo {

TMyDelay::TMyDelay(QObject* parent) : QObject(parent), timer_(new QTimer(this)) {
    timer_->stop();
}

TMyDelay::~TMyDelay() {
    delete timer_;
    timer_ = nullptr;
}

int TMyDelay::Interval() const {
    return timer_ ? timer_->interval() : 0;
}

void TMyDelay::SetInterval(int milliseconds) {
    if (timer_) timer_->setInterval(milliseconds);
}

}  // namespace vardo
