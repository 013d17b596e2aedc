#pragma once
// The picking cursor: a 32 x 32 crosshair, hot spot at the centre of its gap.
// On a scaled screen it stays 32 dots across, and its hot spot is the dot at
// the centre of the gap, so the pixel it picks is the one it shows.

#include <QCursor>
#include <QPixmap>
#include <QPoint>

namespace pelto {

inline constexpr int kPickCursorSize = 32;
inline constexpr int kPickCursorHotSpot = 15;

// The crosshair's picture (device pixel ratio ratio) and the hot spot to give
// the toolkit for it. hotSpotUnit is how many of the picture's dots one unit of
// the hot spot spans where the window system reads it: the ratio where it is
// read in logical pixels, 1 where it is read in the picture's own dots.
struct PickCursorShape {
    QPixmap picture;
    QPoint hotSpot;
};
PickCursorShape MakePickCursorShape(qreal ratio, qreal hotSpotUnit);

QCursor LoadPickCursor(qreal ratio = 1);

} // namespace pelto
