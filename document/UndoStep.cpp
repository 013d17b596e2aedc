#include "UndoStep.h"

namespace pelto {

CUndoStep::CUndoStep(const CDIB& picture, const CAlphaPlane* alpha, uint64_t pictureId)
    : m_nPicture(pictureId) {
    auto copy = std::make_unique<CDIB>();
    copy->Copy(picture);
    if (alpha) (m_pUndoAlpha = std::make_unique<CAlphaPlane>())->Copy(*alpha);
    m_pUndoDIB = std::move(copy);
}

uint64_t CUndoStep::RestoreInto(CDIB& picture, std::unique_ptr<CAlphaPlane>& alpha) {
    picture.Copy(*m_pUndoDIB);
    m_pUndoDIB.reset();
    // A picture has opacity from its file on: a step holds it exactly when the picture does.
    if (m_pUndoAlpha) alpha = std::move(m_pUndoAlpha);
    return m_nPicture;
}

} // namespace pelto
