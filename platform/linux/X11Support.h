#pragma once

// Small Xlib helpers shared by the parts of X11Windows: owners for Xlib allocations, the error
// trap around our own requests, survival of a lost connection and property reads.

#include <X11/Xlib.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vardo::platform::x11 {

struct XFreeDeleter {
    void operator()(void* data) const {
        if (data) XFree(data);
    }
};
template <typename T>
using XPointer = std::unique_ptr<T, XFreeDeleter>;

// Swallows the X errors of one display (windows vanish while we look at them) and hands errors
// of any other connection (the toolkit's) to the handler that was installed before. Xlib's
// handler is process-wide, so it is installed only around our own requests and restored
// afterwards; an inner trap for the same display leaves the outer one in place. Leaving the
// outermost trap waits for the server's answer to everything asked inside it, so no error of
// ours can reach the default handler (which would end the program) later.
class ErrorTrap {
  public:
    explicit ErrorTrap(Display* display);
    ~ErrorTrap();
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

  private:
    static int Handle(Display* display, XErrorEvent* event);

    Display* display_;
    bool outermost_;
    static inline Display* trapped_ = nullptr;
    static inline XErrorHandler previous_ = nullptr;
};

// Xlib ends the process when a connection breaks (the X server ends or goes away), unless both
// the process-wide I/O error handler and the display's exit handler return. After this call they
// do for `display`, and `lost` becomes true when its connection breaks; every other connection
// (the toolkit's) keeps the handler installed before.
void SurviveLossOf(Display* display, bool& lost);
void ForgetDisplay(Display* display);

// The raw data of a window property of the given type (AnyPropertyType for any); empty when the
// window has none or vanished. `actualType` and `format` receive what was found.
std::vector<unsigned char> ReadProperty(Display* display, Window window, Atom property, Atom type,
                                        Atom* actualType = nullptr, int* format = nullptr);

// A property of 32-bit items (Xlib hands them out as longs).
std::vector<long> ReadLongs(Display* display, Window window, Atom property, Atom type);

// XQueryTree's answer for one window; nullopt when the window has gone.
struct WindowTree {
    Window root = None;
    Window parent = None;
    std::vector<Window> children;  // bottom to top
};
std::optional<WindowTree> QueryTree(Display* display, Window window);

std::string Latin1ToUtf8(const std::vector<unsigned char>& text);

// Keeps the first `characters` code points of a UTF-8 text, never splitting a sequence.
std::string CutUtf8(std::string text, std::size_t characters);

}  // namespace vardo::platform::x11
