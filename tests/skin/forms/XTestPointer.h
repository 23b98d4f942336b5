#pragma once

#include <QPoint>

#include <functional>

namespace vardo::test {

// Real pointer input through the XTest extension, on a connection of its own to $DISPLAY. After
// each step it lets the application handle what the step caused (settle).
class XTestPointer {
  public:
    explicit XTestPointer(std::function<void(int milliseconds)> settle);
    ~XTestPointer();
    XTestPointer(const XTestPointer&) = delete;
    XTestPointer& operator=(const XTestPointer&) = delete;

    bool Available() const;
    void MoveTo(QPoint point);
    void Button(bool down);
    void Click(QPoint point);

  private:
    void* display_;
    std::function<void(int)> settle_;
};

}  // namespace vardo::test
