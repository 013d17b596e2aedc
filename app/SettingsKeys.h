#pragma once
// Every key of the per-user settings (INI format under the user's config folder).

namespace pelto {

inline constexpr const char* kSettingsOrganization = "VANTORELL";
inline constexpr const char* kSettingsApplication = "PeltoTool";

inline constexpr const char* kRecentFileGroup = "Recent File List";
// Entries are "File1" .. "File10".
inline constexpr const char* kRecentFileEntryPrefix = "File";

} // namespace pelto
