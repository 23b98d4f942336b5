#pragma once

// The skinners of the program's other standard controls: edits, spin boxes, combo boxes and their
// lists, time pickers, track bars, status bars, size grips and the scroll bars of grids and memos.
// Which frame of an element stands for which state follows the part frames of our skins: 1 normal,
// 2 under the mouse, 3 pressed or focused, 4 disabled.

#include <QPointer>
#include <QStyle>

#include <memory>
#include <vector>

#include "WinSkinControl.h"

class QAbstractScrollArea;
class QScrollBar;

namespace vardo {

class TDataSkinObject;

// The frame of a part element for a control's state.
int PartFrame(bool enabled, bool pressed, bool hot);

// Edits: the sunken edge around the text the edit draws itself. Asked from outside
// (kSkinPaintEdit), the edit paints itself into the painter given.
class TSkinEdit : public TSkinControl {
    Q_OBJECT
  public:
    using TSkinControl::TSkinControl;

  protected:
    bool BeforeMessage(QEvent* event) override;
    bool CanPaint() const override;
    bool PaintsOver() const override { return true; }
    void Paint(QPainter& painter, const QRect& rect) override;
};

// Spin boxes: the sunken edge of an edit and the two arrow buttons from UpDown.Vert. Its frames
// follow the part frames, the up arrow's first: 1-4 up normal, under the mouse, pressed,
// disabled; 5-8 the down arrow likewise. The spin box keeps its own stepping: the arrows are
// drawn where its style puts its buttons.
class TSkinUpDown : public TSkinEdit {
    Q_OBJECT
  public:
    using TSkinEdit::TSkinEdit;
    ~TSkinUpDown() override;

    void InitSkin(bool setColour) override;

  protected:
    void AfterMessage(QEvent* event) override;
    void Paint(QPainter& painter, const QRect& rect) override;

  private:
    QStyle::SubControl ButtonAt(const QPoint& at) const;

    bool hadHover_ = false;
    QStyle::SubControl hot_ = QStyle::SC_None;
    QStyle::SubControl pressed_ = QStyle::SC_None;
};

// Time pickers: spin boxes of times, drawn as spin boxes.
class TSkinDateTime : public TSkinUpDown {
    Q_OBJECT
  public:
    using TSkinUpDown::TSkinUpDown;
};

class TComboxScrollBar;

// Drop-down lists: the combined sunken edge and button, the current text inside; with scroll bars
// skinned, the bar of the list it drops down too.
class TSkinComBox : public TSkinControl {
    Q_OBJECT
  public:
    using TSkinControl::TSkinControl;
    ~TSkinComBox() override;

    void InitSkin(bool setColour) override;

  protected:
    bool CanPaint() const override;
    void Paint(QPainter& painter, const QRect& rect) override;

  private:
    std::unique_ptr<TComboxScrollBar> list_;
};

// Track bars: the channel and the thumb (frames normal, pressed, disabled, hot, focused).
class TSkinTrackBar : public TSkinControl {
    Q_OBJECT
  public:
    using TSkinControl::TSkinControl;

  protected:
    bool CanPaint() const override;
    void Paint(QPainter& painter, const QRect& rect) override;
};

// Status bars: the bar in frame 1, each panel sunk in frame 2, the panels' text in the skin's
// text colour (of the skin now on: a reload recolours them).
class TSkinStatusBar : public TSkinControl {
    Q_OBJECT
  public:
    using TSkinControl::TSkinControl;
    ~TSkinStatusBar() override;

    void InitSkin(bool setColour) override;
    void Refresh() override;

  protected:
    bool CanPaint() const override;
    void Paint(QPainter& painter, const QRect& rect) override;

  private:
    void TakeSkinText();
    void GiveBackPanelColours();

    struct PanelPalette {
        QPointer<QWidget> panel;
        bool hadPalette;
        QPalette palette;
    };
    std::vector<PanelPalette> panels_;
};

// Size grips: three rows of dots in ButtonShadow and ButtonHilight at the corner the grip
// resizes, on ButtonFace, or on the face of the status bar holding the grip.
class TSkinSizer : public TSkinControl {
    Q_OBJECT
  public:
    using TSkinControl::TSkinControl;

  protected:
    bool CanPaint() const override { return true; }
    void Paint(QPainter& painter, const QRect& rect) override;
};

// The scroll bars of a grid or memo, drawn from the arrows, shafts and thumbs of the skin. Asked
// from outside (kSkinPaintBars), it paints its bars into the painter given, where they lie on the
// control.
class TSkinScrollbar : public TSkinControl {
    Q_OBJECT
  public:
    using TSkinControl::TSkinControl;
    ~TSkinScrollbar() override;

    void InitSkin(bool setColour) override;

  protected:
    bool BeforeMessage(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The bars of area this skinner draws.
    virtual std::vector<QScrollBar*> BarsOf(QAbstractScrollArea& area) const;

  private:
    bool PaintBar(QScrollBar& bar);

    struct SkinnedBar {
        QPointer<QScrollBar> bar;
        bool hadHover;
    };
    std::vector<SkinnedBar> bars_;
};

// The horizontal bar only.
class TSkinScrollbarH : public TSkinScrollbar {
    Q_OBJECT
  public:
    using TSkinScrollbar::TSkinScrollbar;

  protected:
    std::vector<QScrollBar*> BarsOf(QAbstractScrollArea& area) const override;
};

// The list a drop-down list opens: its scroll bars as a grid's, the arrows that scroll a list
// opened as a menu (frames 1-4 up, 5-8 down of the Scrollbar element), and the popup's frame in
// the skin's colours (a ButtonShadow line round a ButtonFace edge).
class TComboxScrollBar : public TSkinScrollbar {
    Q_OBJECT
  public:
    using TSkinScrollbar::TSkinScrollbar;
    ~TComboxScrollBar() override;

    void InitSkin(bool setColour) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool PaintScroller(QWidget& scroller);

    QPointer<QWidget> popup_;
    std::vector<QPointer<QWidget>> scrollers_;
};

}  // namespace vardo
