#pragma once
// Texts the view shows the user.

namespace pelto {

inline constexpr const char* kMsgNoSelection = "選択範囲を指定してください";

} // namespace pelto
