#pragma once
// The light-angle dial: an ellipse inscribed in a rectangle with a hand from its
// centre. 0 degrees points left, 90 up, 180 right, 270 down, so the angle grows
// clockwise on screen and the hand points to the side the light comes from.
// The area is x, y, width, height; its right and bottom edges lie outside it.
// Degrees and radians convert through 3.1415926535 (not the double's pi), and
// doubles become integers by truncation toward zero.

#include <QPoint>
#include <QRect>

class QPainter;

namespace pelto {

QPoint DialCentre(const QRect& area);
// Where the hand ends for angle: on the ellipse. Any angle is taken modulo a turn.
QPoint DialHandTip(const QRect& area, unsigned angle);
// The angle, 0..359, of the hand that points from the centre toward point.
unsigned DialAngleFromPoint(const QRect& area, const QPoint& point);

void PaintDial(QPainter& painter, const QRect& area, unsigned angle);

} // namespace pelto
