#include "WinSkinBoxes.h"

#include <QCheckBox>
#include <QCursor>
#include <QDialog>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QMetaClassInfo>
#include <QPainter>
#include <QProgressBar>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>

#include <algorithm>

#include "SkinDrawing.h"
#include "SkinEvents.h"
#include "WinSkinButtons.h"
#include "WinSkinData.h"
#include "WinSkinFrame.h"

namespace vardo {

namespace {

// The title plate reaches this far above and below the title's text.
constexpr int kPlateRise = 2;
// Room between a tab's icon and its text.
constexpr int kIconGap = 4;

// The colour an element gives for its text, or fallback where it gives none.
TColor GivenOr(TColor given, TColor fallback) {
    return given == kColourNotGiven ? fallback : given;
}

// ---- group boxes -------------------------------------------------------------------------------

// The options the group box itself lays out and hit-tests with, so that what the skinner draws
// lies where the box takes its clicks.
QStyleOptionGroupBox GroupBoxOption(const QGroupBox& box) {
    QStyleOptionGroupBox option;
    option.initFrom(&box);
    option.text = box.title();
    option.lineWidth = 1;
    option.midLineWidth = 0;
    option.textAlignment = box.alignment();
    option.subControls = QStyle::SC_GroupBoxFrame;
    if (box.isFlat()) option.features |= QStyleOptionFrame::Flat;
    if (box.isCheckable()) {
        option.subControls |= QStyle::SC_GroupBoxCheckBox;
        option.state |= box.isChecked() ? QStyle::State_On : QStyle::State_Off;
    }
    if (!box.title().isEmpty()) option.subControls |= QStyle::SC_GroupBoxLabel;
    return option;
}

// The check image in the frame of the box's state, centred in rect; the style's own indicator
// when the skin has no check image.
void DrawCheck(QPainter& painter, const QRect& rect, const QStyleOptionGroupBox& option,
               const QGroupBox& box, const TDataSkinButton& buttons) {
    if (buttons.CheckBitmap.isNull()) {
        QStyleOption indicator(option);
        indicator.rect = rect;
        box.style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &indicator, &painter, &box);
        return;
    }
    TDataSkinObject glyph;
    glyph.Bitmap = buttons.CheckBitmap;
    glyph.FrameCount = std::max(buttons.CheckFrameCount, 1);
    glyph.Trans = 1;
    const int frame = TSkinCheckBox::CheckFrame(box.isChecked() ? Qt::Checked : Qt::Unchecked,
                                                box.isEnabled(), buttons.CheckFrameCount);
    QRect cell(QPoint(0, 0), FrameCell(glyph, frame, FrameAxis::SideBySide).size());
    cell.moveCenter(rect.center());
    DrawElement(painter, cell, glyph, frame);
}

// ---- tabs --------------------------------------------------------------------------------------

// Turns the painter so that a tab at rect on a bar of shape is drawn as a tab on top of its page
// (opening downwards) in the returned rectangle; tabs below their page are mirrored instead.
QRect TurnToTabSide(QPainter& painter, const QRect& rect, QTabBar::Shape shape) {
    switch (shape) {
        case QTabBar::RoundedWest:
        case QTabBar::TriangularWest:
            painter.translate(rect.left(), rect.bottom() + 1);
            painter.rotate(-90);
            return QRect(0, 0, rect.height(), rect.width());
        case QTabBar::RoundedEast:
        case QTabBar::TriangularEast:
            painter.translate(rect.right() + 1, rect.top());
            painter.rotate(90);
            return QRect(0, 0, rect.height(), rect.width());
        default:
            return rect;
    }
}

bool BelowPage(QTabBar::Shape shape) {
    return shape == QTabBar::RoundedSouth || shape == QTabBar::TriangularSouth;
}

// ---- progress bars -----------------------------------------------------------------------------

// The share of length that value fills between minimum and maximum.
int DoneLength(const QProgressBar& bar, int length) {
    const long long span = static_cast<long long>(bar.maximum()) - bar.minimum();
    const long long done =
        std::clamp<long long>(static_cast<long long>(bar.value()) - bar.minimum(), 0, span);
    return static_cast<int>((done * length + span / 2) / span);
}

// The chunk element along a done part that runs upwards: drawn as for a horizontal bar, turned.
void DrawUpwards(QPainter& painter, const QRect& done, const TDataSkinObject& element, int frame) {
    painter.save();
    painter.translate(done.left(), done.bottom() + 1);
    painter.rotate(-90);
    DrawElement(painter, QRect(0, 0, done.height(), done.width()), element, frame);
    painter.restore();
}

// The done part of a bar: chunks where the skin has them, else the bar's second frame.
void DrawDone(QPainter& painter, const QRect& rect, const QRect& done, bool horizontal,
              const TSkinModel& model) {
    if (const TDataSkinObject* chunk = model.ProgressChunk.get()) {
        if (horizontal) {
            DrawElement(painter, done, *chunk, 1);
        } else {
            DrawUpwards(painter, done, *chunk, 1);
        }
    } else if (model.Progress->FrameCount >= 2) {
        painter.save();
        painter.setClipRect(done);
        DrawElement(painter, rect, *model.Progress, 2);
        painter.restore();
    }
}

// ---- panels ------------------------------------------------------------------------------------

// A plain frame, or a control of ours that declares itself a panel.
bool IsPanel(const QWidget& control) {
    const QMetaObject* meta = control.metaObject();
    if (meta == &QFrame::staticMetaObject) return true;
    const int info = meta->indexOfClassInfo("ControlKind");
    return info >= 0 && qstrcmp(meta->classInfo(info).value(), "panel") == 0;
}

// A form placed inside another window instead of shown as a window of its own.
bool IsEmbeddedForm(const QWidget& control) {
    return qobject_cast<const QDialog*>(&control) && !control.isWindow();
}

}  // namespace

