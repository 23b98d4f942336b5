#pragma once

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <utility>
#include <vector>

#include "SkinFrameHost.h"

class QPainter;
class QStyle;

namespace vardo {

class TSkinData;
struct TSkinModel;
struct TWindowClass;

// One top-level item of a skinned menu bar.
class TMenuBtn final : public TNCObject {
  public:
    TMenuBtn(TSkinFrameHost& form, int index, QAction& action);
    void Paint() override;

    int Index;
    QPointer<QAction> Action;  // the item; its menu is the submenu
    QString Caption;
    bool Visible = true;
};

// The menu bar of a skinned window, taken from the window and drawn in the skin's frame as a row
// of buttons; opening a button's menu, and moving between the bar's menus with the arrow keys
// (past the last to the first and back). Items added, removed or changed on the bar are taken
// into the row when the skin component's MenuUpdate is on. A bar without items stays the
// window's own. Detach gives the window its menu bar back.
class TWinSkinMenu final : public QObject {
    Q_OBJECT
  public:
    TWinSkinMenu(TSkinFrameHost& form, QMenuBar& bar);
    ~TWinSkinMenu() override;

    // The height the bar takes in the frame: none without items.
    int Height() const;
    // Rebuilds the buttons from the bar's items and hides the window's own bar (keeps it when it
    // has no items).
    void BuildMenuBar();
    // Lays the buttons out in the bar rectangle (window coordinates).
    void Layout(const QRect& bar);
    void PaintMenuBar(QPainter& painter, const QRect& bar, bool active) const;
    // The button at point (window coordinates) with a caption, or null.
    TMenuBtn* HitTest(QPoint point) const;
    // Presses button: an item without a menu runs; one with a menu opens it under the button.
    void OpenMenu(TMenuBtn& button);
    void CloseMenu();

    const std::vector<std::unique_ptr<TMenuBtn>>& Buttons() const { return buttons_; }
    int CurrentIndex() const { return current_; }
    QMenu* OpenedMenu() const { return opened_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void DropButtons();
    void Switch(int step);
    void MenuHidden();
    void MenuChanged();
    void LendMenusToWindow();
    void TakeMenusBack();

    TSkinFrameHost& form_;
    QPointer<QMenuBar> bar_;
    bool barWasVisible_ = false;
    bool rebuildPending_ = false;
    QRect barRect_;  // as last laid out
    // The bar's menus lent to the window, so that their items' shortcuts work with the bar hidden.
    std::vector<QPointer<QAction>> lent_;
    std::vector<std::unique_ptr<TMenuBtn>> buttons_;
    int current_ = -1;
    QPointer<QMenu> opened_;
    QPoint lastCursor_;  // global, where it was when the menu opened or last moved
    bool switching_ = false;
};

// The keyboard's way into a skinned window's menus, as the system's keyboard menu command:
// Alt+Space opens the system menu at the client origin; Alt+letter opens the bar button with that
// mnemonic (QMenuBar's rule), F10 or Alt pressed and released alone the first button. A letter
// that matches no button stays the window's own; nothing opens while a widget has grabbed the
// mouse or a popup is up.
class TMenuKeys final : public QObject {
    Q_OBJECT
  public:
    explicit TMenuKeys(TSkinFrameHost& form);
    ~TMenuKeys() override;

    // Takes the mnemonics of the bar's buttons afresh (after the bar was built).
    void GrabBarKeys(const TWinSkinMenu& bar);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ReleaseBarKeys();
    bool Blocked() const;
    void OpenButton(int index);
    void WatchAltAlone(bool on);

    TSkinFrameHost& form_;
    QPointer<QWidget> window_;
    int systemMenuKey_ = 0;
    int firstButtonKey_ = 0;
    std::vector<std::pair<int, int>> mnemonics_;  // shortcut id, button index
    bool altAlone_ = false;
};

// The system menu of a skinned window, made by the engine (Tag 33333) with the menu glyphs of
// data, shown at globalPoint: restore, move, size, minimise, maximise and close, each enabled as
// the window's size state (TSizeState) and class allow. Move and size hand the window to the
// window manager's keyboard move and resize. Runs the command chosen once the menu has closed;
// returns the menu, open.
QMenu* ShowSkinnedSystemMenu(QWidget& window, const TSkinData& data, int sizeState,
                             const TWindowClass& windowClass, QPoint globalPoint);

// A popup menu while skinning is on: its background from MenuBackground and its items from
// MenuItem (frame 1, or 4 when selected), in the skin's menu colours. Its items are owner-drawn:
// each is wider by the MenuItem element's left margin plus 12, and 23 more in a menu without
// icons; an item that sizes itself (a QWidgetAction), or a menu with a style of its own, keeps
// its own measure.
class TWinSkinPopMenu final : public QObject {
    Q_OBJECT
  public:
    TWinSkinPopMenu(QMenu& menu, TSkinData& data);
    ~TWinSkinPopMenu() override;

    QMenu* Menu() const { return menu_; }

    // The width an owner-drawn item of menu grows by with model's MenuItem element.
    static int ItemWidening(const TSkinModel& model, const QMenu& menu);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool PaintsItems() const;
    void Measure();
    void Paint();
    void PaintItem(QPainter& painter, QAction& action, const QRect& rect) const;

    QPointer<QMenu> menu_;
    TSkinData& data_;
    std::unique_ptr<QStyle> measure_;
};

}  // namespace vardo
