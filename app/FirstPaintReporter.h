#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

namespace vardo {

// With VARDO_REPORT_FIRST_PAINT set, reports on stderr when a window is first on screen, so the
// start-up benchmark can tell. The window itself may never get a paint event of its own (its
// children can cover it): the first paint of any widget in it starts the paint pass, and the
// report follows once that pass (all its widgets, and the copy to the screen) is done.
// Header-only: the benchmark's bare comparison window uses it too.
class FirstPaintReporter final : public QObject {
  public:
    using QObject::QObject;

    // Watches `window` when the environment asks for the report.
    void WatchWhenAsked(QWidget& window) {
        if (!std::getenv("VARDO_REPORT_FIRST_PAINT")) return;
        window_ = &window;
        QCoreApplication::instance()->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint || !watched->isWidgetType() || !window_) return false;
        if (static_cast<QWidget*>(watched)->window() != window_) return false;
        QCoreApplication::instance()->removeEventFilter(this);
        window_ = nullptr;
        // Runs when the event loop is back: after the pass has painted and flushed the window.
        QTimer::singleShot(0, this, [] {
            std::fputs("vardo: first paint\n", stderr);
            std::fflush(stderr);
        });
        return false;
    }

  private:
    QPointer<QWidget> window_;
};

}  // namespace vardo
