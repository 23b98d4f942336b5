#include "WinSkinMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QScreen>
#include <QShortcutEvent>
#include <QStyleFactory>
#include <QTimer>

#include <algorithm>
#include <optional>

#include "SkinDrawing.h"
#include "WinSkinData.h"
#include "WinSkinFrame.h"
#include "WindowManagerMoves.h"

namespace vardo {

namespace {

// Room on each side of a bar button's caption.
constexpr int kButtonMargin = 8;
// The first button's offset from the bar's left end, after the bar element's left margin.
constexpr int kFirstButtonShift = 4;
constexpr int kFirstButtonShiftRightToLeft = 8;  // from the right end, after the right margin
constexpr int kFirstButtonNarrowBar = 12;
constexpr int kFirstButtonPlain = 6;
// The border a popup's background keeps around its items.
constexpr int kPopupBorder = 3;
// Inside an item, after the MenuItem element's left margin: the column of the check mark or icon,
// a gap, the caption and the shortcut, and the room for the submenu arrow at the right end.
constexpr int kCheckRoom = 20;
constexpr int kTextGap = 4;
constexpr int kArrowRoom = 14;
// What an owner-drawn item adds to its width: always, and in a menu without icons.
constexpr int kItemWidening = 12;
constexpr int kNoIconWidening = 23;

// Popup menus the engine makes itself carry this tag.
constexpr int kEngineMenuTag = 33333;

// The cells of the menu glyph strip (16 x 16 each), and the property naming an item's cell.
enum TMenuGlyph { mgClose, mgMinimise, mgMaximise, mgRestore, mgCheck, mgDot, mgRight, mgHelp };
constexpr int kGlyphSize = 16;
constexpr char kGlyphProperty[] = "MenuGlyph";

QFont MenuFont() {
    return QApplication::font("QMenuBar");
}

// A glyph of the strip in colour (the strip is black on transparent).
QImage Glyph(const QImage& glyphs, int cell, const QColor& colour) {
    if (glyphs.width() < (cell + 1) * kGlyphSize) return {};
    QImage image = glyphs.copy(cell * kGlyphSize, 0, kGlyphSize, kGlyphSize)
                       .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), colour);
    return image;
}

// Draws a glyph centred in box; false when the strip lacks it.
bool DrawGlyph(QPainter& painter, const QRect& box, const QImage& glyphs, int cell,
               const QColor& colour) {
    const QImage glyph = Glyph(glyphs, cell, colour);
    if (glyph.isNull()) return false;
    painter.drawImage(box.left() + (box.width() - kGlyphSize) / 2,
                      box.top() + (box.height() - kGlyphSize) / 2, glyph);
    return true;
}

// Measures a skinned popup's items as owner-drawn items are measured: wider than the style makes
// them. Items with a widget of their own are sized by the widget, not here, and keep their size.
class TMenuItemMeasure final : public QProxyStyle {
  public:
    TMenuItemMeasure(QStyle* base, const TSkinData& data) : QProxyStyle(base), data_(data) {}

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override {
        QSize measured = QProxyStyle::sizeFromContents(type, option, size, widget);
        const auto* menu = qobject_cast<const QMenu*>(widget);
        if (type == CT_MenuItem && menu && data_.SkinReady()) {
            measured.rwidth() += TWinSkinPopMenu::ItemWidening(data_.Model(), *menu);
        }
        return measured;
    }

  private:
    const TSkinData& data_;
};

}  // namespace

// ---- bar buttons -------------------------------------------------------------------------------

TMenuBtn::TMenuBtn(TSkinFrameHost& form, int index, QAction& action)
    : TNCObject(form), Index(index), Action(&action) {
    Caption = action.text().left(80);
    Enabled = action.isEnabled();
    Visible = action.isVisible();
}

void TMenuBtn::Paint() {
    form_.RepaintFrame();
}

// ---- the menu bar ------------------------------------------------------------------------------

TWinSkinMenu::TWinSkinMenu(TSkinFrameHost& form, QMenuBar& bar) : form_(form), bar_(&bar) {
    barWasVisible_ = !bar.isHidden();
    bar.installEventFilter(this);
    BuildMenuBar();
}

TWinSkinMenu::~TWinSkinMenu() {
    CloseMenu();
    DropButtons();
    TakeMenusBack();
    if (!bar_) return;
    bar_->removeEventFilter(this);
    if (barWasVisible_) bar_->show();
}

