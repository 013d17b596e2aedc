#include "UndoStep.h"

#include <utility>

namespace pelto {

CUndoStep::CUndoStep(const CDIB& picture, const CAlphaPlane* alpha, uint64_t pictureId)
    : m_nPicture(pictureId), m_kind(Kind::Button) {
    auto copy = std::make_unique<CDIB>();
    copy->Copy(picture);
    if (alpha) (m_pAlpha = std::make_unique<CAlphaPlane>())->Copy(*alpha);
    m_pPicture = std::move(copy);
}

CUndoStep::CUndoStep(std::unique_ptr<CDIB> picture, CPixelPatch pixels,
                     std::unique_ptr<CAlphaPlane> alpha, uint64_t pictureId) noexcept
    : m_pPicture(std::move(picture)), m_pixels(std::move(pixels)), m_pAlpha(std::move(alpha)),
      m_nPicture(pictureId), m_kind(Kind::CutOut) {}

std::unique_ptr<CMaskDIB> CUndoStep::CopySelection() const {
    return m_pMask ? m_pMask->Clone() : nullptr;
}

uint64_t CUndoStep::Bytes() const {
    return (m_pPicture ? m_pPicture->m_nFileSize : 0) + m_pixels.Bytes() +
           (m_pAlpha ? uint64_t(m_pAlpha->Width()) * uint64_t(m_pAlpha->Height()) : 0) +
           (m_pMask ? m_pMask->m_nFileSize : 0);
}

void CUndoStep::Trade(CDIB& picture, std::unique_ptr<CAlphaPlane>& alpha,
                      uint64_t& pictureId) noexcept {
    if (m_pPicture) {
        std::swap(picture.m_pFileImage, m_pPicture->m_pFileImage);
        std::swap(picture.m_nFileSize, m_pPicture->m_nFileSize);
        std::swap(picture.m_nWidth, m_pPicture->m_nWidth);
        std::swap(picture.m_nHeight, m_pPicture->m_nHeight);
    }
    m_pixels.Trade(picture);
    std::swap(alpha, m_pAlpha);
    std::swap(pictureId, m_nPicture);
}

} // namespace pelto
