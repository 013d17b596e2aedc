#include "ViewRendering.h"

#include "docview/PeltoDoc.h"
#include "platform/Dc.h"

QImage RenderPicture(CPeltoDoc& doc, QRect area, QRgb background) {
    if (area.isEmpty()) return {};
    // The raster is handed to the image, which frees it when the last copy goes.
    auto* dc = new CDC(area.width(), area.height(), background | 0xFF000000u);
    dc->SetViewportOrg(CPoint(-area.x(), -area.y()));
    doc.m_dib.Draw(dc);
    if (doc.m_pMask) doc.m_pMask->DrawOverlay(dc);
    return QImage(
        reinterpret_cast<uchar*>(dc->Bits()), dc->Width(), dc->Height(), qsizetype(dc->Width()) * 4,
        QImage::Format_RGB32, [](void* raster) { delete static_cast<CDC*>(raster); }, dc);
}

QSize PictureSize(const CPeltoDoc& doc) {
    if (!doc.m_dib.HasBlock()) return {0, 0};
    return {doc.m_dib.m_nWidth, doc.m_dib.m_nHeight};
}
