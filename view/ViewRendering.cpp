#include "ViewRendering.h"

#include "document/PeltoDoc.h"
#include "platform/Dc.h"

namespace pelto {

QImage RenderPicture(CPeltoDoc& doc, QRect area, QRgb background) {
    return RenderPicture(doc.m_dib, doc.m_pMask.get(), area, background);
}

QImage RenderPicture(const CDIB& picture, CMaskDIB* selection, QRect area, QRgb background) {
    if (area.isEmpty()) return {};
    // The raster is handed to the image, which frees it when the last copy goes.
    auto* dc = new CDC(area.width(), area.height(), background | 0xFF000000u);
    dc->SetViewportOrg(CPoint(-area.x(), -area.y()));
    picture.Draw(dc);
    if (selection) selection->DrawOverlay(dc);
    return QImage(
        reinterpret_cast<uchar*>(dc->Bits()), dc->Width(), dc->Height(), qsizetype(dc->Width()) * 4,
        QImage::Format_RGB32, [](void* raster) { delete static_cast<CDC*>(raster); }, dc);
}

QSize PictureSize(const CPeltoDoc& doc) {
    return PictureSize(doc.m_dib);
}

QSize PictureSize(const CDIB& picture) {
    if (!picture.HasBlock()) return {0, 0};
    return {picture.m_nWidth, picture.m_nHeight};
}

} // namespace pelto
