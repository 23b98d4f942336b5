#include "uParaSet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimeEdit>

#include "AutoStart.h"
#include "Language.h"
#include "MyShape.h"
#include "Prompts.h"
#include "QtText.h"
#include "SettingsStore.h"
#include "TimeText.h"

namespace vardo {

namespace {

constexpr std::string_view kSection = kSettingsSection;
constexpr const char* kAutoStartName = "AutoTask";
constexpr int kMinDegree = 128;
constexpr int kMaxDegree = 255;

int SecondsOfDay(const QTime& time) {
    return time.msecsSinceStartOfDay() / 1000;
}

QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const QString& caption, bool ticked,
                        QRect geometry) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setChecked(ticked);
    box->setGeometry(geometry);
    return box;
}

QTimeEdit* MakeTimePicker(QWidget* parent, const char* name, QTime time, QRect geometry) {
    auto* picker = new QTimeEdit(time, parent);
    picker->setObjectName(name);
    picker->setDisplayFormat("HH:mm:ss");
    picker->setGeometry(geometry);
    return picker;
}

}  // namespace

TFrmSetup::TFrmSetup(const platform::ProgramPlace& place, SetupOwner& owner, Prompts& prompts,
                     QWidget* parent)
    : QDialog(parent), place_(place), owner_(owner), prompts_(prompts) {
    setObjectName("FrmSetup");
    setWindowTitle(tr("系统参数设置"));
    setFixedSize(475, 266);
    QPalette navy = palette();
    navy.setColor(QPalette::WindowText, Qt::darkBlue);
    navy.setColor(QPalette::Text, Qt::darkBlue);
    setPalette(navy);
    BuildControls();
    ConnectHandlers();
}

void TFrmSetup::BuildControls() {
    // Yellow outlined text on the shape's own blue.
    MyShape2 = new TMyShape(this);
    MyShape2->setObjectName("MyShape2");
    MyShape2->setGeometry(8, 6, 459, 34);
    MyShape2->SetCaption("Vardo Version 2.0");
    MyShape2->SetFontColor(clYellow);
    MyShape2->SetFontSize(9);
    MyShape2->SetbkTransParent(false);

    auto* group = new QGroupBox(tr(" 参数设置 "), this);
    group->setObjectName("GroupBox1");
    group->setGeometry(8, 44, 459, 178);

    chkMin = MakeCheckBox(group, "chkMin", tr("开机最小化"), true, {12, 20, 140, 20});
    chkAutoStart =
        MakeCheckBox(group, "chkAutoStart", tr("开机自动启动系统"), true, {160, 20, 140, 20});
    chkSure = MakeCheckBox(group, "chkSure", tr("退出系统时提示确认"), false, {308, 20, 145, 20});
    chkSaveHis = MakeCheckBox(group, "chkSaveHis", tr("记录运行历史"), true, {12, 46, 140, 20});
    chkShutTask =
        MakeCheckBox(group, "chkShutTask", tr("退出时关闭任务"), true, {160, 46, 140, 20});
    chkTransparent =
        MakeCheckBox(group, "chkTransparent", tr("使用透明显示[XP]"), false, {12, 72, 140, 20});

    auto* transparentLabel = new QLabel(tr("透明度"), group);
    transparentLabel->setGeometry(160, 72, 48, 20);
    tkTransparent = new QSlider(Qt::Horizontal, group);
    tkTransparent->setObjectName("tkTransparent");
    tkTransparent->setRange(kMinDegree, kMaxDegree);
    tkTransparent->setTickPosition(QSlider::NoTicks);
    tkTransparent->setValue(kMinDegree);
    tkTransparent->setGeometry(210, 72, 240, 20);

    chkAutoShutDown =
        MakeCheckBox(group, "chkAutoShutDown", tr("自动关闭电脑时间"), false, {12, 100, 140, 20});
    TimePicker = MakeTimePicker(group, "TimePicker", QTime(3, 0, 0), {160, 98, 100, 22});
    chkLoadTime =
        MakeCheckBox(group, "chkLoadTime", tr("自动装入节目时间"), true, {12, 126, 140, 20});
    chkLoadTime->setToolTip(tr("有三级优先节目：YYYY-MM-DD.tab，星期X.tab，任务计划表.tab"));
    loadTimePicker = MakeTimePicker(group, "loadTimePicker", QTime(6, 0, 0), {160, 124, 100, 22});

    chktskn = MakeCheckBox(group, "chktskn", tr("换肤"), false, {12, 152, 60, 20});
    auto* skinLabel = new QLabel(tr("风格："), group);
    skinLabel->setGeometry(80, 152, 40, 20);
    cbskn = new QComboBox(group);
    cbskn->setObjectName("cbskn");
    cbskn->setGeometry(120, 150, 180, 22);

    auto* languageLabel = new QLabel(tr("语言："), group);
    languageLabel->setGeometry(304, 152, 66, 20);
    cbLanguage = new QComboBox(group);
    cbLanguage->setObjectName("cbLanguage");
    cbLanguage->setGeometry(370, 150, 80, 22);
    cbLanguage->setToolTip(tr("下次启动时使用所选的语言"));

    btnClose = new QPushButton(tr("关闭窗口"), this);
    btnClose->setObjectName("btnClose");
    btnClose->setGeometry(376, 230, 90, 26);
}

