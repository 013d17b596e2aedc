#include "dialogs/AngleDial.h"

#include "engine/Angles.h"

#include <QPainter>

#include <cmath>

namespace pelto {

namespace {

constexpr unsigned kFullTurn = 360;

} // namespace

QPoint DialCentre(const QRect& area) {
    return QPoint((area.x() + area.x() + area.width()) / 2,
                  (area.y() + area.y() + area.height()) / 2);
}

QPoint DialHandTip(const QRect& area, unsigned angle) {
    const double a = angle * kRadiansPerDegree;
    const QPoint centre = DialCentre(area);
    return QPoint(centre.x() - static_cast<int>(area.width() * std::cos(a) / 2),
                  centre.y() - static_cast<int>(area.height() * std::sin(a) / 2));
}

unsigned DialAngleFromPoint(const QRect& area, const QPoint& point) {
    const QPoint centre = DialCentre(area);
    const double dx = point.x() - centre.x();
    const double dy = point.y() - centre.y();
    const auto angle = static_cast<unsigned>((std::atan2(dy, dx) + kPi) * kDegreesPerRadian);
    return angle == kFullTurn ? 0 : angle;
}

void PaintDial(QPainter& painter, const QRect& area, unsigned angle) {
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    // A one-pixel pen strokes one pixel beyond a rectangle's width and height.
    painter.drawEllipse(area.adjusted(0, 0, -1, -1));
    painter.drawLine(DialCentre(area), DialHandTip(area, angle));
}

} // namespace pelto
