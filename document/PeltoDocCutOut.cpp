// CPeltoDoc's cut-out: the selected background made transparent, one step of
// the history.
#include "PeltoDoc.h"

#include "engine/BackgroundSelection.h"
#include "engine/CutOut.h"
#include "engine/SelectionBits.h"
#include "system/MemoryLimit.h"

#include <algorithm>
#include <new>
#include <utility>
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
    // The new opacity and selection, the edge as it is to be (a few bytes for
    // each of its pixels, a minority), and the selection's bits, which cost a
    // word for each row and plane however narrow the picture.
    return 4 * pixels + CSelectionBits::Bytes(width, height);
}

void CPeltoDoc::CutOut(unsigned threads) {
    if (!m_pMask || !m_dib.HasBlock()) return;
    const bool keep = m_undo == UndoSnapshot::Kept;
    // At most a copy of the picture for the history: the old opacity moves there.
    const uint64_t available = memlimit::AvailableBytes();
    if (CutOutBytes(m_dib.m_nWidth, m_dib.m_nHeight) + (keep ? m_dib.m_nFileSize : 0) > available)
        throw std::bad_alloc();
    // Everything that can fail happens before the document changes.
    // Written whole by the cut-out, from the opacity the picture has now.
    auto alpha =
        std::make_unique<CAlphaPlane>(m_dib.m_nWidth, m_dib.m_nHeight, CAlphaPlane::Unfilled{});
    auto transparent =
        std::make_unique<CMaskDIB>(m_dib.m_nWidth, m_dib.m_nHeight, CMaskDIB::Unfilled{});
    const std::vector<COLORREF> colours = PickColours(m_picks, m_dib, m_pAlpha.get());
    CCutOut cut(m_dib, m_pAlpha.get(), *alpha, *m_pMask, *transparent, colours, threads);
    // The pixels the cut-out recolours, unless the whole picture takes less room.
    std::unique_ptr<CDIB> before;
    CPixelPatch pixels;
    const bool patched = keep && cut.Recoloured() * CPixelPatch::kBytesPerPixel < m_dib.m_nFileSize;
    if (patched)
        pixels = CPixelPatch(cut.Recoloured());
    else if (keep)
        (before = std::make_unique<CDIB>())->Copy(m_dib);

    // The selection becomes what the cut-out left transparent, with what was
    // transparent before.
    cut.Apply(patched ? &pixels : nullptr);
    if (m_pAlpha) pelto::SelectTransparent(*alpha, transparent);
    const uint64_t was = std::exchange(m_nPicture, ++m_nPicturesMade);
    if (keep) {
        CUndoStep step(std::move(before), std::move(pixels), std::move(m_pAlpha), was);
        step.KeepSelection(std::move(m_pMask), std::move(m_picks));
        m_history.Record(std::move(step), available / 8);
    }
    m_pAlpha = std::move(alpha);
    m_pMask = std::move(transparent);
    m_picks.emplace(); // the transparency alone
}

} // namespace pelto
