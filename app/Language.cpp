#include "Language.h"

#include "SettingsKeys.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace pelto {

namespace {
constexpr const char* kEnglishCode = "en";
} // namespace

void CLanguage::ApplySaved() {
    const QSettings settings = AppSettings();
    const bool english = settings.value(kLanguageKey).toString() == kEnglishCode;
    Apply(english ? Language::English : Language::Japanese);
}

void CLanguage::Choose(Language language) {
    QSettings settings = AppSettings();
    settings.setValue(kLanguageKey, language == Language::English ? kEnglishCode : "ja");
    Apply(language);
}

void CLanguage::Apply(Language language) {
    if (m_bApplied && language == m_current) return;
    QCoreApplication::removeTranslator(&m_toolkit);
    QCoreApplication::removeTranslator(&m_program);
    if (language == Language::Japanese) {
        // The toolkit's own dialogs and buttons speak Japanese.
        if (m_toolkit.load(QStringLiteral("qtbase_ja"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(&m_toolkit);
    } else if (m_program.load(QStringLiteral(":/i18n/pelto_en.qm"))) {
        QCoreApplication::installTranslator(&m_program);
    }
    // Dates and kinds of file in the toolkit's dialogs follow the language.
    QLocale::setDefault(language == Language::Japanese ? QLocale(QLocale::Japanese, QLocale::Japan)
                                                       : QLocale(QLocale::English));
    m_current = language;
    m_bApplied = true;
}

} // namespace pelto
