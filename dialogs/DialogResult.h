#pragma once
// What a modal dialog's DoModal returns.

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