// The frame must not keep a button that goes as its current or pressed one.
void TWinSkinMenu::DropButtons() {
    for (const auto& button : buttons_) form_.ForgetObject(*button);
    buttons_.clear();
}

int TWinSkinMenu::Height() const {
    return bar_ && !buttons_.empty() ? bar_->sizeHint().height() : 0;
}

void TWinSkinMenu::BuildMenuBar() {
    DropButtons();
    TakeMenusBack();
    if (!bar_) return;
    const QList<QAction*> actions = bar_->actions();
    for (int index = 0; index < actions.size(); ++index) {
        buttons_.push_back(std::make_unique<TMenuBtn>(form_, index, *actions[index]));
    }
    // The open menu stays open when its item is still on the bar.
    current_ = -1;
    for (const auto& button : buttons_) {
        if (opened_ && button->Action && button->Action->menu() == opened_)
            current_ = button->Index;
    }
    if (opened_ && current_ < 0) CloseMenu();
    if (buttons_.empty()) {
        if (barWasVisible_) bar_->show();
    } else {
        bar_->hide();
        LendMenusToWindow();
    }
    if (TMenuKeys* keys = form_.MenuKeys()) keys->GrabBarKeys(*this);
}

// A hidden bar's menus give their items' shortcuts no window to work in; lent to the window, they
// keep working while the bar is drawn in the frame.
void TWinSkinMenu::LendMenusToWindow() {
    QWidget* window = form_.Window();
    if (!window) return;
    for (const auto& button : buttons_) {
        QAction* action = button->Action;
        if (!action || !action->menu() || window->actions().contains(action)) continue;
        window->addAction(action);
        lent_.emplace_back(action);
    }
}

void TWinSkinMenu::TakeMenusBack() {
    QWidget* window = form_.Window();
    for (const QPointer<QAction>& action : lent_) {
        if (window && action) window->removeAction(action);
    }
    lent_.clear();
}

// The bar's items changed: the row is rebuilt; when the bar gains its first item or loses its
// last, the frame gains or loses the menu row.
void TWinSkinMenu::MenuChanged() {
    rebuildPending_ = false;
    if (!bar_) return;
    const int height = Height();
    BuildMenuBar();
    if (Height() != height) {
        form_.Reload();
        return;
    }
    Layout(barRect_);
    form_.RepaintFrame();
}

// Left to right from the bar's left end; in a right-to-left window right to left from its right
// end.
void TWinSkinMenu::Layout(const QRect& bar) {
    barRect_ = bar;
    const TSkinModel& model = form_.SkinData().Model();
    const QFontMetrics metrics(MenuFont());
    const QWidget* window = form_.Window();
    const bool rightToLeft = window && window->layoutDirection() == Qt::RightToLeft;
    int start = kFirstButtonPlain;
    if (model.MenuBar) {
        start = rightToLeft ? model.MenuBar->RightMargin + kFirstButtonShiftRightToLeft
                            : model.MenuBar->LeftMargin + kFirstButtonShift;
    }
    if (bar.width() < start) start = kFirstButtonNarrowBar;
    int x = rightToLeft ? bar.right() + 1 - start : bar.left() + start;
    for (const auto& button : buttons_) {
        if (!button->Visible) {
            button->Rect = QRect();
            continue;
        }
        const int width =
            metrics.horizontalAdvance(QString(button->Caption).remove('&')) + 2 * kButtonMargin;
        if (rightToLeft) x -= width;
        button->Rect = QRect(x, bar.top(), width, bar.height());
        if (!rightToLeft) x += width;
    }
}

