#include "PeltoDoc.h"

#include "engine/BackgroundSelection.h"
#include "engine/Bevel.h"
#include "engine/RunFootprint.h"
#include "image/HeightDib.h"
#include "platform/MemoryLimit.h"

namespace pelto {

void CPeltoDoc::SelectBackground(int x, int y, int tolerance, unsigned threads) {
    if (!m_pMask && m_dib.HasBlock())
        memlimit::EnsureAvailable(
            EstimateRunFootprint(m_dib.m_nWidth, m_dib.m_nHeight, m_dib.m_nFileSize, 0, false, 0)
                .mask);
    pelto::SelectBackground(m_dib, m_pMask, x, y, tolerance, threads);
}

void CPeltoDoc::MakeButton(ButtonParams params, unsigned threads) {
    if (!m_pMask) return;
    const bool keep = m_undo == UndoSnapshot::Kept;
    memlimit::EnsureAvailable(EstimateRunFootprint(m_dib.m_nWidth, m_dib.m_nHeight,
                                                   m_dib.m_nFileSize, params.width, keep, threads)
                                  .Button());
    // Everything that can fail happens before the document changes.
    std::unique_ptr<CDIB> snapshot;
    if (keep) {
        snapshot = std::make_unique<CDIB>();
        snapshot->Copy(m_dib);
    }
    CHeightDIB heights(m_dib.m_nWidth, m_dib.m_nHeight);
    ComputeBevelHeights(*m_pMask, params, heights, threads);

    if (keep) m_pUndoDIB = std::move(snapshot);
    ShadeBevel(m_dib, heights, params.contrast, threads);
    ClearSelection();
}

void CPeltoDoc::Undo() {
    if (!m_pUndoDIB) return;
    memlimit::EnsureAvailable(m_pUndoDIB->m_nFileSize);
    m_dib.Copy(*m_pUndoDIB);
    m_pUndoDIB.reset();
}

} // namespace pelto