// ---- group boxes -------------------------------------------------------------------------------

TSkinGroupBox::TSkinGroupBox(QWidget& control, TSkinData& data, TGroupButtons buttons)
    : TSkinControl(control, data), groupButtons_(buttons) {}

void TSkinGroupBox::InitSkin(bool setColour) {
    TSkinControl::InitSkin(setColour);
    if (!control_ || groupButtons_ == TGroupButtons::None) return;
    for (QAbstractButton* button : control_->findChildren<QAbstractButton*>()) {
        if (button->property("Tag").toInt() == data_.DisableTag || AnswersSkinned(button)) continue;
        std::unique_ptr<TSkinControl> skinner;
        if (groupButtons_ == TGroupButtons::Radio && qobject_cast<QRadioButton*>(button)) {
            skinner = std::make_unique<TSkinRadioButton>(*button, data_);
        } else if (groupButtons_ == TGroupButtons::Check && qobject_cast<QCheckBox*>(button)) {
            skinner = std::make_unique<TSkinCheckBox>(*button, data_);
        }
        if (!skinner) continue;
        skinner->InitSkin(false);
        buttons_.push_back(std::move(skinner));
    }
}

bool TSkinGroupBox::CanPaint() const {
    return qobject_cast<const QGroupBox*>(control_.data()) && Model().GroupBoxEdge;
}

