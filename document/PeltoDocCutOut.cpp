// CPeltoDoc's cut-out: the selected background made transparent, one step of
// the history.
#include "PeltoDoc.h"

#include "engine/BackgroundSelection.h"
#include "engine/CutOut.h"
#include "system/MemoryLimit.h"

#include <optional>
#include <vector>

namespace pelto {

namespace {

// The colours the picks took as background, where the picture shows them.
std::vector<COLORREF> PickColours(const PickRecord& picks, const CDIB& picture,
                                  const CAlphaPlane* alpha) {
    std::vector<COLORREF> colours;
    for (const BackgroundPick& pick : picks.value_or(std::vector<BackgroundPick>())) {
        const int stored = picture.m_nHeight - 1 - pick.y;
        if (pick.x < 0 || pick.x >= picture.m_nWidth || stored < 0 || stored >= picture.m_nHeight)
            continue;
        if (alpha && alpha->GetAlpha(pick.x, stored) == 0) continue;
        colours.push_back(picture.GetPixel(pick.x, stored));
    }
    return colours;
}

} // namespace

uint64_t CPeltoDoc::CutOutBytes(int width, int height) {
    const uint64_t pixels = uint64_t(std::max(width, 0)) * uint64_t(std::max(height, 0));
    // The new opacity and selection, and the cut-out's two planes of marks.
    return 4 * pixels;
}

void CPeltoDoc::CutOut(unsigned threads) {
    if (!m_pMask || !m_dib.HasBlock()) return;
    const bool keep = m_undo == UndoSnapshot::Kept;
    const uint64_t pixels = uint64_t(m_dib.m_nWidth) * uint64_t(m_dib.m_nHeight);
    memlimit::EnsureAvailable(CutOutBytes(m_dib.m_nWidth, m_dib.m_nHeight) +
                              (keep ? m_dib.m_nFileSize + (m_pAlpha ? pixels : 0) : 0));
    // Everything that can fail happens before the document changes.
    std::optional<CUndoStep> step;
    if (keep) step.emplace(m_dib, m_pAlpha.get(), m_nPicture, CUndoStep::Kind::CutOut);
    const uint64_t budget = keep ? memlimit::AvailableBytes() / 8 : 0;
    auto alpha = std::make_unique<CAlphaPlane>(m_dib.m_nWidth, m_dib.m_nHeight);
    if (m_pAlpha) alpha->Copy(*m_pAlpha);
    std::unique_ptr<CMaskDIB> transparent = m_pMask->Clone();
    const std::vector<COLORREF> colours = PickColours(m_picks, m_dib, m_pAlpha.get());
    // Changes the picture only once it cannot fail; the selection becomes
    // what it left transparent, with what was transparent before.
    pelto::CutOut(m_dib, *alpha, *transparent, colours, threads);
    if (m_pAlpha) pelto::SelectTransparent(*alpha, transparent);

    m_nPicture = ++m_nPicturesMade;
    if (keep) {
        step->KeepSelection(std::move(m_pMask), std::move(m_picks));
        m_history.Record(std::move(*step), budget);
    }
    m_pAlpha = std::move(alpha);
    m_pMask = std::move(transparent);
    m_picks.emplace(); // the transparency alone
}

} // namespace pelto
