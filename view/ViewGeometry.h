#pragma once
// The view's geometry as plain functions of sizes and points, so it is tested
// without a window. Units are the view's pixels, in which the zoomed picture
// is laid out (ViewZoom.h maps them to picture pixels).

#include <QPoint>
#include <QRectF>
#include <QSize>

namespace pelto {

// Scroll steps along one axis: a page is a tenth of the picture, a line a
// tenth of a page (at least one pixel each); the range ends where the
// picture's far edge meets the viewport's.
struct ScrollAxis {
    int maximum = 0;
    int page = 1;
    int line = 1;
};
ScrollAxis ScrollAxisFor(int pictureLength, int viewportLength);

// The viewport left for content of the given size in an area of `maximum`
// (the viewport without scroll bars): a bar takes scrollBarExtent across the
// other axis only where the content does not fit, counting the other bar.
QSize ViewportAroundScrollBars(QSize content, QSize maximum, int scrollBarExtent);

// The view size that fits the picture without growing: each axis shrinks to
// the picture when the picture is smaller and keeps its length otherwise;
// scrollBarExtent is added across an axis whose picture still scrolls.
QSize ShrinkViewToFit(QSize view, QSize picture, int scrollBarExtent);

// Where a dialog of the given size (its frame included) covers the least of
// the picture shown in `picture`, inside `screen`: beside it to the right,
// else to the left, below or above, where there is room; else wherever the
// screen leaves the most of the picture in sight.
QPoint DialogBesidePicture(QRect picture, QSize dialog, QRect screen);

} // namespace pelto
