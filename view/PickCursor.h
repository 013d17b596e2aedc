#pragma once
// The picking cursor: a 32 x 32 monochrome crosshair, hot spot at the centre
// of its gap. On a scaled screen it stays 32 dots across, and its hot spot is
// the dot at the centre of the gap, so the pixel it picks is the one it shows.

#include <QCursor>

namespace pelto {

inline constexpr int kPickCursorSize = 32;
inline constexpr int kPickCursorHotSpot = 15;

QCursor LoadPickCursor(qreal ratio = 1);

} // namespace pelto
