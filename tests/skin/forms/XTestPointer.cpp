#include "XTestPointer.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace vardo::test {

namespace {
Display* Connection(void* display) {
    return static_cast<Display*>(display);
}
}  // namespace

XTestPointer::XTestPointer(std::function<void(int)> settle)
    : display_(XOpenDisplay(nullptr)), settle_(std::move(settle)) {}

XTestPointer::~XTestPointer() {
    if (display_) XCloseDisplay(Connection(display_));
}

bool XTestPointer::Available() const {
    int event = 0, error = 0, major = 0, minor = 0;
    return display_ && XTestQueryExtension(Connection(display_), &event, &error, &major, &minor);
}

void XTestPointer::MoveTo(QPoint point) {
    XTestFakeMotionEvent(Connection(display_), -1, point.x(), point.y(), CurrentTime);
    XFlush(Connection(display_));
    settle_(30);
}

void XTestPointer::Button(bool down) {
    XTestFakeButtonEvent(Connection(display_), 1, down ? True : False, CurrentTime);
    XFlush(Connection(display_));
    settle_(60);
}

void XTestPointer::Click(QPoint point) {
    MoveTo(point);
    Button(true);
    Button(false);
}

}  // namespace vardo::test
