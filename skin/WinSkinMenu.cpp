#include "WinSkinMenu.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>

#include <algorithm>

#include "SkinDrawing.h"
#include "WinSkinData.h"

namespace vardo {

namespace {

// Room on each side of a bar button's caption.
constexpr int kButtonMargin = 8;
// The first button's offset from the bar's left end, after the bar element's left margin.
constexpr int kFirstButtonShift = 4;
constexpr int kFirstButtonNarrowBar = 12;
constexpr int kFirstButtonPlain = 6;
// The border a popup's background keeps around its items.
constexpr int kPopupBorder = 3;
// Room at the right of an item for the submenu arrow, and for the check mark at its left.
constexpr int kArrowRoom = 14;
constexpr int kCheckRoom = 20;

QFont MenuFont() {
    return QApplication::font("QMenuBar");
}

}  // namespace

// ---- bar buttons -------------------------------------------------------------------------------

TMenuBtn::TMenuBtn(TWinSkinForm& form, int index, QAction& action)
    : TNCObject(form), Index(index), Action(&action) {
    Caption = action.text().left(80);
    Enabled = action.isEnabled();
    Visible = action.isVisible();
}

void TMenuBtn::Paint() {
    form_.RepaintFrame();
}

// ---- the menu bar ------------------------------------------------------------------------------

TWinSkinMenu::TWinSkinMenu(TWinSkinForm& form, QMenuBar& bar) : form_(form), bar_(&bar) {
    barWasVisible_ = !bar.isHidden();
    BuildMenuBar();
}

TWinSkinMenu::~TWinSkinMenu() {
    CloseMenu();
    if (bar_ && barWasVisible_) bar_->show();
}

int TWinSkinMenu::Height() const {
    return bar_ ? bar_->sizeHint().height() : 0;
}

void TWinSkinMenu::BuildMenuBar() {
    buttons_.clear();
    if (!bar_) return;
    const QList<QAction*> actions = bar_->actions();
    for (int index = 0; index < actions.size(); ++index) {
        buttons_.push_back(std::make_unique<TMenuBtn>(form_, index, *actions[index]));
    }
    bar_->hide();
}

void TWinSkinMenu::Layout(const QRect& bar) {
    const TSkinModel& model = form_.SkinData().Model();
    const QFontMetrics metrics(MenuFont());
    int x = model.MenuBar ? model.MenuBar->LeftMargin + kFirstButtonShift : kFirstButtonPlain;
    if (bar.width() < x) x = kFirstButtonNarrowBar;
    x += bar.left();
    for (const auto& button : buttons_) {
        if (!button->Visible) {
            button->Rect = QRect();
            continue;
        }
        const int width =
            metrics.horizontalAdvance(QString(button->Caption).remove('&')) + 2 * kButtonMargin;
        button->Rect = QRect(x, bar.top(), width, bar.height());
        x += width;
    }
}

void TWinSkinMenu::PaintMenuBar(QPainter& painter, const QRect& bar, bool active) const {
    const TSkinModel& model = form_.SkinData().Model();
    if (model.MenuBar) {
        DrawElement(painter, bar, *model.MenuBar, active ? 1 : 2);
    } else {
        painter.fillRect(bar, ColorToQColor(model.Colours.Menubar));
    }
    painter.setFont(MenuFont());
    for (const auto& button : buttons_) {
        if (!button->Visible || button->Rect.isEmpty()) continue;
        const bool lit = button->State != TNCObject::sNormal || button->Index == current_;
        if (lit && button->Enabled) {
            painter.setPen(ColorToQColor(model.Colours.ButtonHilight));
            painter.drawRect(button->Rect.adjusted(0, 1, -1, -2));
        }
        painter.setPen(ColorToQColor(button->Enabled ? model.Colours.MenuBarText
                                                     : model.Colours.ButtonShadow));
        painter.drawText(button->Rect, Qt::AlignCenter | Qt::TextShowMnemonic, button->Caption);
    }
}

TMenuBtn* TWinSkinMenu::HitTest(QPoint point) const {
    for (const auto& button : buttons_) {
        if (button->Visible && !button->Caption.isEmpty() && button->Rect.contains(point)) {
            return button.get();
        }
    }
    return nullptr;
}

void TWinSkinMenu::OpenMenu(TMenuBtn& button) {
    QAction* action = button.Action;
    if (!action) return;
    QMenu* menu = action->menu();
    if (!menu) {
        if (button.Enabled) action->trigger();
        return;
    }
    if (!button.Enabled) return;
    CloseMenu();
    current_ = button.Index;
    opened_ = menu;
    menu->installEventFilter(this);
    connect(menu, &QMenu::aboutToHide, this, &TWinSkinMenu::MenuHidden, Qt::UniqueConnection);
    QWidget* window = form_.Window();
    const bool rightToLeft = window->layoutDirection() == Qt::RightToLeft;
    menu->popup(window->mapToGlobal(rightToLeft ? button.Rect.bottomRight() + QPoint(1, 1)
                                                : button.Rect.bottomLeft() + QPoint(0, 1)));
    // The first item is selected, as after a Down key.
    QCoreApplication::postEvent(menu,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier));
    form_.RepaintFrame();
}

void TWinSkinMenu::CloseMenu() {
    if (opened_) {
        opened_->removeEventFilter(this);
        opened_->hide();
    }
    opened_ = nullptr;
    current_ = -1;
}

void TWinSkinMenu::MenuHidden() {
    if (switching_) return;
    if (opened_) opened_->removeEventFilter(this);
    opened_ = nullptr;
    current_ = -1;
    form_.RepaintFrame();
}

