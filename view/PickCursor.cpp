#include "PickCursor.h"

#include <QBitmap>
#include <QImage>

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

} // namespace

QCursor LoadPickCursor() {
    // Qt's cursor bitmap: set bits are black; the mask marks the opaque pixels.
    return QCursor(Plane('X', 'X'), Plane('X', 'o'), kPickCursorHotSpot, kPickCursorHotSpot);
}

} // namespace pelto
