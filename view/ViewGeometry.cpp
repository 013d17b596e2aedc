#include "ViewGeometry.h"

#include <QRect>
#include <algorithm>
#include <vector>

namespace pelto {

ScrollAxis ScrollAxisFor(int pictureLength, int viewportLength) {
    ScrollAxis axis;
    axis.maximum = std::max(0, pictureLength - viewportLength);
    axis.page = std::max(1, pictureLength / 10);
    axis.line = std::max(1, axis.page / 10);
    return axis;
}

QSize ViewportAroundScrollBars(QSize content, QSize maximum, int scrollBarExtent) {
    bool across = content.width() > maximum.width();
    bool down = content.height() > maximum.height();
    // One bar can make the other needed.
    across = across || (down && content.width() > maximum.width() - scrollBarExtent);
    down = down || (across && content.height() > maximum.height() - scrollBarExtent);
    return {maximum.width() - (down ? scrollBarExtent : 0),
            maximum.height() - (across ? scrollBarExtent : 0)};
}

QSize ShrinkViewToFit(QSize view, QSize picture, int scrollBarExtent) {
    const bool fitsAcross = picture.width() < view.width();
    const bool fitsDown = picture.height() < view.height();
    QSize fitted(fitsAcross ? picture.width() : view.width(),
                 fitsDown ? picture.height() : view.height());
    // A picture that still scrolls one way needs room for that scroll bar.
    if (fitsAcross && !fitsDown)
        fitted.setWidth(std::min(view.width(), fitted.width() + scrollBarExtent));
    if (fitsDown && !fitsAcross)
        fitted.setHeight(std::min(view.height(), fitted.height() + scrollBarExtent));
    return fitted;
}

QPoint DialogBesidePicture(QRect picture, QSize dialog, QRect screen) {
    const auto inside = [&](QPoint at) {
        return QPoint(std::clamp(at.x(), screen.left(),
                                 std::max(screen.left(), screen.right() + 1 - dialog.width())),
                      std::clamp(at.y(), screen.top(),
                                 std::max(screen.top(), screen.bottom() + 1 - dialog.height())));
    };
    const int gap = 8;
    const int besideX[] = {picture.right() + 1 + gap, picture.left() - gap - dialog.width()};
    const int besideY[] = {picture.bottom() + 1 + gap, picture.top() - gap - dialog.height()};
    // Beside the picture first, in this order; then every place where an edge
    // meets one of the picture's or the screen's, where the least covered lies.
    std::vector<QPoint> candidates = {{besideX[0], picture.top()},
                                      {besideX[1], picture.top()},
                                      {picture.left(), besideY[0]},
                                      {picture.left(), besideY[1]}};
    for (const int x : {besideX[0], besideX[1], screen.left(), screen.right() + 1 - dialog.width()})
        for (const int y :
             {besideY[0], besideY[1], screen.top(), screen.bottom() + 1 - dialog.height()})
            candidates.push_back({x, y});
    QPoint best = inside(candidates[0]);
    qint64 least = -1;
    for (const QPoint candidate : candidates) {
        const QPoint at = inside(candidate);
        const QRect covered = QRect(at, dialog).intersected(picture);
        const qint64 area = covered.isEmpty() ? 0 : qint64(covered.width()) * covered.height();
        if (least < 0 || area < least) {
            least = area;
            best = at;
        }
    }
    return best;
}

} // namespace pelto
