// Which translation the program loads: the language setting, the locale's preferences, and the
// translation files there are.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "Language.h"

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

}  // namespace
}  // namespace vardo::test

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
