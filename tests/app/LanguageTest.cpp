// Which translation the program loads: the language setting, the locale's preferences, and the
// translation files there are.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTranslator>

#include "HistoryFile.h"
#include "Language.h"
#include "TimeText.h"
#include "TimetableFile.h"
#include "TranslatedText.h"

namespace vardo::test {
namespace {

const QStringList kEnglish{"en"};

TEST(ChooseTranslation, Setting_WinsOverTheLocale) {
    EXPECT_EQ(ChooseTranslation("en", {"zh-CN", "zh"}, kEnglish), "en");
    EXPECT_EQ(ChooseTranslation("zh_CN", {"en-US", "en"}, kEnglish), "");
    // A region of a language we have gives that language.
    EXPECT_EQ(ChooseTranslation("en_GB", {"zh-CN"}, kEnglish), "en");
    EXPECT_EQ(ChooseTranslation(" en ", {}, kEnglish), "en");
}

TEST(ChooseTranslation, SettingWithoutATranslation_GivesChinese) {
    EXPECT_EQ(ChooseTranslation("fr", {"en-US", "en"}, kEnglish), "");
    EXPECT_EQ(ChooseTranslation("en", {"en-US"}, {}), "");
}

TEST(ChooseTranslation, EmptySetting_FollowsTheLocalesFirstLanguageWeSpeak) {
    EXPECT_EQ(ChooseTranslation("", {"en-US", "en"}, kEnglish), "en");
    EXPECT_EQ(ChooseTranslation("", {"de-DE", "de", "en-GB", "en"}, kEnglish), "en");
    // Chinese ahead of English in the preferences: the program stays Chinese.
    EXPECT_EQ(ChooseTranslation("", {"zh-Hans-CN", "zh-CN", "en"}, kEnglish), "");
    EXPECT_EQ(ChooseTranslation("", {"zh-TW", "en"}, kEnglish), "");
}

TEST(ChooseTranslation, LocaleNamingNoTranslation_GivesChinese) {
    EXPECT_EQ(ChooseTranslation("", {"C"}, kEnglish), "");
    EXPECT_EQ(ChooseTranslation("", {"fr-FR", "fr"}, kEnglish), "");
    EXPECT_EQ(ChooseTranslation("", {}, kEnglish), "");
}

TEST(AvailableTranslations, NamesEachLanguageOnceAcrossTheFolders) {
    QTemporaryDir first;
    QTemporaryDir second;
    for (const QString& file : {first.filePath("vardo_en.qm"), first.filePath("vardo_de.qm"),
                                first.filePath("other_fr.qm"), first.filePath("vardo_en.ts"),
                                second.filePath("vardo_en.qm")}) {
        QFile(file).open(QIODevice::WriteOnly);
    }
    QStringList languages =
        AvailableTranslations({first.path(), second.path(), first.filePath("missing")});
    languages.sort();
    EXPECT_EQ(languages, QStringList({"de", "en"}));
}

// The built translation beside a copy of the executable's folder layout: loaded for "en", none for
// Chinese, and a translation file that is no translation is refused, leaving Chinese.
TEST(ProgramTranslation, LoadsTheBuiltEnglishBesideTheExecutable) {
    const QString folder = QCoreApplication::applicationDirPath() + "/translations";
    QDir().mkpath(folder);
    const QString built = QString(VARDO_TRANSLATIONS_DIR) + "/vardo_en.qm";
    ASSERT_TRUE(QFile::exists(built))
        << "the built translation is missing: " << built.toStdString();
    QFile::remove(folder + "/vardo_en.qm");
    ASSERT_TRUE(QFile::copy(built, folder + "/vardo_en.qm"));
    {
        const ProgramTranslation english("en");
        EXPECT_EQ(english.Language(), "en");
        EXPECT_EQ(QCoreApplication::translate("vardo::TFrmMain", "进入编辑状态"), "Edit table");
    }
    EXPECT_EQ(QCoreApplication::translate("vardo::TFrmMain", "进入编辑状态"), "进入编辑状态");
    {
        const ProgramTranslation chinese("zh_CN");
        EXPECT_EQ(chinese.Language(), "");
    }

    QFile damaged(folder + "/vardo_en.qm");
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("not a translation");
    damaged.close();
    const ProgramTranslation refused("en");
    EXPECT_EQ(refused.Language(), "");
    EXPECT_EQ(QCoreApplication::translate("vardo::TFrmMain", "进入编辑状态"), "进入编辑状态");
    QDir(folder).removeRecursively();
}

// The texts of the Qt-free layers in English: a problem with its argument, and a history line whose
// event and bracket are translated while its time, subject and description stay as written.
TEST(TranslatedText, TheCoresTextsShowInEnglishAndTheLinesKeepTheirSubject) {
    const std::string started = HistoryLineText("08:00:00", kStartEventText, "/bin/echo", "新闻");
    const std::string loaded = "  08:00:01" + std::string(kTableLoadedNoticeText) +
                               "/srv/Data/星期一.tab " + std::string(kSubjectEnd);
    const std::string other = "  08:00:02 未保存的修改已另存为：/srv/Data/a.tab";
    const OperatorText cut = TimetableTextProblem("  1^^/bin/true^^\r\n");
    // Without a translation every text shows as written.
    EXPECT_EQ(ShownHistoryLine(started).toStdString(), started);
    EXPECT_EQ(Translated(cut).toStdString(), "第1行不完整");

    QTranslator english;
    const QString file = QString(VARDO_TRANSLATIONS_DIR) + "/vardo_en.qm";
    ASSERT_TRUE(english.load(file)) << "the built translation is missing: " << file.toStdString();
    QCoreApplication::installTranslator(&english);
    EXPECT_EQ(Translated(cut), "line 1 is incomplete");
    EXPECT_EQ(Translated(Verbatim("Read-only file system")), "Read-only file system");
    EXPECT_EQ(Translated(kWeekdayTextContext, kWeekdayNames[1]), "Mon");
    EXPECT_EQ(ShownHistoryLine(started), "  08:00:00 Started: [/bin/echo ]  新闻");
    EXPECT_EQ(ShownHistoryLine(loaded), "  08:00:01 Timetable loaded: [/srv/Data/星期一.tab ]");
    EXPECT_EQ(ShownHistoryLine(other).toStdString(), other);
    for (const std::string& cutShort :
         {std::string(), std::string("  08:00"), started.substr(0, 14)})
        EXPECT_EQ(ShownHistoryLine(cutShort).toStdString(), cutShort);
    QCoreApplication::removeTranslator(&english);
}

}  // namespace
}  // namespace vardo::test

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
