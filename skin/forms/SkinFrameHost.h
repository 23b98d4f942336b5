#pragma once

// What the parts drawn in a skinned window's frame (caption buttons, the menu bar and its keys)
// need of the frame that holds them. The window's frame skinner implements it, so those parts know
// no more of it than this.

#include <QPoint>
#include <QRect>

class QWidget;

namespace vardo {

class TMenuKeys;
class TNCObject;
class TSkinData;
class TWinSkinMenu;

class TSkinFrameHost {
  public:
    virtual QWidget* Window() const = 0;
    virtual TSkinData& SkinData() const = 0;
    // The area left to the window's own content, in window coordinates.
    virtual QRect ClientRect() const = 0;
    virtual void RepaintFrame() = 0;
    // Re-reads the frame sizes and caption buttons from the skin and repaints.
    virtual void Reload() = 0;

    // The part under the mouse, and the one a press went to.
    virtual TNCObject* CurrentObject() const = 0;
    virtual void SetCurrentObject(TNCObject* object) = 0;
    virtual TNCObject* PressedObject() const = 0;
    // A part that goes (a menu-bar button at a rebuild) is no longer the current or pressed one.
    virtual void ForgetObject(const TNCObject& object) = 0;

    // The skinned menu bar, when the window has a menu bar.
    virtual TWinSkinMenu* Menu() const = 0;
    // The keys into the window's menus, while the frame is skinned.
    virtual TMenuKeys* MenuKeys() const = 0;
    // The skinned system menu at globalPoint.
    virtual void ShowSystemMenu(QPoint globalPoint) = 0;

  protected:
    ~TSkinFrameHost() = default;
};

// A mouse-sensitive part of a skinned frame (a caption button or a menu-bar button).
class TNCObject {
  public:
    enum TState { sNormal = 1, sPressed = 2, sHot = 3 };

    explicit TNCObject(TSkinFrameHost& form) : form_(form) {}
    virtual ~TNCObject() = default;
    TNCObject(const TNCObject&) = delete;
    TNCObject& operator=(const TNCObject&) = delete;

    virtual void MouseDown();
    virtual void MouseUp();
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void Paint() {}

    QRect Rect;  // window coordinates
    bool Enabled = true;
    int State = sNormal;

  protected:
    TSkinFrameHost& form_;
};

}  // namespace vardo
