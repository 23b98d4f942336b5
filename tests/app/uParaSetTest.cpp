#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <fstream>
#include <sstream>

#include "AutoStart.h"
#include "ScriptedPrompts.h"
#include "TempFolder.h"
#include "uParaSet.h"

namespace vardo::test {
namespace {

struct RecordingOwner final : SetupOwner {
    // The skin switches asked for: on or off, and the skin file.
    std::vector<std::pair<bool, QString>> skinSwitches;
    int shutDownSeconds = -1;
    int loadSeconds = -1;
    std::vector<int> appliedDegrees;
    void SetAutoShutDownSeconds(int seconds) override { shutDownSeconds = seconds; }
    void SetAutoLoadSeconds(int seconds) override { loadSeconds = seconds; }
    void ApplyTransparency(int degree) override { appliedDegrees.push_back(degree); }
    void SwitchSkin(bool on, const QString& skinFile) override {
        skinSwitches.emplace_back(on, skinFile);
    }
};

class SettingsDialogTest : public ::testing::Test {
  protected:
    SettingsDialogTest() { qputenv("XDG_CONFIG_HOME", (folder_.path() + "/config").toUtf8()); }

    QString ProgramFile() const { return folder_.path() + "/vardo"; }
    std::string SettingsPath() const { return (folder_.path() + "/VARDO.INI").toStdString(); }

    void WriteSettings(const std::string& keys) {
        std::ofstream(SettingsPath(), std::ios::binary) << "[START]\r\n" << keys;
    }
    std::string Settings() const {
        std::ifstream file(SettingsPath(), std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    std::unique_ptr<TFrmSetup> Create() {
        return Create(platform::PortablePlace(ProgramFile().toStdString()));
    }
    std::unique_ptr<TFrmSetup> Create(const platform::ProgramPlace& place) {
        auto dialog = std::make_unique<TFrmSetup>(place, owner_, prompts_);
        dialog->FormCreate();
        return dialog;
    }

    QTemporaryDir folder_;
    RecordingOwner owner_;
    ScriptedPrompts prompts_;
};

TEST_F(SettingsDialogTest, FormCreate_NoSettingsFile_WritesWhatDiffersFromTheDesign) {
    const auto dialog = Create();

    EXPECT_EQ(Settings(), "[START]\r\nchkLoadTime=NO\r\nchkMin=NO\r\nchkSaveHis=NO\r\n");
    EXPECT_FALSE(dialog->chkAutoStart->isChecked());
    EXPECT_TRUE(dialog->chkShutTask->isChecked());
    EXPECT_EQ(dialog->TimePicker->time(), QTime(3, 0, 0));
    EXPECT_EQ(dialog->loadTimePicker->time(), QTime(6, 0, 0));
    EXPECT_EQ(owner_.shutDownSeconds, 3 * 3600);
    EXPECT_EQ(owner_.loadSeconds, 6 * 3600);
    EXPECT_EQ(dialog->tkTransparent->value(), 255);
    EXPECT_TRUE(owner_.appliedDegrees.empty());
    EXPECT_EQ(dialog->cbskn->currentIndex(), -1);
    EXPECT_EQ(dialog->windowTitle(), "系统参数设置");
    EXPECT_EQ(dialog->size(), QSize(475, 266));
}

TEST_F(SettingsDialogTest, FormCreate_StoredTimes_NormalisedIntoThePickersWithoutWriting) {
    WriteSettings("TimePicker=7:5:0\r\nloadTimePicker=25:00:00\r\n");
    const auto dialog = Create();

    EXPECT_EQ(dialog->TimePicker->time(), QTime(7, 5, 0));
    EXPECT_EQ(owner_.shutDownSeconds, 7 * 3600 + 5 * 60);
    EXPECT_EQ(dialog->loadTimePicker->time(), QTime(6, 0, 0));
    EXPECT_NE(Settings().find("TimePicker=7:5:0\r\n"), std::string::npos);
}

TEST_F(SettingsDialogTest, TimePickerChange_WritesTheLongTimeFormat) {
    const auto dialog = Create();
    dialog->TimePicker->setTime(QTime(15, 30, 0));
    dialog->loadTimePicker->setTime(QTime(5, 4, 3));

    EXPECT_NE(Settings().find("TimePicker=15:30:00\r\n"), std::string::npos);
    EXPECT_NE(Settings().find("loadTimePicker=5:04:03\r\n"), std::string::npos);
    EXPECT_EQ(owner_.shutDownSeconds, 15 * 3600 + 30 * 60);
    EXPECT_EQ(owner_.loadSeconds, 5 * 3600 + 4 * 60 + 3);
}

TEST_F(SettingsDialogTest, FormCreate_StoredTransparency_AppliesTheStoredDegree) {
    WriteSettings("chkTransparent=YES\r\nTransDegree=300\r\n");
    const auto dialog = Create();

    EXPECT_EQ(dialog->tkTransparent->value(), 128);
    EXPECT_EQ(owner_.appliedDegrees, std::vector<int>{128});
}

TEST_F(SettingsDialogTest, TrackBar_Moved_AppliesAndStoresTheDegree) {
    const auto dialog = Create();
    dialog->tkTransparent->setValue(200);

    EXPECT_EQ(owner_.appliedDegrees, std::vector<int>{200});
    EXPECT_NE(Settings().find("TransDegree=200\r\n"), std::string::npos);
}

TEST_F(SettingsDialogTest, AutoStart_EntryForAnotherPath_IsUntickedAndRemoved) {
    ASSERT_TRUE(platform::RegWriteText("AutoTask", ProgramFile().toUpper().toStdString()));
    const std::string entry = platform::AutoStartEntryPath("AutoTask");
    const auto dialog = Create();

    EXPECT_FALSE(dialog->chkAutoStart->isChecked());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(entry)));

