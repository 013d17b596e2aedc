#pragma once
// User-facing texts of the document's open and save steps, in one table:
// each is shown through Text (translated where a translation is installed,
// platform/Translation.h); CannotOpen and CannotSave compose theirs.

#include "platform/Translation.h"
#include "system/FileSave.h"

#include <string>

namespace pelto {

namespace docmsg {

inline constexpr const char* kTextContext = "pelto::document";

inline constexpr const char* kUnexpectedFormat =
    PELTO_TR_NOOP("pelto::document", "予期しないﾌｧｲﾙ形式です。");
inline constexpr const char* kOutOfMemory =
    PELTO_TR_NOOP("pelto::document", "メモリが不足しています。");
inline constexpr const char* kEmptyPicture =
    PELTO_TR_NOOP("pelto::document", "ファイルが空で、画像がありません。");
// How standard input and output are named in messages.
inline constexpr const char* kStandardInput = PELTO_TR_NOOP("pelto::document", "標準入力");
inline constexpr const char* kStandardOutput = PELTO_TR_NOOP("pelto::document", "標準出力");

// Reasons, the same for reading and for writing unless said.
inline constexpr const char* kNotFound =
    PELTO_TR_NOOP("pelto::document", "ファイルまたはフォルダが見つかりません。");
inline constexpr const char* kAccessDenied =
    PELTO_TR_NOOP("pelto::document", "アクセスが拒否されました。");
inline constexpr const char* kDiskFull =
    PELTO_TR_NOOP("pelto::document", "ディスクの空き容量が足りません。");
inline constexpr const char* kReadOnly =
    PELTO_TR_NOOP("pelto::document", "読み取り専用の場所です。");
inline constexpr const char* kNameTooLong =
    PELTO_TR_NOOP("pelto::document", "ファイル名が長すぎます。");
inline constexpr const char* kNotAFolder =
    PELTO_TR_NOOP("pelto::document", "パスの途中がフォルダではありません。");
inline constexpr const char* kLinkLoop =
    PELTO_TR_NOOP("pelto::document", "シンボリックリンクが循環しています。");
inline constexpr const char* kTooBig = PELTO_TR_NOOP("pelto::document", "ファイルが大きすぎます。");
inline constexpr const char* kInputOutputError =
    PELTO_TR_NOOP("pelto::document", "入出力エラーが発生しました。");
inline constexpr const char* kFolderToOpen =
    PELTO_TR_NOOP("pelto::document", "フォルダは画像として開けません。");
inline constexpr const char* kFolderInTheWay =
    PELTO_TR_NOOP("pelto::document", "同じ名前のフォルダがあります。");
inline constexpr const char* kNoPipeReader =
    PELTO_TR_NOOP("pelto::document", "出力先のパイプを読み取るプログラムがありません。");
inline constexpr const char* kPipeClosed =
    PELTO_TR_NOOP("pelto::document", "出力先のパイプが途中で閉じられました。");
inline constexpr const char* kSocket =
    PELTO_TR_NOOP("pelto::document", "出力先はソケットです。ソケットには保存できません。");
// %1 is the file's path (or kStandardInput, kStandardOutput), or where the old content is.
inline constexpr const char* kCannotOpen = PELTO_TR_NOOP("pelto::document", "%1 を開けません。");
inline constexpr const char* kCannotSave =
    PELTO_TR_NOOP("pelto::document", "%1 に保存できません。");
inline constexpr const char* kOriginalUnchanged =
    PELTO_TR_NOOP("pelto::document", "元のファイルは変更されていません。");
inline constexpr const char* kOriginalLost =
    PELTO_TR_NOOP("pelto::document", "元のファイルを元に戻せませんでした。");
inline constexpr const char* kOriginalKeptAt =
    PELTO_TR_NOOP("pelto::document", "元の内容は %1 に残してあります。");

// A pick (%1 its x,y) that a picture (%2 its width x height) does not hold.
inline constexpr const char* kPickOutside =
    PELTO_TR_NOOP("pelto::document", "点 %1 は %2 の画像の外にあります。");

// A style file (ButtonStyle.h): kStyleRefused names it (%1), a reason follows
// on the next line, and for a bad value what it must be (%1 a range or the choices).
inline constexpr const char* kStyleRefused =
    PELTO_TR_NOOP("pelto::document", "%1 はボタンのスタイルとして読めません。");
inline constexpr const char* kStyleNotJson =
    PELTO_TR_NOOP("pelto::document", "%1 バイト目で JSON の書き方が違います。");
inline constexpr const char* kStyleNotObject =
    PELTO_TR_NOOP("pelto::document", "JSON のオブジェクト { … } ではありません。");
inline constexpr const char* kStyleVersion =
    PELTO_TR_NOOP("pelto::document", "バージョン %1 のスタイルには対応していません。");
inline constexpr const char* kStyleMissingKey =
    PELTO_TR_NOOP("pelto::document", "「%1」がありません。");
inline constexpr const char* kStyleUnknownKey =
    PELTO_TR_NOOP("pelto::document", "「%1」はスタイルの項目ではありません。");
inline constexpr const char* kStyleTwice =
    PELTO_TR_NOOP("pelto::document", "「%1」が 2 回あります。");
inline constexpr const char* kStyleTooDeep =
    PELTO_TR_NOOP("pelto::document", "「%1」の入れ子が深すぎます。");
inline constexpr const char* kStyleBadValue =
    PELTO_TR_NOOP("pelto::document", "「%1」の値が正しくありません。");
inline constexpr const char* kStyleWholeNumber =
    PELTO_TR_NOOP("pelto::document", "%1〜%2 の整数にしてください。");
inline constexpr const char* kStyleOneOf =
    PELTO_TR_NOOP("pelto::document", "%1 のどちらかにしてください。");
inline constexpr const char* kStyleBackground =
    PELTO_TR_NOOP("pelto::document",
                  "\"transparent\" か、x, y, tolerance を持つ点の並び（1 つ以上）にしてください。");

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