void TWinSkinMenu::PaintMenuBar(QPainter& painter, const QRect& bar, bool active) const {
    if (bar.isEmpty()) return;
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
    lastCursor_ = QCursor::pos();
    menu->installEventFilter(this);
    connect(menu, &QMenu::aboutToHide, this, &TWinSkinMenu::MenuHidden, Qt::UniqueConnection);
    // Under the button; in a right-to-left window right-aligned with it (a popup is placed by its
    // left edge, and grows to the left when skinned).
    QWidget* window = form_.Window();
    const bool rightToLeft = window->layoutDirection() == Qt::RightToLeft;
    const QPoint left = rightToLeft ? QPoint(button.Rect.right() + 1 - menu->sizeHint().width(),
                                             button.Rect.bottom() + 1)
                                    : button.Rect.bottomLeft() + QPoint(0, 1);
    menu->popup(window->mapToGlobal(left));
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
    // Cast first: a bar being destroyed is a QMenuBar no longer.
    if (auto* bar = qobject_cast<QMenuBar*>(watched)) {
        if (bar != bar_) return false;
        const QEvent::Type type = event->type();
        const bool changed = type == QEvent::ActionAdded || type == QEvent::ActionRemoved ||
                             type == QEvent::ActionChanged;
        // Rebuilt once, after the changes of this turn of the event loop.
        if (changed && form_.SkinData().MenuUpdate && !rebuildPending_) {
            rebuildPending_ = true;
            QTimer::singleShot(0, this, &TWinSkinMenu::MenuChanged);
        }
        // The bar follows the window's direction.
        if (type == QEvent::LayoutDirectionChange) {
            Layout(barRect_);
            form_.RepaintFrame();
        }
        return false;
    }
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
        // Only a cursor that really moved picks another button: a menu opening under a resting
        // cursor brings a move event too, which must not undo a switch made by the keyboard.
        const QPoint cursor = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        if (cursor == lastCursor_) return false;
        lastCursor_ = cursor;
        TMenuBtn* over = HitTest(form_.Window()->mapFromGlobal(cursor));
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

// ---- keyboard entry ----------------------------------------------------------------------------

TMenuKeys::TMenuKeys(TSkinFrameHost& form) : form_(form), window_(form.Window()) {
    window_->installEventFilter(this);
    systemMenuKey_ = window_->grabShortcut(QKeySequence(Qt::AltModifier | Qt::Key_Space));
}

TMenuKeys::~TMenuKeys() {
    WatchAltAlone(false);
    if (!window_) return;
    ReleaseBarKeys();
    window_->releaseShortcut(systemMenuKey_);
    window_->removeEventFilter(this);
}

void TMenuKeys::GrabBarKeys(const TWinSkinMenu& bar) {
    ReleaseBarKeys();
    if (!window_) return;
    for (const auto& button : bar.Buttons()) {
        if (!button->Visible || !button->Enabled) continue;
        const QKeySequence mnemonic = QKeySequence::mnemonic(button->Caption);
        if (!mnemonic.isEmpty()) {
            mnemonics_.emplace_back(window_->grabShortcut(mnemonic), button->Index);
        }
    }
    if (!bar.Buttons().empty()) firstButtonKey_ = window_->grabShortcut(QKeySequence(Qt::Key_F10));
}

void TMenuKeys::ReleaseBarKeys() {
    if (window_) {
        for (const auto& [key, index] : mnemonics_) window_->releaseShortcut(key);
        if (firstButtonKey_ != 0) window_->releaseShortcut(firstButtonKey_);
    }
    mnemonics_.clear();
    firstButtonKey_ = 0;
}

// While a widget has grabbed the mouse or a popup is up, the keys open nothing. (The buttons Qt
// believes held are no guide: a release that reaches no window, as when a double click closes a
// dialog, leaves the button held in Qt's eyes until the next mouse event.)
bool TMenuKeys::Blocked() const {
    return QWidget::mouseGrabber() || QApplication::activePopupWidget();
}

// Opens the bar button at index; -1 is the first visible one.
void TMenuKeys::OpenButton(int index) {
    TWinSkinMenu* bar = form_.Menu();
    if (!bar) return;
    const auto& buttons = bar->Buttons();
    if (index < 0) {
        const auto first = std::find_if(buttons.begin(), buttons.end(),
                                        [](const auto& button) { return button->Visible; });
        if (first == buttons.end()) return;
        index = (*first)->Index;
    }
    if (index < static_cast<int>(buttons.size())) bar->OpenMenu(*buttons[index]);
}

// Alt alone is seen on its way through the window; until it is released, any other key, a mouse
// press or the window losing activation cancels it, wherever in the process that happens.
void TMenuKeys::WatchAltAlone(bool on) {
    if (on == altAlone_) return;
    altAlone_ = on;
    if (on) {
        qApp->installEventFilter(this);
    } else {
        qApp->removeEventFilter(this);
    }
}

bool TMenuKeys::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::Shortcut: {
            if (watched != window_) return false;
            const int id = static_cast<QShortcutEvent*>(event)->shortcutId();
            if (id == systemMenuKey_) {
                if (!Blocked())
                    form_.ShowSystemMenu(window_->mapToGlobal(form_.ClientRect().topLeft()));
                return true;
            }
            if (id == firstButtonKey_) {
                if (!Blocked()) OpenButton(-1);
                return true;
            }
            for (const auto& [key, index] : mnemonics_) {
                if (key != id) continue;
                if (!Blocked()) OpenButton(index);
                return true;
            }
            return false;
        }
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride: {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool alt =
                key->key() == Qt::Key_Alt && (key->modifiers() & ~Qt::AltModifier) == 0;
            if (alt && watched == window_ && form_.Menu() && !form_.Menu()->Buttons().empty()) {
                WatchAltAlone(true);
            } else if (!alt) {
                WatchAltAlone(false);
            }
            return false;
        }
        case QEvent::KeyRelease:
            if (altAlone_ && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Alt) {
                WatchAltAlone(false);
                if (window_ && window_->isActiveWindow() && !Blocked()) OpenButton(-1);
            }
            return false;
        case QEvent::MouseButtonPress:
        case QEvent::WindowDeactivate:
            WatchAltAlone(false);
            return false;
        default:
            return false;
    }
}