    dialog->chkAutoStart->setChecked(true);
    EXPECT_TRUE(platform::RegReadEquals("AutoTask", ProgramFile().toStdString()));
}

TEST_F(SettingsDialogTest, AutoStart_EntryForThisProgram_StaysTicked) {
    ASSERT_TRUE(platform::RegWriteText("AutoTask", ProgramFile().toStdString()));
    const auto dialog = Create();

    EXPECT_TRUE(dialog->chkAutoStart->isChecked());
    EXPECT_TRUE(platform::RegReadEquals("AutoTask", ProgramFile().toStdString()));
}

TEST_F(SettingsDialogTest, Skins_ListedAndStoredChoiceSelectedIgnoringCase) {
    QDir(folder_.path()).mkpath("Skins");
    for (const char* name : {"Blue.skn", "Green.skn", "notes.txt"}) {
        QFile(folder_.path() + "/Skins/" + name).open(QIODevice::WriteOnly);
    }
    WriteSettings("cbskn=GREEN.SKN\r\n");
    const auto dialog = Create();

    QStringList items;
    for (int i = 0; i < dialog->cbskn->count(); ++i) items << dialog->cbskn->itemText(i);
    items.sort();
    EXPECT_EQ(items, QStringList({"Blue.skn", "Green.skn"}));
    EXPECT_EQ(dialog->cbskn->currentText(), "Green.skn");
    EXPECT_EQ(Settings().find("cbskn=Green"), std::string::npos);

    dialog->chktskn->setChecked(true);
    dialog->cbskn->setCurrentIndex(dialog->cbskn->findText("Blue.skn"));
    EXPECT_NE(Settings().find("chktskn=YES\r\n"), std::string::npos);
    EXPECT_NE(Settings().find("cbskn=Blue.skn\r\n"), std::string::npos);
    const QString skins = folder_.path() + "/Skins/";
    ASSERT_EQ(owner_.skinSwitches.size(), 2u);
    EXPECT_EQ(owner_.skinSwitches[0], std::pair(true, skins + "Green.skn"));
    EXPECT_EQ(owner_.skinSwitches[1], std::pair(true, skins + "Blue.skn"));
    dialog->chktskn->setChecked(false);
    EXPECT_FALSE(owner_.skinSwitches.back().first);
    EXPECT_FALSE(dialog->cbskn->isEnabled());
}

// The installed program: the operator's folder under XDG_DATA_HOME, then the shipped skins.
TEST_F(SettingsDialogTest,
       Installed_SkinsOfBothFolders_TheOperatorsOwnWinsAName_AutoStartRunsTheCommand) {
    const QString data = folder_.path() + "/data";
    const QString shipped = folder_.path() + "/shipped/";
    qputenv("XDG_DATA_HOME", data.toUtf8());
    const QString own = data + "/vardo/Skins/";
    QDir().mkpath(own);
    QDir().mkpath(shipped);
    for (const QString& file : {own + "Console.skn", own + "Mine.skn", shipped + "Console.skn",
                                shipped + "Daylight.skn"}) {
        QFile(file).open(QIODevice::WriteOnly);
    }
    const platform::ProgramPlace place =
        platform::InstalledPlace("/usr/bin/vardo", shipped.toStdString());
    std::ofstream(place.settingsFile, std::ios::binary)
        << "[START]\r\ncbskn=console.skn\r\nchktskn=YES\r\n";
    const auto dialog = Create(place);
    qunsetenv("XDG_DATA_HOME");

    QStringList items;
    for (int i = 0; i < dialog->cbskn->count(); ++i) items << dialog->cbskn->itemText(i);
    items.sort();
    EXPECT_EQ(items, QStringList({"Console.skn", "Daylight.skn", "Mine.skn"}));
    // The stored skin is switched on at once, from the operator's own folder.
    dialog->cbskn->setCurrentIndex(dialog->cbskn->findText("Daylight.skn"));
    ASSERT_EQ(owner_.skinSwitches.size(), 2u);
    EXPECT_EQ(owner_.skinSwitches[0], std::pair(true, own + "Console.skn"));
    EXPECT_EQ(owner_.skinSwitches[1], std::pair(true, shipped + "Daylight.skn"));
    EXPECT_NE(ReadBytes(place.settingsFile).find("cbskn=Daylight.skn\r\n"), std::string::npos);

    dialog->chkAutoStart->setChecked(true);
    EXPECT_TRUE(platform::RegReadEquals("AutoTask", "/usr/bin/vardo"));
}

// The settings path is a folder: no write can succeed, whoever runs the test.
TEST_F(SettingsDialogTest, SettingsUnwritable_ShowsUnableToWriteAndKeepsTheNewState) {
    QDir(folder_.path()).mkpath("VARDO.INI");
    const auto dialog = Create();
    prompts_.errors.clear();

    dialog->chkSure->setChecked(true);
    ASSERT_EQ(prompts_.errors.size(), 1);
    EXPECT_EQ(prompts_.errors[0],
              "Unable to write to " + QString::fromStdString(SettingsPath()) + "\nIs a directory");
    EXPECT_TRUE(dialog->chkSure->isChecked());

    owner_.appliedDegrees.clear();
    dialog->chkTransparent->setChecked(true);
    EXPECT_EQ(prompts_.errors.size(), 2);
    EXPECT_TRUE(owner_.appliedDegrees.empty());
}

TEST_F(SettingsDialogTest, CloseButton_HidesTheDialog) {
    const auto dialog = Create();
    dialog->show();
    dialog->btnClose->click();
    EXPECT_FALSE(dialog->isVisible());
}

}  // namespace
}  // namespace vardo::test
