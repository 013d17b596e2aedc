#include "PeltoDoc.h"

#include "engine/BackgroundSelection.h"
#include "engine/Bevel.h"
#include "image/HeightDib.h"

void CPeltoDoc::SelectBackground(int x, int y, int tolerance, unsigned threads) {
    ::SelectBackground(m_dib, m_pMask, x, y, tolerance, threads);
}

void CPeltoDoc::MakeButton(ButtonParams params, unsigned threads) {
    if (!m_pMask) return;
    // Everything that can fail happens before the document changes.
    auto snapshot = std::make_unique<CDIB>();
    snapshot->Copy(m_dib);
    CHeightDIB heights(m_dib.m_nWidth, m_dib.m_nHeight);
    ComputeBevelHeights(*m_pMask, params, heights, threads);

    m_pUndoDIB = std::move(snapshot);
    ShadeBevel(m_dib, heights, params.contrast, threads);
    ClearSelection();
}

void CPeltoDoc::Undo() {
    if (!m_pUndoDIB) return;
    m_dib.Copy(*m_pUndoDIB);
    m_pUndoDIB.reset();
}
