#include "BevelPreview.h"

#include "Bevel.h"

#include <cstring>

CBevelPreview::CBevelPreview(const CDIB& picture, const CMaskDIB& mask)
    : m_mask(mask.m_nWidth, mask.m_nHeight) {
    m_picture.Copy(picture);
    if (m_mask.m_pBits)
        std::memcpy(m_mask.m_pBits, mask.m_pBits, size_t(mask.m_nStride) * size_t(mask.m_nHeight));
}

void CBevelPreview::Render(const ButtonParams& params, CDIB& result, unsigned threads) {
    CHeightDIB heights(m_picture.m_nWidth, m_picture.m_nHeight);
    ComputeBevelHeights(m_mask, params, heights, threads);
    result.Copy(m_picture);
    ShadeBevel(result, heights, params.contrast, threads);
}
