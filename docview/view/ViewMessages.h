#pragma once
// Texts the view shows the user.

inline constexpr const char* kMsgNoSelection = "選択範囲を指定してください";
