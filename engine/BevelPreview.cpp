#include "BevelPreview.h"

#include "Bevel.h"
#include "SameSize.h"

#include <cstring>
#include <optional>

namespace pelto {

CBevelPreview::CBevelPreview(const CDIB& picture, const CMaskDIB& mask, const CAlphaPlane* alpha)
    : m_mask(mask.m_nWidth, mask.m_nHeight) {
    RequireSameSize(picture, mask, "the selection is not of the picture's size");
    m_picture.Copy(picture);
    if (alpha) m_alpha.Copy(*alpha);
    if (m_mask.m_pBits)
        std::memcpy(m_mask.m_pBits, mask.m_pBits, size_t(mask.m_nStride) * size_t(mask.m_nHeight));
}

void CBevelPreview::KeptHeights(const ButtonParams& params, unsigned threads) {
    if (!m_pHeights) m_pHeights = std::make_unique<CHeightDIB>(m_mask.m_nWidth, m_mask.m_nHeight);
    if (!m_pPoints || !m_pPoints->Serve(params)) {
        // The field holds the old points' heights and zeros elsewhere: clear them.
        if (m_pPoints) m_pPoints->ClearHeights(*m_pHeights);
        m_pPoints.reset();
        m_pPoints = std::make_unique<CBevelPoints>(m_mask, params.width, params.Outer(), threads);
    }
    m_pPoints->WriteHeights(params, *m_pHeights);
}

bool CBevelPreview::SameBlock(const CDIB& result) const {
    return result.HasBlock() && result.m_nFileSize == m_picture.m_nFileSize &&
           result.m_nWidth == m_picture.m_nWidth && result.m_nHeight == m_picture.m_nHeight;
}

void CBevelPreview::CopyPicture(CDIB& result) const {
    // A result of the picture's size from an earlier render takes the bytes in place.
    if (SameBlock(result))
        std::memcpy(result.m_pFileImage.get(), m_picture.m_pFileImage.get(), m_picture.m_nFileSize);
    else
        result.Copy(m_picture);
}

void CBevelPreview::Render(const ButtonParams& params, CDIB& result, unsigned threads,
                           CAlphaPlane* resultAlpha) {
    // The rim takes its colours from the picture, never from the result it writes.
    std::optional<CTransparentRim> rim;
    if (resultAlpha && m_alpha.HasBlock()) {
        resultAlpha->Copy(m_alpha);
        rim.emplace(result, *resultAlpha, &m_picture);
    }
    CTransparentRim* grow = rim ? &*rim : nullptr;
    if (params.width < 1 || params.width > CBevelPoints::kMaxWidth) {
        // No width the dialog offers, or none at all: the plain pass.
        CHeightDIB heights(m_mask.m_nWidth, m_mask.m_nHeight);
        CopyPicture(result);
        ComputeBevelHeights(m_mask, params, heights, threads, grow);
        ShadeBevel(result, heights, params.contrast, threads, grow);
        return;
    }
    KeptHeights(params, threads);
    if (grow && params.Outer()) grow->Prepare(m_mask, params.width);
    // Only the first render into result allocates; Shade copies the picture in.
    if (!SameBlock(result)) result.Copy(m_picture);
    m_pPoints->Shade(m_picture, result, *m_pHeights, params.contrast, grow);
}

} // namespace pelto
