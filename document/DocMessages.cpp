#include "DocMessages.h"

#include <cerrno>

namespace pelto {

namespace docmsg {
namespace {

// Reasons that read the same for reading and for writing.
std::string Reason(int error) {
    switch (error) {
    case ENOENT:
        return "ファイルまたはフォルダが見つかりません。";
    case EACCES:
    case EPERM:
        return "アクセスが拒否されました。";
    case ENOSPC:
    case EDQUOT:
        return "ディスクの空き容量が足りません。";
    case EROFS:
        return "読み取り専用の場所です。";
    case ENAMETOOLONG:
        return "ファイル名が長すぎます。";
    case ENOTDIR:
        return "パスの途中がフォルダではありません。";
    case ELOOP:
        return "シンボリックリンクが循環しています。";
    case EFBIG:
        return "ファイルが大きすぎます。";
    case ENOMEM:
        return kOutOfMemory;
    default:
        return "入出力エラーが発生しました。";
    }
}

std::string OpenReason(int error) {
    if (error == EISDIR) return "フォルダは画像として開けません。";
    return Reason(error);
}

std::string SaveReason(int error) {
    switch (error) {
    case EISDIR:
        return "同じ名前のフォルダがあります。";
    case ENXIO:
        return "出力先のパイプを読み取るプログラムがありません。";
    case EPIPE:
        return "出力先のパイプが途中で閉じられました。";
    case kSocketTarget:
        return "出力先はソケットです。ソケットには保存できません。";
    default:
        return Reason(error);
    }
}

} // namespace

std::string CannotOpen(const std::string& path, int error) {
    return path + " を開けません。\n" + OpenReason(error);
}

std::string CannotSave(const std::string& path, const SaveOutcome& outcome) {
    std::string text = path + " に保存できません。\n" + SaveReason(outcome.error);
    if (!outcome.hadOriginal) return text;
    if (outcome.originalKept) return text + "\n元のファイルは変更されていません。";
    text += "\n元のファイルを元に戻せませんでした。";
    if (!outcome.backup.empty()) text += "元の内容は " + outcome.backup + " に残してあります。";
    return text;
}

} // namespace docmsg

} // namespace pelto
