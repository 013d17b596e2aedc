#include "ViewPrinting.h"

#include "ViewGeometry.h"
#include "ViewRendering.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace {
// Rendered a band of rows at a time, so a huge picture never needs a second
// full-size raster.
constexpr int kBandRows = 256;
} // namespace

bool PrintDocument(CPeltoDoc& doc, QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const QSize picture = PictureSize(doc);
    // The painter's origin is the top-left corner of the printable area.
    const QSize printable = printer.pageLayout().paintRectPixels(printer.resolution()).size();
    const QRectF target = PrintTarget(picture, QRectF(QPointF(0, 0), printable));
    if (!target.isEmpty()) {
        const double scale = target.width() / picture.width();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        for (int top = 0; top < picture.height(); top += kBandRows) {
            const int rows = std::min(kBandRows, picture.height() - top);
            const QImage band = RenderPicture(doc, QRect(0, top, picture.width(), rows), 0xFFFFFF);
            painter.drawImage(
                QRectF(target.left(), target.top() + top * scale, target.width(), rows * scale),
                band);
        }
    }
    return painter.end();
}
