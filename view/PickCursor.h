#pragma once
// The picking cursor: a 32 x 32 monochrome crosshair, hot spot at the centre
// of its gap.

#include <QCursor>

namespace pelto {

inline constexpr int kPickCursorSize = 32;
inline constexpr int kPickCursorHotSpot = 15;

QCursor LoadPickCursor();

} // namespace pelto
