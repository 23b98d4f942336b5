#include "WinSkinControl.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSizeGrip>
#include <QSlider>
#include <QStatusBar>
#include <QToolButton>

#include <optional>

#include "SkinEvents.h"
#include "WinSkinBoxes.h"
#include "WinSkinButtons.h"
#include "WinSkinData.h"
#include "WinSkinFrame.h"
#include "WinSkinParts.h"

namespace vardo {

TSkinControl::TSkinControl(QWidget& control, TSkinData& data) : control_(&control), data_(data) {}

TSkinControl::~TSkinControl() {
    if (!control_) return;
    control_->removeEventFilter(this);
    UnSkin();
    control_->update();
}

const TSkinModel& TSkinControl::Model() const {
    return data_.Model();
}

bool TSkinControl::Hot() const {
    return control_ && control_->underMouse();
}

void TSkinControl::InitSkin(bool setColour) {
    if (!control_) return;
    control_->installEventFilter(this);
    setColour_ = setColour;
    if (setColour_) {
        hadPalette_ = control_->testAttribute(Qt::WA_SetPalette);
        palette_ = control_->palette();
        hadAutoFill_ = control_->autoFillBackground();
        QPalette face = palette_;
        face.setColor(QPalette::Window, ColorToQColor(Model().Colours.ButtonFace));
        control_->setPalette(face);
        control_->setAutoFillBackground(true);
    }
    state_ = csAttached;
    control_->update();
}

void TSkinControl::UnSkin() {
    if (!control_ || !setColour_) return;
    if (hadPalette_) {
        control_->setPalette(palette_);
    } else {
        control_->setPalette(QPalette());
    }
    control_->setAutoFillBackground(hadAutoFill_);
    setColour_ = false;
}

void TSkinControl::Refresh() {
    if (!control_) return;
    if (setColour_) {
        QPalette face = control_->palette();
        face.setColor(QPalette::Window, ColorToQColor(Model().Colours.ButtonFace));
        control_->setPalette(face);
    }
    control_->update();
}

bool TSkinControl::BeforeMessage(QEvent* event) {
    if (IsSkinEvent(event, kSkinQuery)) {
        static_cast<SkinEvent*>(event)->SetResult(1);
        return false;
    }
    return true;
}

void TSkinControl::AfterMessage(QEvent* event) {
    switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
        case QEvent::EnabledChange:
        case QEvent::Enter:
        case QEvent::Leave:
            control_->update();
            break;
        default:
            break;
    }
}

void TSkinControl::Paint(QPainter&, const QRect&) {}

// Painting exceptions never reach the event loop: the control is left as painted so far.
void TSkinControl::PaintFrame() {
    try {
        QPainter painter(control_);
        Paint(painter, control_->rect());
    } catch (const std::exception&) {
    }
}

bool TSkinControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched != control_ || state_ == csDead) return false;
    if (IsSkinEvent(event, kSkinPaintSwitch)) {
        painting_ = static_cast<SkinEvent*>(event)->Value() > 0;
        control_->update();
        return true;
    }
    if (!painting_) return false;
    if (event->type() == QEvent::Destroy) {
        state_ = csDead;
        return false;
    }
    if (!BeforeMessage(event)) return true;
    if (event->type() == QEvent::Paint && CanPaint()) {
        if (PaintsOver()) static_cast<QObject*>(control_.data())->event(event);
        PaintFrame();
        return true;
    }
    AfterMessage(event);
    return false;
}

