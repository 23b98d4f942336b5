#pragma once

// The skinners of the program's other standard controls: edits, combo boxes, time pickers, track
// bars, status bars and the scroll bars of grids and memos. Which frame of an element stands for
// which state follows the part frames of our skins: 1 normal, 2 under the mouse, 3 pressed or
// focused, 4 disabled.

#include <QPointer>

#include <memory>
#include <vector>

#include "WinSkinControl.h"

class QScrollBar;

namespace vardo {

class TDataSkinObject;

// The frame of a part element for a control's state.
int PartFrame(bool enabled, bool pressed, bool hot);

// Edits: the sunken edge around the text the edit draws itself.
class TSkinEdit : public TSkinControl {
    Q_OBJECT
  public:
    using TSkinControl::TSkinControl;

  protected:
    bool CanPaint() const override;
    bool PaintsOver() const override { return true; }
    void Paint(QPainter& painter, const QRect& rect) override;
};

// Drop-down lists: the combined sunken edge and button, the current text inside.
class TSkinComBox : public TSkinControl {
    Q_OBJECT
  public:
    using TSkinControl::TSkinControl;

  protected:
    bool CanPaint() const override;
    void Paint(QPainter& painter, const QRect& rect) override;
};

// Time pickers: the sunken edge and the skin's spin buttons over the picker's own.
class TSkinDateTime : public TSkinEdit {
    Q_OBJECT
  public:
    using TSkinEdit::TSkinEdit;

  protected:
    void Paint(QPainter& painter, const QRect& rect) override;
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
// text colour.
class TSkinStatusBar : public TSkinControl {
    Q_OBJECT
  public:
    using TSkinControl::TSkinControl;
    ~TSkinStatusBar() override;

    void InitSkin(bool setColour) override;

  protected:
    bool CanPaint() const override;
    void Paint(QPainter& painter, const QRect& rect) override;

  private:
    struct PanelPalette {
        QPointer<QWidget> panel;
        bool hadPalette;
        QPalette palette;
    };
    std::vector<PanelPalette> panels_;
};

// The scroll bars of a grid or memo, drawn from the arrows, shafts and thumbs of the skin.
class TSkinScrollbar : public TSkinControl {
    Q_OBJECT
  public:
    using TSkinControl::TSkinControl;
    ~TSkinScrollbar() override;

    void InitSkin(bool setColour) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool PaintBar(QScrollBar& bar);

    std::vector<QPointer<QScrollBar>> bars_;
};

}  // namespace vardo
