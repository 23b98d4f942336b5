#pragma once

#include <QColor>
#include <QObject>
#include <QPalette>
#include <QPointer>
#include <QWidget>

#include <memory>

namespace vardo {

class TSkinData;
class TWinSkinForm;
struct TSkinModel;

// The base of the control skinners: watches one control's events in place of its window
// procedure and paints it from the skin model. Destroying the skinner gives the control back its
// own painting and colours.
class TSkinControl : public QObject {
    Q_OBJECT
  public:
    enum TControlState { csAttached = 1, csDead = 6 };

    TSkinControl(QWidget& control, TSkinData& data);
    ~TSkinControl() override;

    // Attaches to the control; with setColour its background becomes the skin's ButtonFace.
    virtual void InitSkin(bool setColour);
    // Gives back what InitSkin changed.
    virtual void UnSkin();
    // Repaints after the skin changed.
    virtual void Refresh();

    QWidget* Control() const { return control_; }
    int SkinState() const { return state_; }
    bool Painting() const { return painting_; }

  protected:
    // Before the control handles event: false ends the handling there (the event was answered).
    virtual bool BeforeMessage(QEvent* event);
    // Reacts to an event the control handles: the repaints it asks for happen after the control
    // has handled it.
    virtual void AfterMessage(QEvent* event);
    // Whether this skinner paints the control now (its skin element exists). The control paints
    // itself when it does not.
    virtual bool CanPaint() const { return false; }
    // Whether the skinner paints over what the control painted (edits keep their text and
    // cursor) instead of in its place.
    virtual bool PaintsOver() const { return false; }
    // Paints the whole control.
    virtual void Paint(QPainter& painter, const QRect& rect);

    bool eventFilter(QObject* watched, QEvent* event) override;

    const TSkinModel& Model() const;
    bool Hot() const;

    QPointer<QWidget> control_;
    TSkinData& data_;

  private:
    void PaintFrame();

    bool painting_ = true;
    bool setColour_ = false;
    bool hadPalette_ = false;
    QPalette palette_;
    bool hadAutoFill_ = false;
    int state_ = csAttached;
};

// The palette with text as the colour of enabled text; disabled text keeps its colour.
QPalette WithText(QPalette palette, const QColor& text);

// Whether control is a panel the factory leaves plain (a "panel" of the third-party list while
// panels are not skinned): it keeps painting its own face, so the text on it keeps the program's
// colours too.
bool KeepsOwnFace(const QWidget& control, const TSkinData& data);

// Makes the skinner of control as its class, tags and the skin component say; null when the
// control stays plain. A control tagged with DisableTag or already skinned gets none.
std::unique_ptr<TSkinControl> SkinControl(QWidget& control, TSkinData& data);

}  // namespace vardo