void TFrmSetup::ConnectHandlers() {
    connect(chkMin, &QCheckBox::toggled, this, &TFrmSetup::chkMinClick);
    connect(chkAutoStart, &QCheckBox::toggled, this, &TFrmSetup::chkAutoStartClick);
    connect(chkSure, &QCheckBox::toggled, this, &TFrmSetup::chkSureClick);
    connect(chkSaveHis, &QCheckBox::toggled, this, &TFrmSetup::chkSaveHisClick);
    connect(chkShutTask, &QCheckBox::toggled, this, &TFrmSetup::chkShutTaskClick);
    connect(chkTransparent, &QCheckBox::toggled, this, &TFrmSetup::chkTransparentClick);
    connect(tkTransparent, &QSlider::valueChanged, this, &TFrmSetup::tkTransparentChange);
    connect(chkAutoShutDown, &QCheckBox::toggled, this, &TFrmSetup::chkAutoShutDownClick);
    connect(TimePicker, &QTimeEdit::timeChanged, this, &TFrmSetup::TimePickerChange);
    connect(chkLoadTime, &QCheckBox::toggled, this, &TFrmSetup::chkLoadTimeClick);
    connect(loadTimePicker, &QTimeEdit::timeChanged, this, &TFrmSetup::loadTimePickerChange);
    connect(chktskn, &QCheckBox::toggled, this, &TFrmSetup::chktsknClick);
    connect(cbskn, &QComboBox::currentIndexChanged, this, &TFrmSetup::cbsknChange);
    connect(cbLanguage, &QComboBox::currentIndexChanged, this, &TFrmSetup::cbLanguageChange);
    connect(btnClose, &QPushButton::clicked, this, &TFrmSetup::btnCloseClick);
}

// The order matters: a check box set to a state other than its design state runs its click
// handler, which writes the value back and applies its side effect now.
void TFrmSetup::FormCreate() {
    chkAutoStart->setChecked(platform::RegReadEquals(kAutoStartName, place_.programFile));
    chkAutoShutDown->setChecked(StoredYes("chkAutoShutDown", "NO"));
    ReadStoredTime(*TimePicker, "TimePicker");
    ReadStoredTime(*loadTimePicker, "loadTimePicker");
    owner_.SetAutoShutDownSeconds(SecondsOfDay(TimePicker->time()));
    owner_.SetAutoLoadSeconds(SecondsOfDay(loadTimePicker->time()));
    chkLoadTime->setChecked(StoredYes("chkLoadTime", "NO"));
    chkMin->setChecked(StoredYes("chkMin", "NO"));
    chkShutTask->setChecked(StoredYes("chkShutTask", "YES"));
    chkSure->setChecked(StoredYes("chkSure", "NO"));
    chkSaveHis->setChecked(StoredYes("chkSaveHis", "NO"));
    {
        const QSignalBlocker detached(tkTransparent);
        tkTransparent->setValue(ReadTransDegree(place_.settingsFile, kSection, "TransDegree"));
    }
    chkTransparent->setChecked(StoredYes("chkTransparent", "NO"));
    FillSkinList();
    chktskn->setChecked(StoredYes("chktskn", "NO"));
    FillLanguageList();
}

bool TFrmSetup::StoredYes(std::string_view key, std::string_view byDefault) const {
    return IsYes(ReadSettingDef(place_.settingsFile, kSection, key, byDefault));
}

// Loading a stored time is not an operator's change: the picker's change handler stays quiet.
void TFrmSetup::ReadStoredTime(QTimeEdit& picker, std::string_view key) {
    const std::optional<int> seconds = ReadSettingTime(place_.settingsFile, kSection, key);
    if (!seconds) return;
    const QSignalBlocker detached(&picker);
    picker.setTime(QTime::fromMSecsSinceStartOfDay(*seconds * 1000));
}

void TFrmSetup::FillSkinList() {
    const QString stored = ToQString(ReadSetting(place_.settingsFile, kSection, "cbskn"));
    const QSignalBlocker detached(cbskn);
    cbskn->clear();
    for (const std::string& folder : place_.skinFolders) {
        for (const QString& name : ListFiles(ToQString(folder), "skn")) {
            if (cbskn->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0) {
                cbskn->addItem(name);
            }
        }
    }
    cbskn->setCurrentIndex(stored.isEmpty() ? -1 : cbskn->findText(stored, Qt::MatchFixedString));
}

