#include "ViewZoom.h"

#include <QCoreApplication>
#include <QRect>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace pelto {

namespace {

bool Below(CZoom a, CZoom b) {
    return int64_t(a.num) * b.den < int64_t(b.num) * a.den;
}

CZoom Reduced(int64_t num, int64_t den) {
    const int64_t divisor = std::gcd(num, den);
    return {int(num / divisor), int(den / divisor)};
}

// floor(a / b) for b > 0.
int64_t FloorDivide(int64_t a, int64_t b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

} // namespace

CZoom ZoomIn(CZoom zoom) {
    for (CZoom step : kZoomSteps)
        if (Below(zoom, step)) return step;
    return zoom;
}

CZoom ZoomOut(CZoom zoom) {
    for (auto step = std::rbegin(kZoomSteps); step != std::rend(kZoomSteps); ++step)
        if (Below(*step, zoom)) return *step;
    return zoom;
}

CZoom FitZoom(QSize picture, QSize viewport) {
    if (picture.isEmpty() || viewport.isEmpty()) return {};
    CZoom fit = Reduced(viewport.width(), picture.width());
    if (const CZoom down = Reduced(viewport.height(), picture.height()); Below(down, fit))
        fit = down;
    const CZoom lowest = kZoomSteps[0], highest = std::end(kZoomSteps)[-1];
    return Below(fit, lowest) ? lowest : Below(highest, fit) ? highest : fit;
}

QString ZoomText(CZoom zoom) {
    const double percent = 100.0 * zoom.num / zoom.den;
    QString number;
    if (percent >= 20) {
        number = QString::number(std::lround(percent));
    } else {
        number = QString::number(percent, 'f', 2);
        while (number.endsWith(u'0'))
            number.chop(1);
        if (number.endsWith(u'.')) number.chop(1);
    }
    return QCoreApplication::translate("pelto::ViewZoom", "%1 %").arg(number);
}

int ZoomedLength(int pictureLength, CZoom zoom) {
    return int((int64_t(std::max(pictureLength, 0)) * zoom.num + zoom.den - 1) / zoom.den);
}

int PictureCoordinate(int screen, CZoom zoom) {
    return int(FloorDivide(int64_t(screen) * zoom.den, zoom.num));
}

QRect PicturePixelsInSight(QPoint scroll, QSize dots, QSize picture, CZoom zoom) {
    if (dots.isEmpty()) return {};
    const QPoint first(PictureCoordinate(scroll.x(), zoom), PictureCoordinate(scroll.y(), zoom));
    // Zoomed out, a screen pixel shows the mean of all the pixels up to the next one's.
    const auto end = [&](int s) {
        return std::max(PictureCoordinate(s, zoom) + 1, PictureCoordinate(s + 1, zoom));
    };
    const QPoint last(end(scroll.x() + dots.width() - 1) - 1,
                      end(scroll.y() + dots.height() - 1) - 1);
    return QRect(first, last).intersected(QRect(QPoint(0, 0), picture));
}

int MiddleDot(int p, CZoom zoom) {
    return (ZoomedLength(p, zoom) + ZoomedLength(p + 1, zoom)) / 2;
}

int KeyStepTarget(int from, int step, int length, CZoom zoom) {
    if (length <= 0) return 0;
    const int target = std::clamp(from + step, 0, length - 1);
    // Picture pixel p shows on the screen pixels ZoomedLength(p) up to ZoomedLength(p + 1).
    const int first = ZoomedLength(target, zoom);
    if (first < ZoomedLength(target + 1, zoom)) return target;
    // Shown on none: the pixels the screen pixels on either side show.
    const int ahead = PictureCoordinate(first, zoom);
    const int behind = PictureCoordinate(first - 1, zoom);
    return step < 0 || ahead >= length ? behind : ahead;
}

QPoint DevicePixel(QPointF point, qreal ratio) {
    // A position half way through a logical pixel is in its second device pixel.
    return {int(std::floor(point.x() * ratio + 1e-6)), int(std::floor(point.y() * ratio + 1e-6))};
}

int LogicalLength(int length, qreal ratio) {
    return int(std::ceil(length / ratio - 1e-6));
}

std::optional<QPoint> PickedImagePoint(QPointF click, QSize viewport, QPoint scroll, QSize picture,
                                       CZoom zoom, qreal ratio) {
    if (click.x() < 0 || click.y() < 0 || click.x() >= viewport.width() ||
        click.y() >= viewport.height())
        return std::nullopt;
    const QPoint screen = DevicePixel(click, ratio) + scroll;
    const QPoint image(PictureCoordinate(screen.x(), zoom), PictureCoordinate(screen.y(), zoom));
    if (!QRect(QPoint(0, 0), picture).contains(image)) return std::nullopt;
    return image;
}

QPoint ScrollKeepingAnchor(QPoint scroll, QPoint anchor, CZoom from, CZoom to) {
    const auto axis = [&](int s, int a) {
        const double picture = double(s + a) * from.den / from.num;
        return int(std::lround(picture * to.num / to.den)) - a;
    };
    return {axis(scroll.x(), anchor.x()), axis(scroll.y(), anchor.y())};
}

} // namespace pelto