// The next (step 1) or previous (-1) button with a menu, wrapping around the bar.
void TWinSkinMenu::Switch(int step) {
    const int count = static_cast<int>(buttons_.size());
    if (count == 0 || current_ < 0) return;
    int index = current_;
    for (int tried = 0; tried < count; ++tried) {
        index = (index + step + count) % count;
        const TMenuBtn& candidate = *buttons_[index];
        if (candidate.Visible && candidate.Enabled && candidate.Action &&
            candidate.Action->menu()) {
            break;
        }
    }
    if (index == current_) return;
    switching_ = true;
    CloseMenu();
    switching_ = false;
    OpenMenu(*buttons_[index]);
}

bool TWinSkinMenu::eventFilter(QObject* watched, QEvent* event) {
    auto* menu = qobject_cast<QMenu*>(watched);
    if (!menu || menu != opened_) return false;
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool rightToLeft = form_.Window()->layoutDirection() == Qt::RightToLeft;
        int direction = 0;
        if (key->key() == Qt::Key_Right) direction = rightToLeft ? -1 : 1;
        if (key->key() == Qt::Key_Left) direction = rightToLeft ? 1 : -1;
        const QAction* highlighted = menu->activeAction();
        if (direction == 1 && (!highlighted || !highlighted->menu())) {
            Switch(1);
            return true;
        }
        if (direction == -1) {
            Switch(-1);
            return true;
        }
        if (key->key() == Qt::Key_Alt) {
            CloseMenu();
            return true;
        }
        return false;
    }
    if (event->type() == QEvent::MouseMove) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint point = form_.Window()->mapFromGlobal(mouse->globalPosition().toPoint());
        TMenuBtn* over = HitTest(point);
        if (over && over->Index != current_ && over->Enabled && over->Action &&
            over->Action->menu()) {
            switching_ = true;
            CloseMenu();
            switching_ = false;
            OpenMenu(*over);
            return true;
        }
    }
    return false;
}

// ---- popup menus -------------------------------------------------------------------------------

TWinSkinPopMenu::TWinSkinPopMenu(QMenu& menu, TSkinData& data) : menu_(&menu), data_(data) {
    menu.installEventFilter(this);
    menu.update();
}

TWinSkinPopMenu::~TWinSkinPopMenu() {
    if (!menu_) return;
    menu_->removeEventFilter(this);
    menu_->update();
}

bool TWinSkinPopMenu::eventFilter(QObject* watched, QEvent* event) {
    if (watched != menu_ || event->type() != QEvent::Paint) return false;
    const TSkinModel& model = data_.Model();
    // A skin with neither image leaves the menu its own painting.
    if (!model.MenuBackground && !model.MenuItem) return false;
    Paint();
    return true;
}

void TWinSkinPopMenu::Paint() {
    const TSkinModel& model = data_.Model();
    QPainter painter(menu_);
    const QRect whole = menu_->rect();
    if (model.MenuBackground) {
        DrawElement(painter, whole, *model.MenuBackground, 1);
    } else {
        painter.fillRect(whole, ColorToQColor(model.Colours.Menu));
    }
    painter.setFont(menu_->font());
    for (QAction* action : menu_->actions()) {
        const QRect rect = menu_->actionGeometry(action);
        if (action->isVisible() && !rect.isEmpty()) PaintItem(painter, *action, rect);
    }
}

void TWinSkinPopMenu::PaintItem(QPainter& painter, QAction& action, const QRect& rect) const {
    const TSkinModel& model = data_.Model();
    const TSkinColours& colours = model.Colours;
    if (action.isSeparator()) {
        const int y = rect.center().y();
        painter.setPen(ColorToQColor(colours.ButtonShadow));
        painter.drawLine(rect.left() + kPopupBorder, y, rect.right() - kPopupBorder, y);
        painter.setPen(ColorToQColor(colours.ButtonHilight));
        painter.drawLine(rect.left() + kPopupBorder, y + 1, rect.right() - kPopupBorder, y + 1);
        return;
    }
    const bool selected = menu_->activeAction() == &action && action.isEnabled();
    if (model.MenuItem) {
        DrawElement(painter, rect, *model.MenuItem, selected ? 4 : 1);
    } else if (selected) {
        painter.fillRect(rect, ColorToQColor(colours.Hilight));
    }
    TColor text = selected && !model.MenuItem ? colours.HilightText : colours.MenuText;
    if (!action.isEnabled()) text = colours.ButtonShadow;
    painter.setPen(ColorToQColor(text));
    const QRect inner = rect.adjusted(kCheckRoom, 0, -kArrowRoom, 0);
    if (action.isChecked()) {
        painter.drawText(QRect(rect.left(), rect.top(), kCheckRoom, rect.height()), Qt::AlignCenter,
                         QStringLiteral("✓"));
    } else if (!action.icon().isNull()) {
        const QPixmap icon = action.icon().pixmap(16, 16);
        painter.drawPixmap(rect.left() + (kCheckRoom - 16) / 2,
                           rect.top() + (rect.height() - 16) / 2, icon);
    }
    QString caption = action.text();
    QString shortcut;
    const qsizetype tab = caption.indexOf('\t');
    if (tab >= 0) {
        shortcut = caption.mid(tab + 1);
        caption = caption.left(tab);
    } else if (!action.shortcut().isEmpty()) {
        shortcut = action.shortcut().toString(QKeySequence::NativeText);
    }
    painter.drawText(inner, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, caption);
    if (!shortcut.isEmpty()) painter.drawText(inner, Qt::AlignRight | Qt::AlignVCenter, shortcut);
    if (action.menu()) {
        painter.drawText(QRect(rect.right() - kArrowRoom, rect.top(), kArrowRoom, rect.height()),
                         Qt::AlignCenter, QStringLiteral("▸"));
    }
}

}  // namespace vardo
