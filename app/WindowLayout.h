#pragma once
// Where the Window menu puts the document windows, and where the main window
// may stand on its screen, as plain geometry.

#include <QList>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace pelto {

// count windows one above the other, each the area's full width, together
// filling its height (the last one takes what the division leaves over).
QList<QRect> TileOneAboveAnother(QRect area, int count);

// Where the index-th new document window of the wanted size opens: cascaded
// step by step from the area's top-left corner, starting over where the next
// step would not fit, and never larger than the area, so its title bar and
// close box stay inside.
QRect CascadedPlace(QRect area, QSize wanted, int index, int step);

// Window menu's cascade: the i-th window one step further down and right
// than the one before, as large as it wants within what the area leaves from
// its corner; the steps start over before a window's corner passes the
// middle of the area, so each keeps at least half the area.
QList<QRect> CascadeWindows(QRect area, const QList<QSize>& wanted, int step);

// Top-left corners for count minimised windows of the given size, in rows
// from the area's bottom-left corner, left to right, rows growing upward.
QList<QPoint> ArrangeIcons(QRect area, QSize icon, int count);

// The geometry (inside its frame) that puts a window, frame and all, whole
// inside area: no larger than the area, moved in from any edge its frame
// crosses. A window already inside keeps its place and size.
QRect WholeInside(QRect area, QRect window, QMargins frame);

} // namespace pelto
