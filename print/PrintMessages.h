#pragma once
// Texts printing gives the user. %1 is a printer's name.

namespace pelto {

inline constexpr const char* kMsgPrintFailed = "印刷できませんでした。";
inline constexpr const char* kMsgNoPrintSystem = "印刷システムに接続できませんでした。";
inline constexpr const char* kMsgNoDefaultPrinter = "通常使うプリンタが設定されていません。";
inline constexpr const char* kMsgNoPrinterNamed = "プリンタ名が指定されていません。";
inline constexpr const char* kMsgNoSuchPrinter = "プリンタ「%1」が見つかりません。";
inline constexpr const char* kMsgPrinterStopped = "プリンタ「%1」は停止しています。";
inline constexpr const char* kMsgPrinterRejecting = "プリンタ「%1」は印刷を受け付けていません。";

} // namespace pelto
