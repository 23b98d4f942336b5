#pragma once

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <vector>

#include "WinSkinForm.h"

class QPainter;

namespace vardo {

class TSkinData;
struct TSkinModel;

// One top-level item of a skinned menu bar.
class TMenuBtn final : public TNCObject {
  public:
    TMenuBtn(TWinSkinForm& form, int index, QAction& action);
    void Paint() override;

    int Index;
    QPointer<QAction> Action;  // the item; its menu is the submenu
    QString Caption;
    bool Visible = true;
};

// The menu bar of a skinned window, taken from the window and drawn in the skin's frame as a row
// of buttons; opening a button's menu, and moving between the bar's menus with the arrow keys
// (past the last to the first and back). Detach gives the window its menu bar back.
class TWinSkinMenu final : public QObject {
    Q_OBJECT
  public:
    TWinSkinMenu(TWinSkinForm& form, QMenuBar& bar);
    ~TWinSkinMenu() override;

    // The height the bar takes in the frame.
    int Height() const;
    // Rebuilds the buttons from the bar's items and hides the window's own bar.
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
    void Switch(int step);
    void MenuHidden();

    TWinSkinForm& form_;
    QPointer<QMenuBar> bar_;
    bool barWasVisible_ = false;
    std::vector<std::unique_ptr<TMenuBtn>> buttons_;
    int current_ = -1;
    QPointer<QMenu> opened_;
    bool switching_ = false;
};

// A popup menu while skinning is on: its background from MenuBackground and its items from
// MenuItem (frame 1, or 4 when selected), in the skin's menu colours.
class TWinSkinPopMenu final : public QObject {
    Q_OBJECT
  public:
    TWinSkinPopMenu(QMenu& menu, TSkinData& data);
    ~TWinSkinPopMenu() override;

    QMenu* Menu() const { return menu_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Paint();
    void PaintItem(QPainter& painter, QAction& action, const QRect& rect) const;

    QPointer<QMenu> menu_;
    TSkinData& data_;
};

}  // namespace vardo
