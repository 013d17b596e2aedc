#pragma once
// User-facing texts of the document's open and save steps.

#include "platform/FileSave.h"

#include <string>

namespace pelto {

namespace docmsg {

inline constexpr const char* kUnexpectedFormat = "予期しないﾌｧｲﾙ形式です。";
inline constexpr const char* kOutOfMemory = "メモリが不足しています。";
inline constexpr const char* kEmptyPicture = "ファイルが空で、画像がありません。";
// How standard input and output are named in messages.
inline constexpr const char* kStandardInput = "標準入力";
inline constexpr const char* kStandardOutput = "標準出力";

// "Cannot open <path>." with the system's reason.
std::string CannotOpen(const std::string& path, int error);
// "Cannot save <path>." with the system's reason, and what became of the file
// that stood there, when one did.
std::string CannotSave(const std::string& path, const SaveOutcome& outcome);

} // namespace docmsg

} // namespace pelto
