#include "WindowLayout.h"

#include <algorithm>

namespace pelto {

QList<QRect> TileOneAboveAnother(QRect area, int count) {
    QList<QRect> tiles;
    if (count <= 0) return tiles;
    const int each = area.height() / count;
    for (int i = 0; i < count; ++i) {
        const int top = area.top() + i * each;
        const int height = i + 1 == count ? area.bottom() + 1 - top : each;
        tiles.append(QRect(area.left(), top, area.width(), height));
    }
    return tiles;
}

QRect CascadedPlace(QRect area, QSize wanted, int index, int step) {
    const QSize size = wanted.boundedTo(area.size());
    const int room = std::min(area.width() - size.width(), area.height() - size.height());
    const int places = step > 0 ? room / step + 1 : 1;
    const int k = std::max(index, 0) % places;
    return QRect(area.topLeft() + QPoint(k * step, k * step), size);
}

QList<QRect> CascadeWindows(QRect area, const QList<QSize>& wanted, int step) {
    QList<QRect> places;
    const int room = std::min(area.width(), area.height()) / 2;
    const int count = step > 0 ? room / step + 1 : 1;
    for (int i = 0; i < wanted.size(); ++i) {
        const int offset = i % count * step;
        const QSize left = area.size() - QSize(offset, offset);
        places.append(QRect(area.topLeft() + QPoint(offset, offset), wanted[i].boundedTo(left)));
    }
    return places;
}

QList<QPoint> ArrangeIcons(QRect area, QSize icon, int count) {
    QList<QPoint> corners;
    if (icon.isEmpty()) return corners;
    const int perRow = std::max(1, area.width() / icon.width());
    for (int i = 0; i < count; ++i) {
        const int row = i / perRow;
        const int column = i % perRow;
        corners.append(QPoint(area.left() + column * icon.width(),
                              area.bottom() + 1 - (row + 1) * icon.height()));
    }
    return corners;
}

QRect WholeInside(QRect area, QRect window, QMargins frame) {
    const QRect framed = window.marginsAdded(frame);
    const QSize size = framed.size().boundedTo(area.size());
    const int left = std::clamp(framed.left(), area.left(), area.right() + 1 - size.width());
    const int top = std::clamp(framed.top(), area.top(), area.bottom() + 1 - size.height());
    return QRect(QPoint(left, top), size).marginsRemoved(frame);
}

} // namespace pelto
