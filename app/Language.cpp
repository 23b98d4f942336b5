#include "Language.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>

#include "SettingsStore.h"
#include "SystemServices.h"

namespace vardo {

namespace {

const QString kCatalogue = QStringLiteral("vardo");

// "en-US" and "en_US" alike; Qt's uiLanguages uses the dash.
QString Normalised(QString name) {
    return name.replace(QLatin1Char('-'), QLatin1Char('_')).trimmed();
}

bool IsSourceLanguage(const QString& name) {
    return name.compare(QLatin1String("zh"), Qt::CaseInsensitive) == 0 ||
           name.startsWith(QLatin1String("zh_"), Qt::CaseInsensitive);
}

// The available translation that serves name: itself, else its language without the region
// ("en" for "en_GB"); empty when none does.
QString Matching(const QString& name, const QStringList& available) {
    if (available.contains(name)) return name;
    const QString language = name.section(QLatin1Char('_'), 0, 0);
    if (available.contains(language)) return language;
    return {};
}

QString ExecutableFolder() {
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    return QFileInfo(QString::fromStdString(platform::ProgramFilePath())).absolutePath();
}

}  // namespace

QString ChooseTranslation(const QString& setting, const QStringList& preferred,
                          const QStringList& available) {
    const QString chosen = Normalised(setting);
    if (!chosen.isEmpty())
        return IsSourceLanguage(chosen) ? QString() : Matching(chosen, available);
    for (const QString& entry : preferred) {
        const QString name = Normalised(entry);
        if (IsSourceLanguage(name)) return {};
        if (QString match = Matching(name, available); !match.isEmpty()) return match;
    }
    return {};
}

QStringList TranslationFolders() {
    QStringList folders{ExecutableFolder() + QStringLiteral("/translations")};
#if VARDO_INSTALLED
    folders << QStringLiteral(VARDO_SHARED_TRANSLATIONS);
#endif
    return folders;
}

QStringList AvailableTranslations(const QStringList& folders) {
    QStringList languages;
    const QString prefix = kCatalogue + QLatin1Char('_');
    for (const QString& folder : folders) {
        const QStringList files =
            QDir(folder).entryList({prefix + QStringLiteral("*.qm")}, QDir::Files);
        for (const QString& file : files) {
            const QString language = QFileInfo(file).completeBaseName().mid(prefix.size());
            if (!language.isEmpty() && !languages.contains(language)) languages << language;
        }
    }
    return languages;
}

std::unique_ptr<QTranslator> LoadTranslation(const QString& setting, const QStringList& folders) {
    const QString language =
        ChooseTranslation(setting, QLocale::system().uiLanguages(), AvailableTranslations(folders));
    if (language.isEmpty()) return nullptr;
    auto translator = std::make_unique<QTranslator>();
    for (const QString& folder : folders) {
        if (translator->load(kCatalogue + QLatin1Char('_') + language, folder)) return translator;
    }
    return nullptr;
}

QStringList QtTranslationFolders(const QStringList& folders) {
    return QStringList(folders) << QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

std::unique_ptr<QTranslator> LoadQtTranslation(const QString& language,
                                               const QStringList& folders) {
    auto translator = std::make_unique<QTranslator>();
    for (const QString& folder : folders) {
        if (translator->load(QStringLiteral("qtbase_") + language, folder)) return translator;
    }
    return nullptr;
}

ProgramTranslation::ProgramTranslation(const QString& setting, const QStringList& folders)
    : translator_(LoadTranslation(setting, folders)),
      qtTranslator_(LoadQtTranslation(translator_ ? translator_->language() : kSourceLanguage,
                                      QtTranslationFolders(folders))) {
    for (QTranslator* translator : {translator_.get(), qtTranslator_.get()}) {
        if (translator) QCoreApplication::installTranslator(translator);
    }
}

ProgramTranslation::~ProgramTranslation() {
    for (QTranslator* translator : {translator_.get(), qtTranslator_.get()}) {
        if (translator) QCoreApplication::removeTranslator(translator);
    }
}

QString ProgramTranslation::Language() const {
    return translator_ ? translator_->language() : QString();
}

QString StoredLanguage(const std::string& settingsFile) {
    return QString::fromStdString(ReadSetting(settingsFile, kSettingsSection, kLanguageKey));
}

std::string CommandLineText(const char* context, std::string_view source) {
    const std::string wording(source);
    const std::unique_ptr<QTranslator> translator = LoadTranslation({});
    const QString text = translator ? translator->translate(context, wording.c_str()) : QString();
    return text.isEmpty() ? wording : text.toStdString();
}

std::string CommandLineText(const OperatorText& text) {
    return FillArguments(CommandLineText(text.context, text.wording), text.arguments);
}

}  // namespace vardo
