#pragma once
// Renders the bevel MakeButton would make, again and again for new button
// values, on copies of a picture and its selection taken once, so that the
// document is never touched. The result is byte for byte what MakeButton
// writes into the picture. The nearest points are kept while the width and
// the outline stay, so a new angle, contrast or profile costs only the
// heights and the shading. One render at a time: it is not for several threads.
// A picture with transparency renders its opacity too, the outer band's rim
// grown as MakeButton grows it.

#include "BevelPoints.h"
#include "ButtonParams.h"
#include "image/AlphaPlane.h"
#include "image/Dib.h"
#include "image/HeightDib.h"
#include "image/MaskDib.h"

#include <memory>

namespace pelto {

class CBevelPreview {
public:
    // Copies all three; may throw std::bad_alloc, and std::invalid_argument
    // for a selection not of the picture's size.
    CBevelPreview(const CDIB& picture, const CMaskDIB& mask, const CAlphaPlane* alpha = nullptr);

    // Makes result the picture with the bevel of params, and resultAlpha (when
    // given) its opacity; may throw std::bad_alloc.
    void Render(const ButtonParams& params, CDIB& result, unsigned threads = 0,
                CAlphaPlane* resultAlpha = nullptr);

private:
    // m_pHeights holds the heights of params from kept points, searched
    // again only when the width or the outline changed.
    void KeptHeights(const ButtonParams& params, unsigned threads);
    // Whether result holds a block laid out as the picture's, to be reused.
    bool SameBlock(const CDIB& result) const;
    void CopyPicture(CDIB& result) const;

    CDIB m_picture;
    CMaskDIB m_mask;
    CAlphaPlane m_alpha; // none for an opaque picture
    std::unique_ptr<CBevelPoints> m_pPoints;
    std::unique_ptr<CHeightDIB> m_pHeights;
};

} // namespace pelto
