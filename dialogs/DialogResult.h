#pragma once
// What a modal dialog's DoModal returns.

namespace pelto {

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

} // namespace pelto
