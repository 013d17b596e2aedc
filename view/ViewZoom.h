#pragma once
// A view's zoom: screen pixels per picture pixel as an exact fraction, so that
// drawing and picking agree on every pixel. A screen pixel is a device pixel,
// whatever the screen's scale: at 100 % one picture pixel is one dot. Screen
// coordinates count from the picture's top-left corner at the zoom (the
// scroll position included); the screen pixel s shows the picture pixel
// floor(s * den / num), on each axis. The widgets' own (logical) units are
// ratio device pixels each.

#include "document/Presentation.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

namespace pelto {

// The next step above or below; a zoom at the end of the steps stays.
CZoom ZoomIn(CZoom zoom);
CZoom ZoomOut(CZoom zoom);
// The largest zoom, within the steps' range, at which the whole picture fits.
CZoom FitZoom(QSize picture, QSize viewport);
// "100 %", "12.5 %", "33 %": whole percents from 20 % up, two decimals below.
QString ZoomText(CZoom zoom);

// Screen pixels the picture's length takes at the zoom.
int ZoomedLength(int pictureLength, CZoom zoom);
// The picture pixel that screen pixel s shows.
int PictureCoordinate(int screen, CZoom zoom);
// The picture pixels (y from the top) that a viewport of `dots` screen
// pixels shows, scrolled by scroll screen pixels: empty beside the picture.
QRect PicturePixelsInSight(QPoint scroll, QSize dots, QSize picture, CZoom zoom);

// The middle of the screen pixels that show picture pixel p: the one the
// crosshair's centre marks.
int MiddleDot(int p, CZoom zoom);
// The picture pixel a key step of step pixels from `from` moves the crosshair
// to, within length pixels. Below 100 % a screen pixel shows one of several
// picture pixels: the step goes on, in its direction, to the next one shown,
// so the crosshair moves every step and its dot picks the pixel stepped to.
int KeyStepTarget(int from, int step, int length, CZoom zoom);

// The device pixel a point in logical units lies in.
QPoint DevicePixel(QPointF point, qreal ratio);
// Logical units that cover length device pixels.
int LogicalLength(int length, qreal ratio);

// The picture pixel (x from the left, y from the top) under a click in the
// viewport (logical units), with the view scrolled by scroll screen pixels,
// or nothing when the click lies outside the viewport or the picture.
std::optional<QPoint> PickedImagePoint(QPointF click, QSize viewport, QPoint scroll, QSize picture,
                                       CZoom zoom = {}, qreal ratio = 1);

// The scroll position that keeps the picture point under anchor (a viewport
// point) where it is when the zoom changes from `from` to `to`.
QPoint ScrollKeepingAnchor(QPoint scroll, QPoint anchor, CZoom from, CZoom to);

} // namespace pelto
