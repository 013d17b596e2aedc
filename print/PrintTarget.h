#pragma once
// Where the picture lands on a printed page, as a plain function of sizes.

#include <QRectF>
#include <QSize>
#include <QSizeF>

namespace pelto {

// A printed picture has the size it has on screen, taken as this many pixels to the inch.
inline constexpr int kPrintPixelsPerInch = 96;

// Where a picture lands in the printable area of a page, in device pixels from
// that area's top-left corner, for a device of dotsPerInch: kPrintPixelsPerInch
// picture pixels to the inch, shrunk (never enlarged) to fit the area when it
// is larger, its pixels kept square. Empty for an empty picture or area.
QRectF PrintTarget(QSize picture, QSizeF printable, double dotsPerInch);

} // namespace pelto
