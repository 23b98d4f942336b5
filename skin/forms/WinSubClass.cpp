#include "WinSubClass.h"

#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <QWidget>

#include <algorithm>

#include "SkinEvents.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSkinMenu.h"

namespace vardo {

namespace {

// A form with this tag is never skinned, whatever the component's DisableTag.
constexpr int kNeverSkinTag = 99;

int TagOf(const QObject& object) {
    return object.property("Tag").toInt();
}

// The windows that count as forms of the program: ordinary windows and dialogs. Popups (menus,
// combo lists), tool tips and splash screens are not forms.
bool IsFormWindow(const QWidget& window) {
    switch (window.windowType()) {
        case Qt::Window:
        case Qt::Dialog:
        case Qt::Sheet:
        case Qt::Tool:
            return true;
        default:
            return false;
    }
}

}  // namespace

TSkinWindows::TSkinWindows(TSkinManage& manager) : QObject(&manager), manager_(manager) {
    manager_.SetWindowSide(this);
}

TSkinWindows::~TSkinWindows() = default;

TSkinWindows& TSkinWindows::Of(TSkinManage& manager) {
    if (auto* side = dynamic_cast<TSkinWindows*>(manager.WindowSide())) return *side;
    return *new TSkinWindows(manager);
}

void TSkinWindows::InstallHook() {
    if (hooked_) return;
    qApp->installEventFilter(this);
    hooked_ = true;
}

TWinSkinForm* TSkinWindows::FormSkinner(const QWidget* window) const {
    for (const auto& form : forms_) {
        if (!form->Dead() && form->Window() == window) return form.get();
    }
    return nullptr;
}

void TSkinWindows::Purge() {
    if (manager_.StartedState() == TSkinManage::ShuttingDown) return;
    std::erase_if(forms_, [](const std::unique_ptr<TWinSkinForm>& form) { return form->Dead(); });
}

TSkinData* TSkinWindows::ChooseSkinData(const QWidget& window) const {
    const QList<TSkinData*>& datas = manager_.SkinDatas();
    const auto ready = [](const TSkinData* data) { return data && data->SkinReady(); };
    for (TSkinData* data : datas) {
        if (data->SkinFormtype == sfOnlyThisForm && data->parent() == &window) {
            return ready(data) ? data : nullptr;
        }
    }
    // Bare windows (message boxes, file dialogs) may have a component of their own.
    if (IsBareWindow(window)) {
        for (TSkinData* data : datas) {
            if (data->SkinFormtype == sfDialog) return ready(data) ? data : nullptr;
        }
    }
    if (TSkinData* main = manager_.DefaultSkinData()) return ready(main) ? main : nullptr;
    return datas.isEmpty() || !ready(datas.first()) ? nullptr : datas.first();
}

// Steps 2 to 6 of the admission.
bool TSkinWindows::Admitted(QWidget& window, const QString& className) const {
    if (FormSkinner(&window) || AnswersSkinned(&window)) return false;
    if (!window.isWindow() && !bulk_) return false;
    if (!IsFormWindow(window)) return false;
    if (window.size().isEmpty()) return false;
    if (TagOf(window) == kNeverSkinTag) return false;

    const TSkinData* main = manager_.DefaultSkinData();
    if (main && !main->Options.Contains(xoPreview) && className.toLower().contains("preview")) {
        return false;
    }
    if (main && main->OnFormSkin) {
        bool doSkin = true;
        main->OnFormSkin(className, doSkin);
        return doSkin;
    }
    if (className == QLatin1String("QCalendarWidget")) return false;
    if (main && main->SkinControls.Contains(xcFastReport) &&
        className.startsWith(QLatin1String("Tfr"))) {
        return false;
    }
    return true;
}

bool TSkinWindows::SkinWindow(QWidget* window) {
    if (!window || !manager_.SkinningOn()) return false;
    Purge();
    const QString className = WidgetClassName(*window);
    if (!Admitted(*window, className)) return false;
    TSkinData* data = ChooseSkinData(*window);
    if (!data) return false;
    if (data->OnBeforeSkinForm) data->OnBeforeSkinForm(window, className);
    forms_.push_back(std::make_unique<TWinSkinForm>(*window, *data));
    WatchSkinData(*data);
    connect(window, &QObject::destroyed, this,
            [this] { QTimer::singleShot(0, this, &TSkinWindows::Purge); });
    QCoreApplication::postEvent(window, new SkinEvent(kSkinSwitchOn, 0, 1000));
    if (data->OnAfterSkinForm) data->OnAfterSkinForm(window, className);
    return true;
}

// The windows a component skins are given back when the component goes.
void TSkinWindows::WatchSkinData(TSkinData& data) {
    if (watchedDatas_.contains(&data)) return;
    watchedDatas_.insert(&data);
    connect(&data, &QObject::destroyed, this, [this, gone = &data] {
        watchedDatas_.remove(gone);
        DetachAll(gone);
    });
}

void TSkinWindows::ReskinWindow(QWidget* window) {
    if (!window) return;
    if (TWinSkinForm* form = FormSkinner(window)) form->Detach();
    Purge();
    SkinWindow(window);
}

void TSkinWindows::SkinAllWindows(TSkinData& data) {
    if (data.SkinFormtype == sfOnlyThisForm) {
        if (auto* owner = qobject_cast<QWidget*>(data.parent())) SkinWindow(owner);
        return;
    }
    bulk_ = true;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        QWidget* window = *it;
        if (!window->isVisible() || !window->isWindow()) continue;
        // A window still skinned with this component's earlier skin takes the new one.
        if (TWinSkinForm* form = FormSkinner(window)) {
            if (&form->SkinData() == &data) form->Reload();
            continue;
        }
        SkinWindow(window);
    }
    bulk_ = false;
}

