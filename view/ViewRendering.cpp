#include "ViewRendering.h"

#include "document/PeltoDoc.h"
#include "image/AlphaPlane.h"
#include "platform/Dc.h"

namespace pelto {

namespace {

// The drawn part of the picture over the backdrop where it is not opaque.
void OverBackdrop(CDC& dc, const CDIB& picture, const CAlphaPlane& alpha, QRect area, int checker) {
    const QRect shown = area.intersected(QRect(0, 0, picture.m_nWidth, picture.m_nHeight));
    for (int y = shown.top(); y <= shown.bottom(); ++y) {
        const uint8_t* opacity = alpha.Row(picture.m_nHeight - 1 - y);
        uint32_t* pixel = dc.Bits() + size_t(y - area.top()) * size_t(dc.Width());
        for (int x = shown.left(); x <= shown.right(); ++x) {
            const uint8_t a = opacity[x];
            if (a == 255) continue;
            const uint8_t level = BackdropLevel(x, y, checker);
            uint32_t& p = pixel[x - area.left()];
            p = (p & 0xFF000000u) | uint32_t(OverLevel(uint8_t(p >> 16), a, level)) << 16 |
                uint32_t(OverLevel(uint8_t(p >> 8), a, level)) << 8 |
                OverLevel(uint8_t(p), a, level);
        }
    }
}

} // namespace

QImage RenderPicture(CPeltoDoc& doc, QRect area, QRgb background, int checker) {
    return RenderPicture(doc.Picture(), doc.Opacity(), doc.Selection(), area, background, checker);
}

QImage RenderPicture(const CDIB& picture, const CAlphaPlane* alpha, CMaskDIB* selection, QRect area,
                     QRgb background, int checker) {
    if (area.isEmpty()) return {};
    // The raster is handed to the image, which frees it when the last copy goes.
    auto* dc = new CDC(area.width(), area.height(), background | 0xFF000000u);
    dc->SetViewportOrg(CPoint(-area.x(), -area.y()));
    picture.Draw(dc);
    if (alpha && alpha->HasBlock() && picture.HasBlock())
        OverBackdrop(*dc, picture, *alpha, area, checker);
    if (selection) selection->DrawOverlay(dc);
    return QImage(
        reinterpret_cast<uchar*>(dc->Bits()), dc->Width(), dc->Height(), qsizetype(dc->Width()) * 4,
        QImage::Format_RGB32, [](void* raster) { delete static_cast<CDC*>(raster); }, dc);
}

QSize PictureSize(const CPeltoDoc& doc) {
    return PictureSize(doc.Picture());
}

QSize PictureSize(const CDIB& picture) {
    if (!picture.HasBlock()) return {0, 0};
    return {picture.m_nWidth, picture.m_nHeight};
}

} // namespace pelto
