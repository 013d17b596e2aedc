#pragma once
// What the view draws at 100 %: the picture (its transparent parts over white,
// or over a light checkerboard on screen) and, when there is one, the
// selection overlay on top, both through the platform raster with its exact
// raster operations. Only the asked-for part of the picture is rendered.

#include "document/Presentation.h"

#include <QImage>
#include <QRect>

#include <cstdint>

namespace pelto {

class CAlphaPlane;
class CDIB;
class CMaskDIB;
class CPeltoDoc;

// What shows through where the picture is not opaque: white (0, as printed)
// or the checkerboard (document/Presentation.h) of squares this many screen
// pixels wide.
inline constexpr int kOverWhite = 0;
// The grey under screen pixel (x, y), 255 for white.
inline uint8_t BackdropLevel(int x, int y, int checker) {
    return checker > 0 ? kCheckerLevels[(x / checker + y / checker) & 1] : 255;
}
// A channel value of the given opacity laid over a grey level.
inline uint8_t OverLevel(uint8_t value, uint8_t alpha, uint8_t level) {
    return uint8_t((value * alpha + level * (255 - alpha) + 127) / 255);
}

// The part of the drawing under area (picture coordinates, y from the top);
// pixels beyond the picture keep the background colour.
QImage RenderPicture(CPeltoDoc& doc, QRect area, QRgb background, int checker = kOverWhite);
// The same for a picture, its opacity (or none) and a selection (or none) of its size.
QImage RenderPicture(const CDIB& picture, const CAlphaPlane* alpha, CMaskDIB* selection, QRect area,
                     QRgb background, int checker = kOverWhite);

// The picture's size in pixels; empty for a picture without pixels.
QSize PictureSize(const CPeltoDoc& doc);
QSize PictureSize(const CDIB& picture);

} // namespace pelto
