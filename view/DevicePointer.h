#pragma once
// Where the pointer is, to the device pixel. The toolkit rounds pointer
// positions to whole logical pixels, so on a screen scaled by two a click on
// the second device pixel of a logical pixel lands on the next one; the
// window system still knows the device pixel, and this asks it.

#include <QPoint>
#include <QPointF>

#include <optional>

class QWidget;

namespace pelto {

// The pointer's position in widget's coordinates, in logical pixels with the
// device pixel's precision, when the window system can tell and the pointer is
// still where the toolkit says (within its rounding of rounded); otherwise
// none, and rounded is all there is.
std::optional<QPointF> DevicePointerIn(const QWidget& widget, QPointF rounded);

// The device pixel device of the top-level window, scaled by ratio, as a
// position in a widget offset logical pixels into that window; none when it
// lies farther from the toolkit's rounded position than rounding moves.
std::optional<QPointF> DeviceToLogical(QPoint device, qreal ratio, QPoint offset, QPointF rounded);

// The device pixel of the top-level window (scaled by ratio) that
// DeviceToLogical and DevicePixel take for device pixel dot of a widget offset
// logical pixels into that window.
QPoint WindowDevicePixel(QPoint dot, qreal ratio, QPoint offset);

// Puts the pointer on device pixel dot of widget (the view's DevicePixel of
// its logical units), where the window system places it to the device pixel;
// false elsewhere, where the toolkit can put it on whole logical pixels only.
bool PutPointerOn(const QWidget& widget, QPoint dot);

// rounded refined by DevicePointerIn where it can be.
QPointF ExactPointer(const QWidget& widget, QPointF rounded);

} // namespace pelto