void TSkinGroupBox::Paint(QPainter& painter, const QRect& rect) {
    const auto& box = static_cast<const QGroupBox&>(*control_);
    const TSkinModel& model = Model();
    const QStyleOptionGroupBox option = GroupBoxOption(box);
    const auto part = [&](QStyle::SubControl sub) {
        return option.subControls.testFlag(sub)
                   ? box.style()->subControlRect(QStyle::CC_GroupBox, &option, sub, &box)
                   : QRect();
    };
    const bool enabled = box.isEnabled();
    const QRect frame = part(QStyle::SC_GroupBoxFrame);
    QRect label = part(QStyle::SC_GroupBoxLabel);
    const QRect check = part(QStyle::SC_GroupBoxCheckBox);
    const TDataSkinBoxLabel* plate = model.GroupBox.get();
    const int plateLeft = plate ? plate->LeftMargin + plate->BackgroundLeftShift : 0;
    if (check.isEmpty() && !box.isFlat()) {
        // The plate starts inside the edge, not over its corner: a title the style puts closer
        // moves right. A check box stays where the box takes its clicks.
        const int overlap =
            frame.left() + model.GroupBoxEdge->LeftMargin - (label.left() - plateLeft);
        if (overlap > 0) label.translate(overlap, 0);
    }
    const QRect title = label.united(check);
    if (!box.isFlat()) {
        // The edge runs through the middle of the title.
        QRect edge = frame;
        if (!title.isEmpty()) edge.setTop(std::max(edge.top(), title.center().y()));
        DrawElement(painter, edge, *model.GroupBoxEdge, enabled ? 1 : 2);
    }
    if (title.isEmpty()) return;
    if (plate) {
        const QRect back = title.adjusted(
            -plateLeft, -kPlateRise, plate->RightMargin + plate->BackgroundRightShift, kPlateRise);
        DrawElement(painter, back & rect, *plate, 1);
    }
    if (!check.isEmpty()) DrawCheck(painter, check, option, box, model.Buttons);
    if (label.isEmpty()) return;
    const TColor normal = model.GroupBox
                              ? GivenOr(model.GroupBox->NormalColour, model.Colours.WindowText)
                              : model.Colours.WindowText;
    painter.setFont(box.font());
    painter.setPen(ColorToQColor(enabled ? normal : model.Colours.ButtonShadow));
    painter.drawText(label, Qt::AlignCenter | Qt::TextShowMnemonic, box.title());
}

// ---- tabs --------------------------------------------------------------------------------------

int TSkinTab::TabFrame(bool enabled, bool selected, bool hot, bool barFocused) {
    if (!enabled) return 3;
    if (selected) return barFocused ? 5 : 2;
    return hot ? 4 : 1;
}

bool TSkinTab::CanPaint() const {
    if (qobject_cast<const QTabBar*>(control_.data())) return Model().Tabs != nullptr;
    if (qobject_cast<const QTabWidget*>(control_.data())) return Model().TabPane != nullptr;
    return false;
}

void TSkinTab::AfterMessage(QEvent* event) {
    TSkinControl::AfterMessage(event);
    switch (event->type()) {
        case QEvent::HoverMove:
        case QEvent::MouseMove:
            control_->update();
            break;
        default:
            break;
    }
}

void TSkinTab::Paint(QPainter& painter, const QRect&) {
    if (qobject_cast<const QTabBar*>(control_.data())) {
        PaintTabs(painter);
    } else {
        PaintPane(painter);
    }
}

// The selected tab last, over its neighbours.
void TSkinTab::PaintTabs(QPainter& painter) {
    const auto& bar = static_cast<const QTabBar&>(*control_);
    const TDataSkinBorder& tabs = *Model().Tabs;
    const TSkinColours& colours = Model().Colours;
    const int current = bar.currentIndex();
    const int hot = bar.underMouse() ? bar.tabAt(bar.mapFromGlobal(QCursor::pos())) : -1;
    const auto paintTab = [&](int index) {
        const bool enabled = bar.isEnabled() && bar.isTabEnabled(index);
        const int frame = TabFrame(enabled, index == current, index == hot, bar.hasFocus());
        painter.save();
        const QRect tab = TurnToTabSide(painter, bar.tabRect(index), bar.shape());
        QImage image = RenderElement(tabs, tab.size(), frame);
        if (BelowPage(bar.shape())) image.mirror(false, true);
        painter.drawImage(tab.topLeft(), tabs.Trans ? MagentaTransparent(image) : image);

        QRect text = tab.adjusted(tabs.LeftMargin, 0, -tabs.RightMargin, 0);
        const QIcon icon = bar.tabIcon(index);
        if (!icon.isNull()) {
            const QSize size = bar.iconSize();
            painter.drawPixmap(text.left(), text.top() + (text.height() - size.height()) / 2,
                               icon.pixmap(size, enabled ? QIcon::Normal : QIcon::Disabled));
            text.setLeft(text.left() + size.width() + kIconGap);
        }
        TColor colour = colours.ButtonText;
        if (frame == 1) colour = GivenOr(tabs.NormalColour, colour);
        if (frame == 2 || frame == 5) colour = GivenOr(tabs.PressedColour, colour);
        if (frame == 4) colour = GivenOr(tabs.MouseOverColour, colour);
        if (!enabled) colour = colours.ButtonShadow;
        painter.setFont(bar.font());
        painter.setPen(ColorToQColor(colour));
        painter.drawText(text, Qt::AlignCenter | Qt::TextShowMnemonic,
                         painter.fontMetrics().elidedText(bar.tabText(index), bar.elideMode(),
                                                          text.width(), Qt::TextShowMnemonic));
        painter.restore();
    };
    for (int index = 0; index < bar.count(); ++index) {
        if (index != current && bar.isTabVisible(index)) paintTab(index);
    }
    if (current >= 0) paintTab(current);
}

