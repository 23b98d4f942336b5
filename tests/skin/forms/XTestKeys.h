#pragma once

#include <functional>
#include <vector>

namespace vardo::test {

// Real key input through the XTest extension, on a connection of its own to $DISPLAY. After each
// step it lets the application handle what the step caused (settle).
class XTestKeys {
  public:
    explicit XTestKeys(std::function<void(int milliseconds)> settle);
    ~XTestKeys();
    XTestKeys(const XTestKeys&) = delete;
    XTestKeys& operator=(const XTestKeys&) = delete;

    bool Available() const;
    // Presses the keys (X key symbols) in order and releases them in reverse order.
    void Chord(const std::vector<unsigned long>& keySymbols);
    // Whether a client holds the keyboard (an open menu does, the window manager's or ours).
    bool KeyboardGrabbed() const;

  private:
    void Key(unsigned long keySymbol, bool down);

    void* display_;
    std::function<void(int)> settle_;
};

}  // namespace vardo::test
