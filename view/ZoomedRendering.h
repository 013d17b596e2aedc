#pragma once
// What the view draws at a zoom, transparency over white or the checkerboard
// as RenderPicture draws it, the checkerboard's squares in screen pixels at
// every zoom. At 100 % it is exactly RenderPicture. Above,
// each picture pixel becomes a sharp square. Below, each screen pixel is the
// mean of the picture pixels it covers, selection overlay included, so thin
// lines and the checkerboard stay visible instead of falling between samples.
// Which picture pixels a screen pixel shows is ViewZoom's mapping.

#include "ViewRendering.h"
#include "ViewZoom.h"

#include <QImage>
#include <QRect>

namespace pelto {

class CAlphaPlane;
class CDIB;
class CMaskDIB;
class CPeltoDoc;

// The part of the drawing under area (screen pixels at the zoom, from the
// picture's top-left corner); pixels beyond the picture keep the background.
QImage RenderZoomed(CPeltoDoc& doc, QRect area, CZoom zoom, QRgb background,
                    int checker = kOverWhite);
// The same for a picture, its opacity (or none) and a selection (or none) of its size.
QImage RenderZoomed(const CDIB& picture, const CAlphaPlane* alpha, CMaskDIB* selection, QRect area,
                    CZoom zoom, QRgb background, int checker = kOverWhite);

} // namespace pelto
