#pragma once

#include "WinSkinControl.h"

class QAbstractButton;

namespace vardo {

// Push buttons, from the Buttons element: frame 1 normal, 5 focused (or the default button),
// 2 pressed (or checked), else 4 under the mouse, 3 disabled over all; an auto-raise tool button
// is flat (no frame) until it is under the mouse, pressed or checked. The button is composed
// off-screen: the face (the parent's background for a transparent button), the frame, then the
// content in the caption colour of the frame.
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

    // The frame for the button's state now; 0 draws no frame over the parent's background.
    virtual int Frame() const;
    // Draws what the button shows over its frame (the caption centred), in the painter's pen.
    virtual void PaintContent(QPainter& canvas, const QRect& rect);

    const QAbstractButton* Button() const;

  private:
    QColor CaptionColour(int frame) const;

    bool transparent_ = false;
};

// Buttons with an icon: the icon left of the caption, both centred as a group, the icon drawn
// disabled when the button is.
class TSkinBitButton : public TSkinButton {
    Q_OBJECT
  public:
    using TSkinButton::TSkinButton;

  protected:
    void PaintContent(QPainter& canvas, const QRect& rect) override;
};

// Tool buttons: icon and caption as the button's tool-button style places them, or its arrow.
class TSkinSpeedButton : public TSkinBitButton {
    Q_OBJECT
  public:
    using TSkinBitButton::TSkinBitButton;

  protected:
    void PaintContent(QPainter& canvas, const QRect& rect) override;
};

// Buttons that drop down a menu: the content at the left and a drop-down arrow at the right, in
// the caption colour; a tool button that is pressed apart from its menu gets a divider too.
class TSkinMenuButton : public TSkinButton {
    Q_OBJECT
  public:
    using TSkinButton::TSkinButton;

  protected:
    void PaintContent(QPainter& canvas, const QRect& rect) override;
};

// Check boxes, from the check image of the Buttons element, the caption beside it; a focused box
// marks its caption with a dotted frame unless the options hold xoNoFocusRect (also for radio
// buttons).
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
