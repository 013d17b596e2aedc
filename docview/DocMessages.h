#pragma once
// User-facing texts of the document's open and save steps.

#include <string>

namespace docmsg {

inline constexpr const char* kUnexpectedFormat = "予期しないﾌｧｲﾙ形式です。";
inline constexpr const char* kOutOfMemory = "メモリが不足しています。";

// "Cannot open <path>." with the system's reason.
std::string CannotOpen(const std::string& path, int error);
// "Cannot save <path>." with the system's reason; the old file is kept.
std::string CannotSave(const std::string& path, int error);

} // namespace docmsg