// The languages offered, by their own names; a stored language that is not offered is listed as
// stored, so that the dialog shows it and leaves it unless the operator chooses another.
void TFrmSetup::FillLanguageList() {
    const QString stored = StoredLanguage(place_.settingsFile);
    const QSignalBlocker detached(cbLanguage);
    cbLanguage->clear();
    cbLanguage->addItem(tr("跟随系统"), QString());
    cbLanguage->addItem(QStringLiteral("中文"), kSourceLanguage);
    cbLanguage->addItem(QStringLiteral("English"), QStringLiteral("en"));
    if (cbLanguage->findData(stored) < 0) cbLanguage->addItem(stored, stored);
    cbLanguage->setCurrentIndex(cbLanguage->findData(stored));
}

bool TFrmSetup::WriteOrReport(std::string_view key, const std::string& value) {
    try {
        WriteSetting(place_.settingsFile, kSection, key, value);
        return true;
    } catch (const SettingsWriteError& error) {
        prompts_.ShowError(this, ToQString(error.Report()));
        return false;
    }
}

bool TFrmSetup::WriteYesNo(std::string_view key, const QCheckBox& box) {
    return WriteOrReport(key, std::string(YesNoText(box.isChecked())));
}

void TFrmSetup::chkMinClick() {
    WriteYesNo("chkMin", *chkMin);
}
void TFrmSetup::chkSureClick() {
    WriteYesNo("chkSure", *chkSure);
}
void TFrmSetup::chkShutTaskClick() {
    WriteYesNo("chkShutTask", *chkShutTask);
}
void TFrmSetup::chkSaveHisClick() {
    WriteYesNo("chkSaveHis", *chkSaveHis);
}
void TFrmSetup::chkAutoShutDownClick() {
    WriteYesNo("chkAutoShutDown", *chkAutoShutDown);
}
void TFrmSetup::chkLoadTimeClick() {
    WriteYesNo("chkLoadTime", *chkLoadTime);
}

void TFrmSetup::chkAutoStartClick() {
    if (chkAutoStart->isChecked()) {
        platform::RegWriteText(kAutoStartName, place_.programFile);
    } else {
        platform::RegDeleteName(kAutoStartName);
    }
}

void TFrmSetup::chkTransparentClick() {
    if (!WriteYesNo("chkTransparent", *chkTransparent)) return;
    owner_.ApplyTransparency(tkTransparent->value());
}

void TFrmSetup::tkTransparentChange() {
    const QSignalBlocker detached(tkTransparent);
    const int degree = tkTransparent->value();
    owner_.ApplyTransparency(degree);
    WriteOrReport("TransDegree", std::to_string(degree));
}

void TFrmSetup::TimePickerChange() {
    const int seconds = SecondsOfDay(TimePicker->time());
    if (!WriteOrReport("TimePicker", LongTimeText(seconds))) return;
    owner_.SetAutoShutDownSeconds(seconds);
}

void TFrmSetup::loadTimePickerChange() {
    const int seconds = SecondsOfDay(loadTimePicker->time());
    if (!WriteOrReport("loadTimePicker", LongTimeText(seconds))) return;
    owner_.SetAutoLoadSeconds(seconds);
}

void TFrmSetup::SwitchSkin() {
    owner_.SwitchSkin(chktskn->isChecked(), SkinFile(cbskn->currentText()));
}

QString TFrmSetup::SkinFile(const QString& name) const {
    for (const std::string& folder : place_.skinFolders) {
        const QString file = ToQString(folder) + name;
        if (QFileInfo::exists(file)) return file;
    }
    return ToQString(place_.skinFolders.front()) + name;
}

void TFrmSetup::cbsknChange() {
    if (!WriteOrReport("cbskn", cbskn->currentText().toStdString())) return;
    SwitchSkin();
}

void TFrmSetup::chktsknClick() {
    if (!WriteYesNo("chktskn", *chktskn)) return;
    SwitchSkin();
    cbskn->setEnabled(chktskn->isChecked());
}

void TFrmSetup::cbLanguageChange() {
    WriteOrReport(kLanguageKey, cbLanguage->currentData().toString().toStdString());
}

void TFrmSetup::btnCloseClick() {
    hide();
}

QStringList TFrmSetup::ListFiles(const QString& folder, const QString& extension) {
    const QDir dir(folder, "*." + extension, QDir::Unsorted,
                   QDir::AllEntries | QDir::Hidden | QDir::System);
    return dir.entryList();
}

}  // namespace vardo
