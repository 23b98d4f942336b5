#include "XTestKeys.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace vardo::test {

namespace {
Display* Connection(void* display) {
    return static_cast<Display*>(display);
}
}  // namespace

XTestKeys::XTestKeys(std::function<void(int)> settle)
    : display_(XOpenDisplay(nullptr)), settle_(std::move(settle)) {}

XTestKeys::~XTestKeys() {
    if (display_) XCloseDisplay(Connection(display_));
}

bool XTestKeys::Available() const {
    int event = 0, error = 0, major = 0, minor = 0;
    return display_ && XTestQueryExtension(Connection(display_), &event, &error, &major, &minor);
}

void XTestKeys::Key(unsigned long keySymbol, bool down) {
    Display* display = Connection(display_);
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, keySymbol), down ? True : False,
                      CurrentTime);
    XFlush(display);
    settle_(40);
}

bool XTestKeys::KeyboardGrabbed() const {
    Display* display = Connection(display_);
    const int status = XGrabKeyboard(display, DefaultRootWindow(display), False, GrabModeAsync,
                                     GrabModeAsync, CurrentTime);
    if (status == GrabSuccess) XUngrabKeyboard(display, CurrentTime);
    XSync(display, False);
    return status == AlreadyGrabbed;
}

void XTestKeys::Chord(const std::vector<unsigned long>& keySymbols) {
    for (unsigned long key : keySymbols) Key(key, true);
    for (auto key = keySymbols.rbegin(); key != keySymbols.rend(); ++key) Key(*key, false);
}

}  // namespace vardo::test