// The pane shares its edge row with the tabs' open end, so the selected tab runs into it.
void TSkinTab::PaintPane(QPainter& painter) {
    const auto& widget = static_cast<const QTabWidget&>(*control_);
    QRect pane = widget.rect();
    if (const QTabBar* bar = widget.tabBar(); bar && bar->isVisible() && bar->count() > 0) {
        const QRect tab = bar->tabRect(std::max(bar->currentIndex(), 0)).translated(bar->pos());
        switch (widget.tabPosition()) {
            case QTabWidget::North:
                pane.setTop(tab.bottom());
                break;
            case QTabWidget::South:
                pane.setBottom(tab.top());
                break;
            case QTabWidget::West:
                pane.setLeft(tab.right());
                break;
            case QTabWidget::East:
                pane.setRight(tab.left());
                break;
        }
    }
    DrawElement(painter, pane, *Model().TabPane, 1);
}

// ---- progress bars -----------------------------------------------------------------------------

// A bar without a range shows that it is busy with the control's own animation.
bool TSkinProgress::CanPaint() const {
    const auto* bar = qobject_cast<const QProgressBar*>(control_.data());
    return bar && bar->maximum() > bar->minimum() && Model().Progress;
}

void TSkinProgress::Paint(QPainter& painter, const QRect& rect) {
    const auto& bar = static_cast<const QProgressBar&>(*control_);
    const TSkinModel& model = Model();
    const TDataSkinBorder& trough = *model.Progress;
    DrawElement(painter, rect, trough, 1);

    const QRect inner = rect.adjusted(trough.LeftMargin, trough.TopMargin, -trough.RightMargin,
                                      -trough.BottomMargin);
    const bool horizontal = bar.orientation() == Qt::Horizontal;
    QRect done = inner;
    if (horizontal) {
        const int length = DoneLength(bar, inner.width());
        const bool fromRight =
            bar.invertedAppearance() != (bar.layoutDirection() == Qt::RightToLeft);
        done.setWidth(length);
        if (fromRight) done.moveRight(inner.right());
    } else {
        const int length = DoneLength(bar, inner.height());
        done.setHeight(length);
        if (!bar.invertedAppearance()) done.moveBottom(inner.bottom());
    }
    if (!done.isEmpty()) DrawDone(painter, rect, done, horizontal, model);

    if (!bar.isTextVisible()) return;
    const QString text = bar.text();
    if (text.isEmpty()) return;
    painter.save();
    QRect box = rect;
    if (!horizontal) {
        const bool topToBottom = bar.textDirection() == QProgressBar::TopToBottom;
        painter.translate(topToBottom ? rect.right() + 1 : rect.left(),
                          topToBottom ? rect.top() : rect.bottom() + 1);
        painter.rotate(topToBottom ? 90 : -90);
        box = QRect(0, 0, rect.height(), rect.width());
    }
    painter.setFont(bar.font());
    painter.setPen(ColorToQColor(GivenOr(trough.NormalColour, model.Colours.WindowText)));
    painter.drawText(box, Qt::AlignCenter, text);
    painter.restore();
}

// ---- panels ------------------------------------------------------------------------------------

TSkinBox::~TSkinBox() {
    GiveBackProperties();
}

void TSkinBox::MakeTransparent() {
    SetProperty("Transparent", true);
}

void TSkinBox::InitSkin(bool) {
    TSkinControl::InitSkin(true);
    SetProperty("Color", QVariant::fromValue(Model().Colours.ButtonFace));
    TakeSkinText();
}

void TSkinBox::UnSkin() {
    GiveBackProperties();
    TSkinControl::UnSkin();
}

