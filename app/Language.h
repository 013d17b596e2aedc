#pragma once
// The language of the windows: Japanese, whatever the system's locale,
// unless the user chose English in 表示 → 言語; the choice is kept in the
// settings. Japanese takes the toolkit's Japanese texts; English takes the
// program's English translation and leaves the toolkit's own English.

#include <QTranslator>

namespace pelto {

enum class Language { Japanese, English };

class CLanguage {
public:
    // Loads the saved choice; the first run is Japanese.
    void ApplySaved();
    // Switches now, the windows hearing QEvent::LanguageChange, and keeps it.
    void Choose(Language language);
    Language Current() const { return m_current; }

private:
    void Apply(Language language);

    QTranslator m_toolkit;
    QTranslator m_program;
    Language m_current = Language::Japanese;
    bool m_bApplied = false;
};

} // namespace pelto