void TSkinWindows::DetachAll(const TSkinData* only) {
    popups_.clear();
    Purge();
    for (const auto& form : forms_) {
        if (!only || &form->SkinData() == only) form->Detach();
    }
    Purge();
}

void TSkinWindows::RunCommand(int kind, TSkinData& data, QObject* window) {
    switch (kind) {
        case scSwitchOn:
            SkinAllWindows(data);
            break;
        case scSwitchOff:
            DetachAll(data.SkinFormtype == sfOnlyThisForm ? &data : nullptr);
            break;
        case scReload:
            Purge();
            for (const auto& form : forms_) {
                if (&form->SkinData() == &data) form->Reload();
            }
            break;
        case scPurge:
            Purge();
            break;
        case scReskin:
            ReskinWindow(qobject_cast<QWidget*>(window));
            break;
        default:
            break;
    }
}

void TSkinWindows::SkinOwnerForm(TSkinData& data) {
    if (auto* owner = qobject_cast<QWidget*>(data.parent())) SkinWindow(owner);
}

// A popup menu is skinned while it is open.
void TSkinWindows::PopupShown(QWidget& menu) {
    TSkinData* data = manager_.DefaultSkinData();
    if (!data || !data->SkinReady() || !data->SkinControls.Contains(xcPopupMenu)) return;
    if (menu.property("Tag").toInt() == data->DisableTag) return;
    for (const auto& popup : popups_) {
        if (popup->Menu() == &menu) return;
    }
    popups_.push_back(std::make_unique<TWinSkinPopMenu>(static_cast<QMenu&>(menu), *data));
}

void TSkinWindows::PopupHidden(const QWidget& menu) {
    std::erase_if(popups_, [&](const std::unique_ptr<TWinSkinPopMenu>& popup) {
        return !popup->Menu() || popup->Menu() == &menu;
    });
}

// Stands in for the window-creation hook: a top-level window being shown or activated is a
// window being activated; a popup menu being shown is a menu window being created.
bool TSkinWindows::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::Show && type != QEvent::WindowActivate && type != QEvent::Hide) {
        return false;
    }
    if (!watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (qobject_cast<QMenu*>(widget)) {
        if (type == QEvent::Hide) {
            PopupHidden(*widget);
        } else if (type == QEvent::Show && manager_.SkinningOn()) {
            PopupShown(*widget);
        }
        return false;
    }
    if (type == QEvent::Hide) return false;
    if (widget->isWindow() && manager_.SkinningOn() && !FormSkinner(widget)) SkinWindow(widget);
    return false;
}

}  // namespace vardo
