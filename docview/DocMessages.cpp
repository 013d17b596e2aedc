#include "DocMessages.h"

#include <cerrno>

namespace docmsg {
namespace {

std::string Reason(int error) {
    switch (error) {
    case ENOENT: return "ファイルまたはフォルダが見つかりません。";
    case EACCES:
    case EPERM: return "アクセスが拒否されました。";
    case EISDIR: return "同じ名前のフォルダがあります。";
    case ENOSPC:
    case EDQUOT: return "ディスクの空き容量が足りません。";
    case EROFS: return "読み取り専用の場所です。";
    case ENAMETOOLONG: return "ファイル名が長すぎます。";
    case ENOTDIR: return "パスの途中がフォルダではありません。";
    case ENOMEM: return kOutOfMemory;
    default: return "入出力エラーが発生しました。";
    }
}

} // namespace

std::string CannotOpen(const std::string& path, int error) {
    return path + " を開けません。\n" + Reason(error);
}

std::string CannotSave(const std::string& path, int error) {
    return path + " に保存できません。\n" + Reason(error) + "\n元のファイルは変更されていません。";
}

} // namespace docmsg