namespace {

// A button tagged so, or every button when the options say so, shows its parent's background.
constexpr int kTransparentButtonTag = 5555;

bool TransparentButton(const QWidget& button, const TSkinData& data) {
    return data.Options.Contains(xoTransparent) ||
           button.property("Tag").toInt() == kTransparentButtonTag;
}

template <class Skinner>
std::unique_ptr<TSkinControl> MakeButton(QWidget& control, TSkinData& data) {
    auto skinner = std::make_unique<Skinner>(control, data);
    skinner->SetTransparent(TransparentButton(control, data));
    return skinner;
}

// A push button with a menu, or a tool button that opens its menu itself.
bool DropsDownMenu(const QWidget& control) {
    if (const auto* push = qobject_cast<const QPushButton*>(&control)) return push->menu();
    const auto* tool = qobject_cast<const QToolButton*>(&control);
    return tool && tool->menu() && tool->popupMode() != QToolButton::DelayedPopup;
}

// The kind after "=" of the Skin3rd line for className, or nothing.
std::optional<QString> Skin3rdKind(const TSkinData& data, const QString& className) {
    const QString key = className.toLower() + '=';
    for (const QString& line : data.Skin3rd) {
        const QString lower = line.toLower();
        if (lower.startsWith(key)) return lower.mid(key.size(), 50).trimmed();
    }
    return std::nullopt;
}

std::unique_ptr<TSkinControl> ByKind(QWidget& control, TSkinData& data, const QString& kind) {
    const TSkinControls& kinds = data.SkinControls;
    if (std::unique_ptr<TSkinControl> box = SkinBoxByKind(control, data, kind)) return box;
    if (kind == "button" && kinds.Contains(xcButton)) return MakeButton<TSkinButton>(control, data);
    if ((kind == "bitbtn" || kind == "pngbitbtn" || kind == "menubtn") &&
        kinds.Contains(xcButton)) {
        if (kind == "menubtn" || DropsDownMenu(control)) {
            return MakeButton<TSkinMenuButton>(control, data);
        }
        return MakeButton<TSkinBitButton>(control, data);
    }
    if (kind == "speedbutton" && kinds.Contains(xcSpeedButton)) {
        if (DropsDownMenu(control)) return MakeButton<TSkinMenuButton>(control, data);
        return MakeButton<TSkinSpeedButton>(control, data);
    }
    if (kind == "checkbox" && kinds.Contains(xcCheckBox)) {
        return std::make_unique<TSkinCheckBox>(control, data);
    }
    if (kind == "radiobutton" && kinds.Contains(xcRadioButton)) {
        return std::make_unique<TSkinRadioButton>(control, data);
    }
    if (kind == "combobox" && kinds.Contains(xcCombo)) {
        return std::make_unique<TSkinComBox>(control, data);
    }
    if (kind == "datetimepicker" && kinds.Contains(xcCombo)) {
        return std::make_unique<TSkinDateTime>(control, data);
    }
    if (kind == "edit" && kinds.Contains(xcEdit)) return std::make_unique<TSkinEdit>(control, data);
    if (kind == "trackbar" && kinds.Contains(xcButton)) {
        return std::make_unique<TSkinTrackBar>(control, data);
    }
    if ((kind == "scrollbar" || kind == "embedscrollbar") && kinds.Contains(xcScrollbar)) {
        return std::make_unique<TSkinScrollbar>(control, data);
    }
    if (kind == "singlescrollbar" && kinds.Contains(xcScrollbar)) {
        return std::make_unique<TSkinScrollbarH>(control, data);
    }
    return nullptr;
}

// The line edit inside a spin box or an editable combo box, the list a combo box drops down and
// the buttons inside an edit belong to that control and its skinner.
bool IsPartOfAnotherControl(const QWidget& control) {
    for (const QWidget* owner = control.parentWidget(); owner; owner = owner->parentWidget()) {
        if (qobject_cast<const QAbstractSpinBox*>(owner) || qobject_cast<const QComboBox*>(owner) ||
            qobject_cast<const QLineEdit*>(owner)) {
            return true;
        }
    }
    return false;
}

// The rows of the factory for the standard controls, first match first.
std::unique_ptr<TSkinControl> ByClass(QWidget& control, TSkinData& data) {
    const TSkinControls& kinds = data.SkinControls;
    if (IsPartOfAnotherControl(control)) return nullptr;
    if (std::unique_ptr<TSkinControl> box = SkinBoxByClass(control, data)) return box;
    if (qobject_cast<QCheckBox*>(&control)) return ByKind(control, data, "checkbox");
    if (qobject_cast<QSlider*>(&control) && kinds.Contains(xcTrackBar)) {
        return std::make_unique<TSkinTrackBar>(control, data);
    }
    if (qobject_cast<QRadioButton*>(&control)) return ByKind(control, data, "radiobutton");
    if (qobject_cast<QStatusBar*>(&control) && kinds.Contains(xcStatusBar)) {
        return std::make_unique<TSkinStatusBar>(control, data);
    }
    if (qobject_cast<QComboBox*>(&control)) return ByKind(control, data, "combobox");
    if (qobject_cast<QDateTimeEdit*>(&control) && kinds.Contains(xcEdit)) {
        return std::make_unique<TSkinDateTime>(control, data);
    }
    if (qobject_cast<QAbstractSpinBox*>(&control) && kinds.Contains(xcSpin)) {
        return std::make_unique<TSkinUpDown>(control, data);
    }
    if (qobject_cast<QSizeGrip*>(&control)) return std::make_unique<TSkinSizer>(control, data);
    if (qobject_cast<QToolButton*>(&control)) return ByKind(control, data, "speedbutton");
    if (qobject_cast<QAbstractScrollArea*>(&control)) return ByKind(control, data, "scrollbar");
    if (qobject_cast<QPushButton*>(&control)) return ByKind(control, data, "bitbtn");
    if (qobject_cast<QLineEdit*>(&control)) return ByKind(control, data, "edit");
    return nullptr;
}

}  // namespace

QPalette WithText(QPalette palette, const QColor& text) {
    palette.setColor(QPalette::Active, QPalette::WindowText, text);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, text);
    return palette;
}

bool KeepsOwnFace(const QWidget& control, const TSkinData& data) {
    return !data.SkinControls.Contains(xcPanel) &&
           Skin3rdKind(data, WidgetClassName(control)) == QStringLiteral("panel");
}

std::unique_ptr<TSkinControl> SkinControl(QWidget& control, TSkinData& data) {
    if (control.property("Tag").toInt() == data.DisableTag) return nullptr;
    if (AnswersSkinned(&control)) return nullptr;
    const QString className = WidgetClassName(control);
    if (data.OnSkinControl) {
        QObject* supplied = nullptr;
        data.OnSkinControl(&data, control.window(), &control, className, supplied);
        if (auto* skinner = qobject_cast<TSkinControl*>(supplied)) {
            skinner->setParent(nullptr);
            return std::unique_ptr<TSkinControl>(skinner);
        }
    }
    if (const std::optional<QString> kind = Skin3rdKind(data, className)) {
        return ByKind(control, data, *kind);
    }
    return ByClass(control, data);
}

}  // namespace vardo
