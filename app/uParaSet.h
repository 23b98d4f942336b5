#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <string>

#include "ProgramPlace.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSlider;
class QTimeEdit;

namespace vardo {

class Prompts;
class TMyShape;

// What the settings dialog keeps up to date in the main window.
class SetupOwner {
  public:
    virtual ~SetupOwner() = default;
    virtual void SetAutoShutDownSeconds(int secondsOfDay) = 0;
    virtual void SetAutoLoadSeconds(int secondsOfDay) = 0;
    // Opacity (0 transparent .. 255 opaque) of the main window and of this dialog, applied only
    // while chkTransparent is ticked.
    virtual void ApplyTransparency(int degree) = 0;
    // Switches the skin engine off and, when on is true, on again with the skin file; what the
    // operator sees of a file that cannot be loaded is the main window's.
    virtual void SwitchSkin(bool on, const QString& skinFile) = 0;
};

// The settings dialog. Its controls are the live options the rest of the program reads; every
// change is written to the settings file at once. Constructed with its design states, then
// FormCreate reads the stored settings into it.
class TFrmSetup final : public QDialog {
    Q_OBJECT
  public:
    TFrmSetup(const platform::ProgramPlace& place, SetupOwner& owner, Prompts& prompts,
              QWidget* parent = nullptr);

    void FormCreate();

    TMyShape* MyShape2;
    QCheckBox* chkMin;
    QCheckBox* chkAutoStart;
    QCheckBox* chkSure;
    QCheckBox* chkSaveHis;
    QCheckBox* chkShutTask;
    QCheckBox* chkTransparent;
    QSlider* tkTransparent;
    QCheckBox* chkAutoShutDown;
    QTimeEdit* TimePicker;
    QCheckBox* chkLoadTime;
    QTimeEdit* loadTimePicker;
    QCheckBox* chktskn;
    QComboBox* cbskn;
    QComboBox* cbLanguage;
    QPushButton* btnClose;

    void chkMinClick();
    void chkSureClick();
    void chkShutTaskClick();
    void chkSaveHisClick();
    void chkAutoShutDownClick();
    void chkLoadTimeClick();
    void chkAutoStartClick();
    void chkTransparentClick();
    void tkTransparentChange();
    void TimePickerChange();
    void loadTimePickerChange();
    void chktsknClick();
    void cbsknChange();
    // Stores the chosen language; the program speaks it from its next start.
    void cbLanguageChange();
    void btnCloseClick();

    // The name of every entry of folder matching "*." + extension, in the order the file system
    // returns them.
    static QStringList ListFiles(const QString& folder, const QString& extension);

  private:
    void BuildControls();
    void ConnectHandlers();
    // Writes one key; on failure shows "Unable to write to ..." with the reason on the next line
    // and returns false, so the handler skips the rest of its work.
    bool WriteOrReport(std::string_view key, const std::string& value);
    bool WriteYesNo(std::string_view key, const QCheckBox& box);
    // Whether the stored option key (byDefault when missing) reads as yes.
    bool StoredYes(std::string_view key, std::string_view byDefault) const;
    void ReadStoredTime(QTimeEdit& picker, std::string_view key);
    // The skins of the skin folders, a name in two of them once (the first folder's file is the
    // one used), with the stored one selected (letter case ignored) or none.
    void FillSkinList();
    void FillLanguageList();
    // The file of the skin name: in the first skin folder that has it.
    QString SkinFile(const QString& name) const;
    // Switches sd1 off and, when chktskn is ticked, on again with the chosen skin.
    void SwitchSkin();

    platform::ProgramPlace place_;
    SetupOwner& owner_;
    Prompts& prompts_;
};

}  // namespace vardo
