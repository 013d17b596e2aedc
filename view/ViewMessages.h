#pragma once
// Texts the view shows the user, through QCoreApplication::translate in their context.

#include <QtGlobal>

namespace pelto {

inline constexpr const char* kMsgNoSelection =
    QT_TRANSLATE_NOOP("pelto::CPeltoView", "選択範囲を指定してください");

} // namespace pelto
