#include "PickCursor.h"

#include <QBitmap>
#include <QImage>
#include <QPixmap>

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

QBitmap Plane(char opaqueA, char opaqueB) {
    QImage image(kPickCursorSize, kPickCursorSize, QImage::Format_Mono);
    image.setColor(0, qRgb(255, 255, 255));
    image.setColor(1, qRgb(0, 0, 0));
    for (int y = 0; y < kPickCursorSize; ++y)
        for (int x = 0; x < kPickCursorSize; ++x) {
            const char c = kCrosshair[y][x];
            image.setPixel(x, y, c == opaqueA || c == opaqueB ? 1 : 0);
        }
    return QBitmap::fromImage(image);
}

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

} // namespace

QCursor LoadPickCursor(qreal ratio) {
    // Qt's cursor bitmap: set bits are black; the mask marks the opaque pixels.
    if (ratio == 1)
        return QCursor(Plane('X', 'X'), Plane('X', 'o'), kPickCursorHotSpot, kPickCursorHotSpot);
    // A scaled cursor's hot spot is a whole logical pixel: the cross moves to its dot.
    const int hotSpot = int(std::lround(kPickCursorHotSpot / ratio));
    const int shift = int(std::lround(hotSpot * ratio)) - kPickCursorHotSpot;
    return QCursor(Shifted(kPickCursorSize + std::max(shift, 0), shift, ratio), hotSpot, hotSpot);
}

} // namespace pelto