// ---- the system menu ---------------------------------------------------------------------------

QMenu* ShowSkinnedSystemMenu(QWidget& owner, const TSkinData& data, int sizeState,
                             const TWindowClass& windowClass, QPoint globalPoint) {
    QPointer<QWidget> window = &owner;
    // Lives while it is open; a popup, so the window keeps running meanwhile.
    auto* menu = new QMenu(window);
    menu->setProperty("Tag", kEngineMenuTag);
    QObject::connect(menu, &QMenu::aboutToHide, menu, &QObject::deleteLater);
    const QImage& glyphs = data.MenuGlyphs();
    // A command runs once the menu has closed and let go of the keyboard, as a posted system
    // command does: the window manager's keyboard move needs the keyboard.
    const auto add = [&](const QString& text, std::optional<TMenuGlyph> glyph, bool enabled,
                         auto command) {
        QAction* action = menu->addAction(text);
        if (glyph) {
            action->setIcon(QIcon(QPixmap::fromImage(Glyph(glyphs, *glyph, Qt::black))));
            action->setProperty(kGlyphProperty, static_cast<int>(*glyph));
        }
        action->setEnabled(enabled);
        QObject::connect(action, &QAction::triggered, window, [window, command] {
            QTimer::singleShot(0, window, [window, command] {
                if (window) command(*window);
            });
        });
    };
    const bool normal = sizeState == ssNormal;
    const int buttons = windowClass.ButtonSet;
    add(QCoreApplication::translate("vardo::SystemMenu", "还原(&R)"), mgRestore, !normal,
        [](QWidget& form) { form.showNormal(); });
    add(QCoreApplication::translate("vardo::SystemMenu", "移动(&M)"), std::nullopt, normal,
        [](QWidget& form) { StartKeyboardMove(form); });
    add(QCoreApplication::translate("vardo::SystemMenu", "大小(&S)"), std::nullopt,
        normal && windowClass.Resizable, [](QWidget& form) { StartKeyboardResize(form); });
    add(QCoreApplication::translate("vardo::SystemMenu", "最小化(&N)"), mgMinimise,
        (buttons & kMinimiseBox) && sizeState != ssMinimised,
        [](QWidget& form) { form.showMinimized(); });
    add(QCoreApplication::translate("vardo::SystemMenu", "最大化(&X)"), mgMaximise,
        (buttons & kMaximiseBox) && sizeState != ssMaximised,
        [](QWidget& form) { form.showMaximized(); });
    menu->addSeparator();
    add(QCoreApplication::translate("vardo::SystemMenu", "关闭(&C)\tAlt+F4"), mgClose,
        buttons & kSystemMenu, [](QWidget& form) { form.close(); });
    menu->popup(globalPoint);
    return menu;
}

// ---- popup menus -------------------------------------------------------------------------------

TWinSkinPopMenu::TWinSkinPopMenu(QMenu& menu, TSkinData& data) : menu_(&menu), data_(data) {
    menu.installEventFilter(this);
    if (PaintsItems()) Measure();
    menu.update();
}

TWinSkinPopMenu::~TWinSkinPopMenu() {
    if (!menu_) return;
    menu_->removeEventFilter(this);
    if (measure_) menu_->setStyle(nullptr);
    menu_->update();
}

