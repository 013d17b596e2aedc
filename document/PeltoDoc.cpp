#include "PeltoDoc.h"

#include "engine/BackgroundSelection.h"
#include "engine/Bevel.h"
#include "engine/RunFootprint.h"
#include "image/HeightDib.h"
#include "platform/MemoryLimit.h"

#include <cstring>
#include <optional>

namespace pelto {

namespace {

bool AnyFullyTransparent(const CAlphaPlane& alpha) {
    for (int y = 0; y < alpha.Height(); ++y)
        if (std::memchr(alpha.Row(y), 0, size_t(alpha.Width()))) return true;
    return false;
}

} // namespace

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
    // The snapshot keeps the opacity too.
    const uint64_t held =
        m_dib.m_nFileSize + (m_pAlpha ? uint64_t(m_dib.m_nWidth) * m_dib.m_nHeight : 0);
    memlimit::EnsureAvailable(
        EstimateRunFootprint(m_dib.m_nWidth, m_dib.m_nHeight, held, params.width, keep, threads)
            .Button());
    // Everything that can fail happens before the document changes.
    std::unique_ptr<CDIB> snapshot;
    std::unique_ptr<CAlphaPlane> alphaSnapshot;
    if (keep) {
        snapshot = std::make_unique<CDIB>();
        snapshot->Copy(m_dib);
        if (m_pAlpha) (alphaSnapshot = std::make_unique<CAlphaPlane>())->Copy(*m_pAlpha);
    }
    CHeightDIB heights(m_dib.m_nWidth, m_dib.m_nHeight);
    // Pass 1 grows a rim over transparency into the picture itself, so the
    // snapshot is taken first and the picture must not fail after it.
    const std::optional<CTransparentRim> rim =
        m_pAlpha ? std::optional<CTransparentRim>({m_dib, *m_pAlpha}) : std::nullopt;
    ComputeBevelHeights(*m_pMask, params, heights, threads, rim ? &*rim : nullptr);

    if (keep) {
        m_pUndoDIB = std::move(snapshot);
        m_pUndoAlpha = std::move(alphaSnapshot);
        m_nUndoPicture = m_nPicture;
    }
    ShadeBevel(m_dib, heights, params.contrast, threads);
    m_nPicture = ++m_nPicturesMade;
    ClearSelection();
}

void CPeltoDoc::Undo() {
    if (!m_pUndoDIB) return;
    memlimit::EnsureAvailable(m_pUndoDIB->m_nFileSize);
    m_dib.Copy(*m_pUndoDIB);
    m_pUndoDIB.reset();
    if (m_pUndoAlpha) m_pAlpha = std::move(m_pUndoAlpha);
    m_nPicture = m_nUndoPicture;
}

void CPeltoDoc::SelectTransparent() {
    // With no fully transparent pixel the mask would select nothing, yet
    // count as a selection: the picture would skip the pick a BMP asks for.
    if (m_pAlpha && AnyFullyTransparent(*m_pAlpha)) pelto::SelectTransparent(*m_pAlpha, m_pMask);
}

} // namespace pelto
