#pragma once

#include <QString>
#include <QStringList>
#include <QTranslator>
#include <memory>
#include <string>
#include <string_view>

#include "OperatorText.h"

class QCoreApplication;

namespace vardo {

// The settings key that chooses the language: "zh_CN", "en", or empty to follow the locale.
inline constexpr char kLanguageKey[] = "Language";
// The language the program's texts are written in: it needs no translation file.
inline const QString kSourceLanguage = QStringLiteral("zh_CN");

// The translation to load for a language setting, given the languages the locale prefers (as
// QLocale::uiLanguages lists them) and the translations there are ("en"). A setting wins over the
// locale; of the locale's languages the first that is Chinese or has a translation wins. Empty
// means the source language: for Chinese, and where nothing matches.
QString ChooseTranslation(const QString& setting, const QStringList& preferred,
                          const QStringList& available);

// The folders searched for translations, first to last: translations/ beside the executable, then
// the installed program's shared folder.
QStringList TranslationFolders();
// The languages of the translation files in the folders ("en" for vardo_en.qm), without repeats.
QStringList AvailableTranslations(const QStringList& folders);

// The translator for a language setting, loaded from the first of folders that has the file; null
// for the source language, or when no file could be loaded. Works before an application exists.
std::unique_ptr<QTranslator> LoadTranslation(const QString& setting,
                                             const QStringList& folders = TranslationFolders());

// The folders searched for Qt's own translations: the program's folders (a portable program
// ships them there), then Qt's own.
QStringList QtTranslationFolders(const QStringList& folders = TranslationFolders());

// Qt's own texts (the standard buttons, the file dialog, an edit's menu) in a language ("zh_CN",
// "en"), loaded from the first of folders that has them; null where none has them, and Qt shows
// its own English.
std::unique_ptr<QTranslator> LoadQtTranslation(const QString& language,
                                               const QStringList& folders = QtTranslationFolders());

// Loads the translation for the setting, and Qt's own texts in the same language, into the
// application and keeps them while the object lives. Language() is the loaded translation's
// language, empty for the source language.
class ProgramTranslation {
  public:
    explicit ProgramTranslation(const QString& setting,
                                const QStringList& folders = TranslationFolders());
    ~ProgramTranslation();
    ProgramTranslation(const ProgramTranslation&) = delete;
    ProgramTranslation& operator=(const ProgramTranslation&) = delete;

    QString Language() const;
    // Whether Qt's own texts speak the program's language: false where Qt's translation for it is
    // not installed (for Chinese, Debian's qt6-translations-l10n) and Qt shows English.
    bool QtTextsTranslated() const { return qtTranslator_ != nullptr; }

  private:
    std::unique_ptr<QTranslator> translator_;
    std::unique_ptr<QTranslator> qtTranslator_;
};

// The language setting stored in the settings file, as QString.
QString StoredLanguage(const std::string& settingsFile);

// A text of the command-line tools in the locale's language: source is the Chinese text as marked
// with QT_TRANSLATE_NOOP (or VARDO_TEXT) in context.
std::string CommandLineText(const char* context, std::string_view source);
// A text of the Qt-free layers with its arguments, for the command-line tools.
std::string CommandLineText(const OperatorText& text);

}  // namespace vardo
