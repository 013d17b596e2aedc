#include "DevicePointer.h"

#include <QGuiApplication>
#include <QWidget>

#include <cmath>
#include <cstdlib>
#include <memory>

#ifdef PELTO_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace pelto {

namespace {

#ifdef PELTO_HAVE_XCB
// The pointer in the top-level window, in device pixels.
std::optional<QPoint> DevicePointerInWindow(const QWidget& top) {
    // Other platforms (offscreen among them) may answer for X11 without being it.
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return std::nullopt;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    const WId window = top.internalWinId();
    if (!connection || window == 0) return std::nullopt;
    const std::unique_ptr<xcb_query_pointer_reply_t, decltype(&std::free)> reply(
        xcb_query_pointer_reply(connection, xcb_query_pointer(connection, xcb_window_t(window)),
                                nullptr),
        &std::free);
    if (!reply || !reply->same_screen) return std::nullopt;
    return QPoint(reply->win_x, reply->win_y);
}

bool WarpPointerInWindow(const QWidget& top, QPoint device) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return false;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    const WId window = top.internalWinId();
    if (!connection || window == 0) return false;
    xcb_warp_pointer(connection, XCB_NONE, xcb_window_t(window), 0, 0, 0, 0, int16_t(device.x()),
                     int16_t(device.y()));
    xcb_flush(connection);
    return true;
}
#else
std::optional<QPoint> DevicePointerInWindow(const QWidget&) {
    return std::nullopt;
}

bool WarpPointerInWindow(const QWidget&, QPoint) {
    return false;
}
#endif

} // namespace

std::optional<QPointF> DeviceToLogical(QPoint device, qreal ratio, QPoint offset, QPointF rounded) {
    const QPointF exact = QPointF(device) / ratio - QPointF(offset);
    // Farther than the rounding could move it: the pointer has moved since.
    if (std::abs(exact.x() - rounded.x()) > 0.5 || std::abs(exact.y() - rounded.y()) > 0.5)
        return std::nullopt;
    return exact;
}

std::optional<QPointF> DevicePointerIn(const QWidget& widget, QPointF rounded) {
    const QWidget& top = *widget.window();
    const std::optional<QPoint> device = DevicePointerInWindow(top);
    if (!device) return std::nullopt;
    return DeviceToLogical(*device, top.devicePixelRatioF(), widget.mapTo(&top, QPoint(0, 0)),
                           rounded);
}

QPoint WindowDevicePixel(QPoint dot, qreal ratio, QPoint offset) {
    // The widget's first device pixel is the first the window has at or past its corner.
    const auto axis = [ratio](int d, int o) { return d + int(std::ceil(o * ratio - 1e-6)); };
    return {axis(dot.x(), offset.x()), axis(dot.y(), offset.y())};
}

bool PutPointerOn(const QWidget& widget, QPoint dot) {
    const QWidget& top = *widget.window();
    return WarpPointerInWindow(
        top, WindowDevicePixel(dot, top.devicePixelRatioF(), widget.mapTo(&top, QPoint(0, 0))));
}

QPointF ExactPointer(const QWidget& widget, QPointF rounded) {
    return DevicePointerIn(widget, rounded).value_or(rounded);
}

} // namespace pelto
