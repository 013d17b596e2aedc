#pragma once
// One step of the undo history: a picture the document does not show now,
// with its opacity and its id (so the document can tell whether it is the
// picture last saved), and the selection of the button the step belongs to.
// Before that button is undone the step holds the picture from before it;
// once undone, the picture from after it. A button's step holds a complete
// copy (block, size, width, height); a cut-out's, which changes few pixels,
// may hold those pixels alone. Neither is ever drawn or saved.

#include "PickRecord.h"
#include "image/AlphaPlane.h"
#include "image/Dib.h"
#include "image/MaskDib.h"
#include "image/PixelPatch.h"

#include <cstdint>
#include <memory>

namespace pelto {

class CUndoStep {
public:
    // What the step made of the picture.
    enum class Kind { Button, CutOut };

    // A button's: copies picture and, when there is one, alpha; throws
    // std::bad_alloc with nothing copied when memory runs out.
    CUndoStep(const CDIB& picture, const CAlphaPlane* alpha, uint64_t pictureId);
    // A cut-out's: the picture before it whole (taken beforehand), or the
    // pixels it recoloured as they were, and the opacity it replaced.
    CUndoStep(std::unique_ptr<CDIB> picture, CPixelPatch pixels, std::unique_ptr<CAlphaPlane> alpha,
              uint64_t pictureId) noexcept;

    Kind StepKind() const { return m_kind; }

    // A button step's picture.
    const CDIB& Picture() const { return *m_pPicture; }
    const CAlphaPlane* Opacity() const { return m_pAlpha.get(); }
    uint64_t PictureId() const { return m_nPicture; }
    // The selection the button was made with, or null, and the picks that made it.
    const CMaskDIB* Selection() const { return m_pMask.get(); }
    const PickRecord& Picks() const { return m_picks; }
    void KeepSelection(std::unique_ptr<CMaskDIB> mask, PickRecord picks) {
        m_pMask = std::move(mask);
        m_picks = std::move(picks);
    }
    // A copy of the selection for the document, which picks into its own;
    // throws std::bad_alloc when memory runs out.
    std::unique_ptr<CMaskDIB> CopySelection() const;
    // The bytes the step holds.
    uint64_t Bytes() const;

    // The document's picture, opacity and id trade places with the step's,
    // without copying (either may hold no opacity: a cut-out gives a picture one).
    void Trade(CDIB& picture, std::unique_ptr<CAlphaPlane>& alpha, uint64_t& pictureId) noexcept;

private:
    std::unique_ptr<CDIB> m_pPicture; // or null, and the pixels alone:
    CPixelPatch m_pixels;
    std::unique_ptr<CAlphaPlane> m_pAlpha;
    std::unique_ptr<CMaskDIB> m_pMask;
    PickRecord m_picks;
    uint64_t m_nPicture = 0;
    Kind m_kind;
};

} // namespace pelto
