#pragma once

#include <QEvent>
#include <QObject>
#include <cstdio>
#include <cstdlib>

namespace vardo {

// With VARDO_REPORT_FIRST_PAINT set, reports a window's first paint on stderr, so the start-up
// benchmark can tell when the window is on screen. Header-only: the benchmark's bare comparison
// window uses it too.
class FirstPaintReporter final : public QObject {
  public:
    using QObject::QObject;

    // Watches `window` when the environment asks for the report.
    void WatchWhenAsked(QObject& window) {
        if (std::getenv("VARDO_REPORT_FIRST_PAINT")) window.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            std::fputs("vardo: first paint\n", stderr);
            std::fflush(stderr);
            watched->removeEventFilter(this);
        }
        return false;
    }
};

}  // namespace vardo