void TSkinBox::Refresh() {
    if (control_ && control_->metaObject()->indexOfProperty("Color") >= 0) {
        control_->setProperty("Color", QVariant::fromValue(Model().Colours.ButtonFace));
    }
    TakeSkinText();
    TSkinControl::Refresh();
}

// The text on the panel in the skin's text colour, readable on the skin's face.
void TSkinBox::TakeSkinText() {
    if (!control_) return;
    control_->setPalette(WithText(control_->palette(), ColorToQColor(Model().Colours.WindowText)));
}

// Only a property the control declares: a name it does not know stays unset.
void TSkinBox::SetProperty(const char* name, const QVariant& value) {
    if (!control_ || control_->metaObject()->indexOfProperty(name) < 0) return;
    kept_.push_back({name, control_->property(name)});
    control_->setProperty(name, value);
}

void TSkinBox::GiveBackProperties() {
    for (auto kept = kept_.rbegin(); kept != kept_.rend(); ++kept) {
        if (control_) control_->setProperty(kept->name, kept->value);
    }
    kept_.clear();
}

void TSkinBoxH::Paint(QPainter& painter, const QRect& rect) {
    const TSkinModel& model = Model();
    if (qobject_cast<const QToolBar*>(control_.data()) && data_.Options.Contains(xoToolbarBK) &&
        model.Toolbar) {
        DrawElement(painter, rect, *model.Toolbar, 1);
    } else {
        painter.fillRect(rect, ColorToQColor(model.Colours.ButtonFace));
    }
}

// ---- the factory's rows ------------------------------------------------------------------------

std::unique_ptr<TSkinControl> SkinBoxByClass(QWidget& control, TSkinData& data) {
    const TSkinControls& kinds = data.SkinControls;
    if (qobject_cast<QGroupBox*>(&control)) {
        if (!kinds.Contains(xcPanel)) return nullptr;
        return std::make_unique<TSkinGroupBox>(control, data);
    }
    if (qobject_cast<QTabBar*>(&control) || qobject_cast<QTabWidget*>(&control)) {
        return SkinBoxByKind(control, data, QStringLiteral("tab"));
    }
    if (qobject_cast<QProgressBar*>(&control)) {
        return SkinBoxByKind(control, data, QStringLiteral("progress"));
    }
    if (qobject_cast<QToolBar*>(&control)) {
        if (!kinds.Contains(xcToolbar)) return nullptr;
        return std::make_unique<TSkinBoxH>(control, data);
    }
    if (IsEmbeddedForm(control)) {
        if (ClassifyWindow(*control.window()).StandardDialog) {
            return std::make_unique<TSkinBoxH>(control, data);
        }
        return std::make_unique<TSkinBox>(control, data);
    }
    if (IsPanel(control) && kinds.Contains(xcPanel))
        return std::make_unique<TSkinBox>(control, data);
    return nullptr;
}

// A "container" gets no skinner of its own: its children are reached like every other control.
std::unique_ptr<TSkinControl> SkinBoxByKind(QWidget& control, TSkinData& data,
                                            const QString& kind) {
    const TSkinControls& kinds = data.SkinControls;
    using Buttons = TSkinGroupBox::TGroupButtons;
    if (kind == "panel" && kinds.Contains(xcPanel)) {
        auto box = std::make_unique<TSkinBox>(control, data);
        box->MakeTransparent();
        return box;
    }
    if (((kind == "tab" && data.Model().Tabs) || kind == "advpagecontrol") &&
        kinds.Contains(xcTab)) {
        return std::make_unique<TSkinTab>(control, data);
    }
    if (kind == "progress" && kinds.Contains(xcProgress)) {
        return std::make_unique<TSkinProgress>(control, data);
    }
    if (kind == "groupbox" && kinds.Contains(xcGroupBox)) {
        return std::make_unique<TSkinGroupBox>(control, data);
    }
    if (kind == "radiogroup" && kinds.Contains(xcGroupBox) && kinds.Contains(xcRadioButton)) {
        return std::make_unique<TSkinGroupBox>(control, data, Buttons::Radio);
    }
    if (kind == "checkgroup" && kinds.Contains(xcPanel) && kinds.Contains(xcRadioButton)) {
        return std::make_unique<TSkinGroupBox>(control, data, Buttons::Check);
    }
    return nullptr;
}

}  // namespace vardo
