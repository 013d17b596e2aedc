#pragma once
// One step back: the picture and its opacity as they stood before a button,
// and which of the document's pictures that was, so the document can tell
// whether undoing it brings back the picture last saved. Empty when there is
// nothing to undo. The copies are complete (block, size, width, height) and
// are never drawn or saved.

#include "image/AlphaPlane.h"
#include "image/Dib.h"

#include <cstdint>
#include <memory>

namespace pelto {

class CUndoStep {
public:
    CUndoStep() = default;
    // Copies picture and, when there is one, alpha; throws std::bad_alloc
    // with nothing copied when memory runs out.
    CUndoStep(const CDIB& picture, const CAlphaPlane* alpha, uint64_t pictureId);

    bool Holds() const { return m_pUndoDIB != nullptr; }
    const CDIB* Picture() const { return m_pUndoDIB.get(); }
    // The bytes putting it back takes.
    uint64_t RestoreBytes() const { return m_pUndoDIB ? m_pUndoDIB->m_nFileSize : 0; }
    // Puts the step back into picture and alpha and empties it; returns the
    // id of the picture it held. A step must be held.
    uint64_t RestoreInto(CDIB& picture, std::unique_ptr<CAlphaPlane>& alpha);

private:
    std::unique_ptr<CDIB> m_pUndoDIB;
    std::unique_ptr<CAlphaPlane> m_pUndoAlpha;
    uint64_t m_nPicture = 0;
};

} // namespace pelto
