#pragma once
// What the view draws at 100 %: the picture (its transparent parts over white)
// and, when there is one, the selection overlay on top, both through the
// platform raster with its exact raster operations. Only the asked-for part
// of the picture is rendered.

#include <QImage>
#include <QRect>

namespace pelto {

class CAlphaPlane;
class CDIB;
class CMaskDIB;
class CPeltoDoc;

// The part of the drawing under area (picture coordinates, y from the top);
// pixels beyond the picture keep the background colour.
QImage RenderPicture(CPeltoDoc& doc, QRect area, QRgb background);
// The same for a picture, its opacity (or none) and a selection (or none) of its size.
QImage RenderPicture(const CDIB& picture, const CAlphaPlane* alpha, CMaskDIB* selection, QRect area,
                     QRgb background);

// The picture's size in pixels; empty for a picture without pixels.
QSize PictureSize(const CPeltoDoc& doc);
QSize PictureSize(const CDIB& picture);

} // namespace pelto
