#include "MyDelay.h"

#include <QTimer>

TMyDelay::TMyDelay(QObject* parent) : QObject(parent), timer_(new QTimer(this)) {
    timer_->stop();
}

TMyDelay::~TMyDelay() {
    delete timer_;
    timer_ = nullptr;
}

int TMyDelay::interval() const {
    return timer_ ? timer_->interval() : 0;
}

void TMyDelay::setInterval(int milliseconds) {
    if (timer_) timer_->setInterval(milliseconds);
}
