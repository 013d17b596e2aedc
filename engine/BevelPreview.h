#pragma once
// Renders the bevel MakeButton would make, again and again for new button
// values, on copies of a picture and its selection taken once, so that the
// document is never touched. The result is byte for byte what MakeButton
// writes into the picture. The nearest points are kept while the width and
// the outline stay, so a new angle, contrast or profile costs only the
// heights and the shading. One render at a time: it is not for several threads.
// A picture with transparency renders its opacity too, the outer band's rim
// grown as MakeButton grows it.
// RenderArea shades only a part, the one in sight, with the same bytes there.

#include "BevelPoints.h"
#include "BevelRegion.h"
#include "ButtonParams.h"
#include "PixelArea.h"
#include "image/AlphaPlane.h"
#include "image/Dib.h"
#include "image/HeightDib.h"
#include "image/MaskDib.h"

#include <memory>
#include <optional>
#include <vector>

namespace pelto {

// A preview of parts: the picture (and its opacity, for one with
// transparency) with the bevel of params over the shaded areas and the
// picture's own pixels everywhere else, never another bevel's.
struct CPreviewCanvas {
    CDIB picture;
    CAlphaPlane alpha;
    std::optional<ButtonParams> params; // whose bevel it shows
    std::vector<PixelArea> shaded;      // the last few areas shaded for params
    PixelArea touched;                  // where it may differ from the picture
};

class CBevelPreview {
public:
    // Copies all three; may throw std::bad_alloc, and std::invalid_argument
    // for a selection not of the picture's size.
    CBevelPreview(const CDIB& picture, const CMaskDIB& mask, const CAlphaPlane* alpha = nullptr);

    // Makes result the picture with the bevel of params, and resultAlpha (when
    // given) its opacity; may throw std::bad_alloc.
    void Render(const ButtonParams& params, CDIB& result, unsigned threads = 0,
                CAlphaPlane* resultAlpha = nullptr);
    // Makes canvas show the bevel of params over area (stored rows, cut to
    // the picture) with Render's bytes there, keeping what it showed of the
    // same params' bevel and the picture elsewhere. A canvas of no picture
    // or another one's size is made anew. A soft-edged outer rim, a width
    // beyond the kept points' or an area of the whole picture is rendered
    // whole. May throw std::bad_alloc, leaving a canvas that the next call
    // makes right.
    void RenderArea(const ButtonParams& params, PixelArea area, CPreviewCanvas& canvas,
                    unsigned threads = 0);

private:
    // m_pHeights holds the heights of params from kept points, searched
    // again only when the width or the outline changed.
    void KeptHeights(const ButtonParams& params, unsigned threads);
    // Whether result holds a block laid out as the picture's, to be reused.
    bool SameBlock(const CDIB& result) const;
    void CopyPicture(CDIB& result) const;
    // The canvas's touched pixels back to the picture's.
    void Restore(CPreviewCanvas& canvas) const;
    bool RendersWhole(const ButtonParams& params, const PixelArea& area) const;
    void ShadeArea(const ButtonParams& params, const PixelArea& area, CPreviewCanvas& canvas,
                   unsigned threads);

    CDIB m_picture;
    CMaskDIB m_mask;
    CAlphaPlane m_alpha; // none for an opaque picture
    std::unique_ptr<CBevelPoints> m_pPoints;
    std::unique_ptr<CHeightDIB> m_pHeights;
    bool m_bSoftEdge;                        // the opacity has values between none and full
    std::unique_ptr<CBevelRegion> m_pRegion; // the last area's points
};

} // namespace pelto
