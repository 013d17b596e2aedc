#pragma once
// Texts printing gives the user, each shown through PrintText. %1 is a printer's name.

#include <QCoreApplication>
#include <QString>

namespace pelto {

inline QString PrintText(const char* text) {
    return QCoreApplication::translate("pelto::print", text);
}

inline constexpr const char* kMsgPrintFailed =
    QT_TRANSLATE_NOOP("pelto::print", "印刷できませんでした。");
inline constexpr const char* kMsgNoPrintSystem =
    QT_TRANSLATE_NOOP("pelto::print", "印刷システムに接続できませんでした。");
inline constexpr const char* kMsgNoDefaultPrinter =
    QT_TRANSLATE_NOOP("pelto::print", "通常使うプリンタが設定されていません。");
inline constexpr const char* kMsgNoPrinterNamed =
    QT_TRANSLATE_NOOP("pelto::print", "プリンタ名が指定されていません。");
inline constexpr const char* kMsgNoSuchPrinter =
    QT_TRANSLATE_NOOP("pelto::print", "プリンタ「%1」が見つかりません。");
inline constexpr const char* kMsgPrinterStopped =
    QT_TRANSLATE_NOOP("pelto::print", "プリンタ「%1」は停止しています。");
inline constexpr const char* kMsgPrinterRejecting =
    QT_TRANSLATE_NOOP("pelto::print", "プリンタ「%1」は印刷を受け付けていません。");

} // namespace pelto
