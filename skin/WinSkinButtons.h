#pragma once

#include "WinSkinControl.h"

class QAbstractButton;

namespace vardo {

// Push buttons, from the Buttons element: frame 1 normal, 5 focused (or the default button),
// 2 pressed, else 4 under the mouse, 3 disabled over all.
class TSkinButton : public TSkinControl {
    Q_OBJECT
  public:
    using TSkinControl::TSkinControl;

    // The frame of the Buttons element for the button's state.
    static int ButtonFrame(bool focused, bool pressed, bool hot, bool enabled);

    // A transparent button shows its parent's background around the element.
    void SetTransparent(bool transparent) { transparent_ = transparent; }

  protected:
    bool CanPaint() const override;
    void Paint(QPainter& painter, const QRect& rect) override;

  private:
    bool transparent_ = false;
};

// Check boxes, from the check image of the Buttons element.
class TSkinCheckBox : public TSkinControl {
    Q_OBJECT
  public:
    using TSkinControl::TSkinControl;

    // The frame of the check image: 1 unchecked, 2 checked, each 2 higher when disabled, 4
    // indeterminate; a 12-frame image maps them again (2 to 5, 3 to 4, 4 to 8, indeterminate to 9,
    // or 12 when disabled).
    static int CheckFrame(Qt::CheckState state, bool enabled, int frameCount);

  protected:
    bool CanPaint() const override;
    void Paint(QPainter& painter, const QRect& rect) override;
};

// Radio buttons, from the radio image of the Buttons element: 1 off, 2 on, each 2 higher when
// disabled.
class TSkinRadioButton : public TSkinControl {
    Q_OBJECT
  public:
    using TSkinControl::TSkinControl;

  protected:
    bool CanPaint() const override;
    void Paint(QPainter& painter, const QRect& rect) override;
};

}  // namespace vardo
