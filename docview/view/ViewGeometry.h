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

// A printed picture has the size it has on screen, taken as this many pixels to the inch.
inline constexpr int kPrintPixelsPerInch = 96;

// Where a picture lands in the printable area of a page, in device pixels from
// that area's top-left corner, for a device of dotsPerInch: kPrintPixelsPerInch
// picture pixels to the inch, shrunk (never enlarged) to fit the area when it
// is larger, its pixels kept square. Empty for an empty picture or area.
QRectF PrintTarget(QSize picture, QSizeF printable, double dotsPerInch);

} // namespace pelto