int TWinSkinPopMenu::ItemWidening(const TSkinModel& model, const QMenu& menu) {
    int widening = (model.MenuItem ? model.MenuItem->LeftMargin : 0) + kItemWidening;
    const QList<QAction*> actions = menu.actions();
    const bool icons = std::any_of(actions.begin(), actions.end(), [](const QAction* action) {
        return action->isVisible() && action->isIconVisibleInMenu() && !action->icon().isNull();
    });
    if (!icons) widening += kNoIconWidening;
    return widening;
}

// The items take their owner-drawn widths through a measuring style on the menu; a menu that
// the application gave a style of its own keeps measuring its items itself. The menu was placed at
// its stock size before it showed: grown, it keeps its anchor (the right edge of a right-to-left
// menu) and stays on its screen.
void TWinSkinPopMenu::Measure() {
    QMenu& menu = *menu_;
    if (menu.testAttribute(Qt::WA_SetStyle)) return;
    measure_ =
        std::make_unique<TMenuItemMeasure>(QStyleFactory::create(menu.style()->name()), data_);
    const QRect placed = menu.geometry();
    menu.setStyle(measure_.get());
    if (!menu.isVisible()) return;
    QRect grown(placed.topLeft(), menu.sizeHint());
    if (menu.isRightToLeft()) grown.moveRight(placed.right());
    if (const QScreen* screen = menu.screen()) {
        const QRect area = screen->availableGeometry();
        if (grown.right() > area.right()) grown.moveRight(area.right());
        if (grown.left() < area.left()) grown.moveLeft(area.left());
    }
    menu.setGeometry(grown);
}

bool TWinSkinPopMenu::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Paint || watched != menu_) return false;
    if (!PaintsItems()) return false;
    Paint();
    return true;
}

// A skin with neither image leaves the menu its own painting and measure.
bool TWinSkinPopMenu::PaintsItems() const {
    const TSkinModel& model = data_.Model();
    return model.MenuBackground || model.MenuItem;
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
    // The MenuItem element may name its own text colours, normal and selected.
    TColor textColour = selected ? colours.HilightText : colours.MenuText;
    if (model.MenuItem) {
        const TColor given =
            selected ? model.MenuItem->MouseOverColour : model.MenuItem->NormalColour;
        if (given != kColourNotGiven) textColour = given;
    }
    if (!action.isEnabled()) textColour = colours.ButtonShadow;
    const QColor text = ColorToQColor(textColour);
    painter.setPen(text);

    // The widths the items were measured with leave room for all of these side by side.
    const int left = rect.left() + (model.MenuItem ? model.MenuItem->LeftMargin : 0);
    const QRect mark(left, rect.top(), kCheckRoom, rect.height());
    const QRect arrow(rect.right() + 1 - kArrowRoom, rect.top(), kArrowRoom, rect.height());
    const QRect inner(mark.right() + 1 + kTextGap, rect.top(),
                      arrow.left() - (mark.right() + 1 + kTextGap), rect.height());
    const QImage& glyphs = data_.MenuGlyphs();
    const QVariant glyph = action.property(kGlyphProperty);
    if (action.isChecked()) {
        const bool radio = action.actionGroup() && action.actionGroup()->isExclusive();
        if (!DrawGlyph(painter, mark, glyphs, radio ? mgDot : mgCheck, text)) {
            painter.drawText(mark, Qt::AlignCenter, QStringLiteral("✓"));
        }
    } else if (glyph.isValid()) {
        DrawGlyph(painter, mark, glyphs, glyph.toInt(), text);
    } else if (!action.icon().isNull() && action.isIconVisibleInMenu()) {
        const QIcon::Mode mode = !action.isEnabled() ? QIcon::Disabled
                                 : selected          ? QIcon::Active
                                                     : QIcon::Normal;
        const QPixmap icon = action.icon().pixmap(kGlyphSize, kGlyphSize, mode);
        painter.drawPixmap(mark.left() + (mark.width() - kGlyphSize) / 2,
                           mark.top() + (mark.height() - kGlyphSize) / 2, icon);
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
    if (action.menu() && !DrawGlyph(painter, arrow, glyphs, mgRight, text)) {
        painter.drawText(arrow, Qt::AlignCenter, QStringLiteral("▸"));
    }
}

}  // namespace vardo
