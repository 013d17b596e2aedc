#pragma once
// User-facing texts of the document's open and save steps, in one table:
// each is shown through Text (translated where a translation is installed,
// platform/Translation.h); CannotOpen and CannotSave compose theirs.

#include "platform/FileSave.h"
#include "platform/Translation.h"

#include <string>

namespace pelto {

namespace docmsg {

inline constexpr const char* kTextContext = "pelto::document";
#define PELTO_DOC_TEXT(text) PELTO_TR_NOOP("pelto::document", text)

inline constexpr const char* kUnexpectedFormat = PELTO_DOC_TEXT("予期しないﾌｧｲﾙ形式です。");
inline constexpr const char* kOutOfMemory = PELTO_DOC_TEXT("メモリが不足しています。");
inline constexpr const char* kEmptyPicture = PELTO_DOC_TEXT("ファイルが空で、画像がありません。");
// How standard input and output are named in messages.
inline constexpr const char* kStandardInput = PELTO_DOC_TEXT("標準入力");
inline constexpr const char* kStandardOutput = PELTO_DOC_TEXT("標準出力");

// Reasons, the same for reading and for writing unless said.
inline constexpr const char* kNotFound = PELTO_DOC_TEXT("ファイルまたはフォルダが見つかりません。");
inline constexpr const char* kAccessDenied = PELTO_DOC_TEXT("アクセスが拒否されました。");
inline constexpr const char* kDiskFull = PELTO_DOC_TEXT("ディスクの空き容量が足りません。");
inline constexpr const char* kReadOnly = PELTO_DOC_TEXT("読み取り専用の場所です。");
inline constexpr const char* kNameTooLong = PELTO_DOC_TEXT("ファイル名が長すぎます。");
inline constexpr const char* kNotAFolder = PELTO_DOC_TEXT("パスの途中がフォルダではありません。");
inline constexpr const char* kLinkLoop = PELTO_DOC_TEXT("シンボリックリンクが循環しています。");
inline constexpr const char* kTooBig = PELTO_DOC_TEXT("ファイルが大きすぎます。");
inline constexpr const char* kInputOutputError = PELTO_DOC_TEXT("入出力エラーが発生しました。");
inline constexpr const char* kFolderToOpen = PELTO_DOC_TEXT("フォルダは画像として開けません。");
inline constexpr const char* kFolderInTheWay = PELTO_DOC_TEXT("同じ名前のフォルダがあります。");
inline constexpr const char* kNoPipeReader =
    PELTO_DOC_TEXT("出力先のパイプを読み取るプログラムがありません。");
inline constexpr const char* kPipeClosed = PELTO_DOC_TEXT("出力先のパイプが途中で閉じられました。");
inline constexpr const char* kSocket =
    PELTO_DOC_TEXT("出力先はソケットです。ソケットには保存できません。");
// %1 is the file's path (or kStandardInput, kStandardOutput), or where the old content is.
inline constexpr const char* kCannotOpen = PELTO_DOC_TEXT("%1 を開けません。");
inline constexpr const char* kCannotSave = PELTO_DOC_TEXT("%1 に保存できません。");
inline constexpr const char* kOriginalUnchanged =
    PELTO_DOC_TEXT("元のファイルは変更されていません。");
inline constexpr const char* kOriginalLost = PELTO_DOC_TEXT("元のファイルを元に戻せませんでした。");
inline constexpr const char* kOriginalKeptAt = PELTO_DOC_TEXT("元の内容は %1 に残してあります。");

// A style file (ButtonStyle.h): kStyleRefused names it (%1), a reason follows
// on the next line, and for a bad value what it must be (%1 a range or the choices).
inline constexpr const char* kStyleRefused =
    PELTO_DOC_TEXT("%1 はボタンのスタイルとして読めません。");
inline constexpr const char* kStyleNotJson =
    PELTO_DOC_TEXT("%1 バイト目で JSON の書き方が違います。");
inline constexpr const char* kStyleNotObject =
    PELTO_DOC_TEXT("JSON のオブジェクト { … } ではありません。");
inline constexpr const char* kStyleVersion =
    PELTO_DOC_TEXT("バージョン %1 のスタイルには対応していません。");
inline constexpr const char* kStyleMissingKey = PELTO_DOC_TEXT("「%1」がありません。");
inline constexpr const char* kStyleUnknownKey =
    PELTO_DOC_TEXT("「%1」はスタイルの項目ではありません。");
inline constexpr const char* kStyleBadValue = PELTO_DOC_TEXT("「%1」の値が正しくありません。");
inline constexpr const char* kStyleWholeNumber = PELTO_DOC_TEXT("%1 の整数にしてください。");
inline constexpr const char* kStyleOneOf = PELTO_DOC_TEXT("%1 のどちらかにしてください。");
inline constexpr const char* kStyleBackground = PELTO_DOC_TEXT(
    "\"transparent\" か、x, y, tolerance を持つ点の並び（1 つ以上）にしてください。");

#undef PELTO_DOC_TEXT

// One of the texts above as the user sees it.
inline std::string Text(const char* message) {
    return translation::Translate(kTextContext, message);
}

// "Cannot open <path>." with the system's reason.
std::string CannotOpen(const std::string& path, int error);
// "Cannot save <path>." with the system's reason, and what became of the file
// that stood there, when one did.
std::string CannotSave(const std::string& path, const SaveOutcome& outcome);

} // namespace docmsg

} // namespace pelto
