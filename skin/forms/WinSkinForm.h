#pragma once

#include <QImage>
#include <QMargins>
#include <QObject>
#include <QPalette>
#include <QPointer>
#include <QRegion>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <vector>

#include "SkinFrameHost.h"
#include "WinSkinFrame.h"

namespace vardo {

class TDataSkinSysButton;
class TSkinControl;
class TMenuKeys;
class TSkinData;
class TWinSkinForm;
class TWinSkinMenu;
struct TSkinModel;

// One caption button, drawn from its skin element in the frame of its state.
class TWinSysButton final : public TNCObject {
  public:
    TWinSysButton(TSkinFrameHost& form, int elementIndex)
        : TNCObject(form), ElementIndex(elementIndex) {}
    void Paint() override;

    int ElementIndex;  // in the model's caption buttons
    bool Visible = false;
};

// Skins one top-level window: makes it frameless, keeps its client area inside the skin's frame
// (contents margins), paints the frame, caption and caption buttons from the skin model, cuts the
// window's shape from the frame's magenta pixels and handles the mouse on the frame itself:
// moving and resizing through the window manager, the caption buttons' actions. A skin without a
// usable frame (see TSkinGaps) leaves the window its window manager's frame. A bare window (a
// message box, a file dialog) always takes the skin's face and text colours, and only the
// children such a window is known to have are skinned. Detach gives the window back as it was:
// flags, window-manager frame, client size, margins, mask, cursor and colours.
class TWinSkinForm final : public QObject, public TSkinFrameHost {
    Q_OBJECT
  public:
    enum TSkinState {
        ssAttached = 0,
        ssActive = 1,
        ssReloading = 3,
        ssDestroying = 4,
        ssFirstPaint = 5,
        ssDead = 6,
    };

    TWinSkinForm(QWidget& window, TSkinData& data);
    ~TWinSkinForm() override;

    QWidget* Window() const override { return window_; }
    TSkinData& SkinData() const override { return data_; }
    int SkinState() const { return state_; }
    bool Dead() const { return state_ == ssDead || window_.isNull(); }
    const TWindowClass& Class() const { return class_; }
    const TSkinFrameSizes& FrameSizes() const { return frame_; }
    bool FrameSkinned() const { return frameSkinned_; }
    bool IsActive() const { return active_; }
    int SizeState() const { return sizeState_; }

    // The area left to the window's own content, in window coordinates.
    QRect ClientRect() const override;

    // Switches the skin on (the manager posts this after creation): frame, shape, first paint.
    void SwitchOn();
    // Whether the frame's timer runs: from the switch-on of a skinned frame while the window is
    // active.
    bool TimerRunning() const { return timer_.isActive(); }
    // Re-reads the frame sizes and caption buttons from the skin and repaints.
    void Reload() override;
    // Gives the window back as it was before skinning.
    void Detach();

    const std::vector<std::unique_ptr<TWinSysButton>>& CaptionButtons() const { return buttons_; }
    // The skinners of the window's controls.
    const std::vector<std::unique_ptr<TSkinControl>>& Controls() const { return controls_; }
    TSkinControl* ControlSkinner(const QWidget* control) const;
    // The skinned menu bar, when the window has a menu bar.
    TWinSkinMenu* Menu() const override { return menu_.get(); }
    // The keys into the window's menus, while the frame is skinned.
    TMenuKeys* MenuKeys() const override { return keys_.get(); }
    // The skinned system menu at globalPoint.
    void ShowSystemMenu(QPoint globalPoint) override;
    TNCObject* CurrentObject() const override { return current_; }
    void SetCurrentObject(TNCObject* object) override { current_ = object; }
    TNCObject* PressedObject() const override { return pressed_; }
    void ForgetObject(const TNCObject& object) override;

    // The frame as it is painted now, at the window's size (the client area left unpainted).
    QImage RenderFrame() const;
    // The window's shape: the client area and the frame without its magenta pixels.
    QRegion FrameRegion() const;
    void RepaintFrame() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class FrameSwap;
    class Face;

    const TSkinModel& Model() const;
    bool ModelChanged() const;
    // After a load has replaced the model, the sizes and buttons read from the old one went with
    // it: nothing is painted or hit by the mouse until the reload (scheduled here) has read the new
    // one.
    bool ModelCurrent();
    // Whether the window gets the skin's frame: the skin has one and the window a caption.
    bool FrameWanted() const;
    // Puts the window in the current skin: the frame (or the window manager's when the skin has
    // none) and the face.
    void ApplySkin();
    void DropFrame();
    void UpdateFrameSizes();
    QRect MenuBarRect() const;
    void MakeCaptionButtons();
    void LayoutCaptionButtons();
    TCaptionState CaptionState() const;
    TTitleLayout TitleLayout() const;
    QFont TitleFont() const;
    QString TitleText() const;
    void PaintFrameOver(QWidget& window);
    // Answers the engine's outside requests: paint the frame into a painter, presence.
    bool AnswerOutsideRequest(QEvent& event);
    void Tick();
    void PaintEdges(QPainter& painter) const;
    void PaintCaption(QPainter& painter) const;
    void PaintCaptionButton(QPainter& painter, const TWinSysButton& button) const;
    void UpdateRegion();
    // Gives every control of the window that the factory knows its skinner; of a bare window,
    // only the children such a window is known to have.
    void SkinControls();

    bool HandleMouse(QMouseEvent& event);
    TNCObject* ObjectAt(QPoint point) const;
    void ShowHitCursor(THitCode hit);
    void RunAction(const TWinSysButton& button, QPoint globalPoint);
    void CaptionDoubleClick(QPoint point);

    QPointer<QWidget> window_;
    TSkinData& data_;
    // The model the sizes and buttons were read from (TSkinData::ModelGeneration), 0 for none.
    quint64 modelGeneration_ = 0;
    int state_ = ssAttached;
    bool reloadPending_ = false;
    TWindowClass class_;
    bool frameSkinned_ = false;
    TSkinFrameSizes frame_;
    int sizeState_ = ssNormal;
    bool active_ = false;
    std::vector<std::unique_ptr<TWinSysButton>> buttons_;
    TNCObject* current_ = nullptr;
    TNCObject* pressed_ = nullptr;
    quint64 pressTime_ = 0;  // of the press on pressed_, in the window system's milliseconds
    QSize regionSize_;
    std::unique_ptr<FrameSwap> swap_;
    std::unique_ptr<Face> face_;
    QTimer timer_;
    std::vector<std::unique_ptr<TSkinControl>> controls_;
    std::unique_ptr<TMenuKeys> keys_;  // before the bar, which tells it its keys
    std::unique_ptr<TWinSkinMenu> menu_;
    // Panels that keep their own face, with the palette they had.
    struct KeptFace {
        QPointer<QWidget> panel;
        bool hadPalette;
        QPalette palette;
    };
    std::vector<KeptFace> keptFaces_;
    // Moving by the caption where the window manager cannot move the window itself.
    bool dragging_ = false;
    QPoint dragPoint_;
};

}  // namespace vardo
