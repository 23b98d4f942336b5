#pragma once

#include <QObject>
#include <QSet>

#include <memory>
#include <vector>

#include "SkinManage.h"

class QWidget;

namespace vardo {

class TSkinData;
class TWinSkinForm;
class TWinSkinPopMenu;

// The skinning of the process's windows, for the skin manager: an application-wide watch that
// skins each top-level window as it is shown or activated (the admission tests of SkinWindow),
// and the manager's commands on the skinned windows (switch on, switch off, reload, purge,
// re-skin one window).
class TSkinWindows final : public QObject, public TSkinWindowSide {
    Q_OBJECT
  public:
    // Lives as long as manager, its parent, which it serves.
    explicit TSkinWindows(TSkinManage& manager);
    ~TSkinWindows() override;

    // The window side of manager, made and attached to it on first use.
    static TSkinWindows& Of(TSkinManage& manager);

    // TSkinWindowSide
    void InstallHook() override;
    void RunCommand(int kind, TSkinData& data, QObject* window) override;
    // A command that is for no one window.
    void RunCommand(int kind, TSkinData& data) { RunCommand(kind, data, nullptr); }
    void SkinOwnerForm(TSkinData& data) override;

    // Skins window when it passes the admission tests; false when it does not (or already is).
    bool SkinWindow(QWidget* window);
    // Command 7: skins one window afresh, from its admission on.
    void ReskinWindow(QWidget* window);

    TWinSkinForm* FormSkinner(const QWidget* window) const;
    const std::vector<std::unique_ptr<TWinSkinForm>>& Forms() const { return forms_; }
    // Drops the skinners whose windows have gone.
    void Purge();
    // The skinners of the popup menus now open.
    const std::vector<std::unique_ptr<TWinSkinPopMenu>>& PopupMenus() const { return popups_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    TSkinData* ChooseSkinData(const QWidget& window) const;
    bool Admitted(QWidget& window, const QString& className) const;
    void SkinAllWindows(TSkinData& data);
    void DetachAll(const TSkinData* only);
    void WatchSkinData(TSkinData& data);
    void PopupShown(QWidget& menu);
    void PopupHidden(const QWidget& menu);

    TSkinManage& manager_;
    std::vector<std::unique_ptr<TWinSkinForm>> forms_;
    std::vector<std::unique_ptr<TWinSkinPopMenu>> popups_;
    QSet<const TSkinData*> watchedDatas_;
    bool hooked_ = false;
    bool bulk_ = false;  // set while every window is being skinned
};

}  // namespace vardo
