#pragma once
// Every key of the per-user settings (INI format under the user's config folder).

#include <QSettings>

namespace pelto {

inline constexpr const char* kSettingsOrganization = "VANTORELL";
inline constexpr const char* kSettingsApplication = "PeltoTool";

// The per-user settings that hold the keys below.
inline QSettings AppSettings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, kSettingsOrganization,
                     kSettingsApplication);
}

inline constexpr const char* kRecentFileGroup = "Recent File List";
// Entries are "File1" .. "File10".
inline constexpr const char* kRecentFileEntryPrefix = "File";

// The language the user chose: "ja" or "en"; none means Japanese.
inline constexpr const char* kLanguageKey = "Settings/Language";
// The folder the last style file was saved to or read from.
inline constexpr const char* kStyleFolderKey = "Settings/StyleFolder";
// The main window's size, place and maximized state as it closed (QWidget::saveGeometry).
inline constexpr const char* kMainWindowGeometryKey = "Settings/WindowGeometry";

} // namespace pelto
