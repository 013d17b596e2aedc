#include "PickCursor.h"

#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <cmath>

namespace pelto {

namespace {

// 'X' black, 'o' white, '.' transparent: a white cross outlined in black with
// an open gap at the centre, so the picked pixel itself stays visible.
constexpr const char* kCrosshair[kPickCursorSize] = {
    "..............XXX...............", "..............XoX...............",
    "..............XoX...............", "..............XoX...............",
    "..............XoX...............", "..............XoX...............",
    "..............XoX...............", "..............XoX...............",
    "..............XoX...............", "..............XoX...............",
    "..............XoX...............", "..............XoX...............",
    "..............XXX...............", "................................",
    "XXXXXXXXXXXXX.....XXXXXXXXXXXXX.", "XoooooooooooX.....XoooooooooooX.",
    "XXXXXXXXXXXXX.....XXXXXXXXXXXXX.", "................................",
    "..............XXX...............", "..............XoX...............",
    "..............XoX...............", "..............XoX...............",
    "..............XoX...............", "..............XoX...............",
    "..............XoX...............", "..............XoX...............",
    "..............XoX...............", "..............XoX...............",
    "..............XoX...............", "..............XoX...............",
    "..............XXX...............", "................................",
};

// The crosshair drawn shift dots right and down, in a square of side dots.
QPixmap Shifted(int side, int shift, qreal ratio) {
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < kPickCursorSize; ++y)
        for (int x = 0; x < kPickCursorSize; ++x) {
            const char c = kCrosshair[y][x];
            if (c != '.' && std::min(x, y) + shift >= 0 && std::max(x, y) + shift < side)
                image.setPixel(x + shift, y + shift,
                               c == 'X' ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

// X11 takes a cursor's picture and hot spot as they are, in the screen's dots,
// whatever the picture's ratio; the toolkit elsewhere reads the hot spot in
// logical pixels.
qreal HotSpotUnit(qreal ratio) {
    return QGuiApplication::platformName() == QLatin1String("xcb") ? 1 : ratio;
}

} // namespace

PickCursorShape MakePickCursorShape(qreal ratio, qreal hotSpotUnit) {
    // The hot spot is a whole unit: the cross moves to the dot it stands for.
    const int hotSpot = int(std::lround(kPickCursorHotSpot / hotSpotUnit));
    const int shift = int(std::lround(hotSpot * hotSpotUnit)) - kPickCursorHotSpot;
    return {Shifted(kPickCursorSize + std::max(shift, 0), shift, ratio), QPoint(hotSpot, hotSpot)};
}

QCursor LoadPickCursor(qreal ratio) {
    const PickCursorShape shape = MakePickCursorShape(ratio, HotSpotUnit(ratio));
    return QCursor(shape.picture, shape.hotSpot.x(), shape.hotSpot.y());
}

} // namespace pelto
