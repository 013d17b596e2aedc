#pragma once
// The bevel of a part of the picture, byte for byte what MakeButton makes
// there, without the rest. A shaded pixel reads the heights up to two pixels
// away (the smoothing); a height reads the mask at its own pixel and its
// nearest pixel across the outline, no farther than the width. So the
// pixels of an area depend on the mask within the width and two more of it,
// and nothing beyond: the points are searched in a copy of that part alone.
// The points stay while the width and the outline do, as CBevelPoints keep them.

#include "BevelPoints.h"
#include "ButtonParams.h"
#include "PixelArea.h"
#include "TransparentRim.h"
#include "image/Dib.h"
#include "image/HeightDib.h"
#include "image/MaskDib.h"

#include <memory>

namespace pelto {

// How far a shaded pixel's bytes reach on the mask: the width, then the smoothing's two.
inline int BevelReach(int width) {
    return width + 2;
}

class CBevelRegion {
public:
    // The points of the band's pixels in area (within the mask), width within
    // 1..CBevelPoints::kMaxWidth, threads as for MakeButton. May throw std::bad_alloc.
    CBevelRegion(const CMaskDIB& mask, PixelArea area, int width, bool outer, unsigned threads = 0);

    // Whether it can shade area for params: the same width and outline, and
    // area within the one it was made for.
    bool Serve(const ButtonParams& params, const PixelArea& area) const {
        return m_points.Serve(params) && m_area.Contains(area);
    }
    // Makes the pixels of area (Serve must hold) in image, laid out as
    // picture, the mask's picture, those MakeButton makes of them; no other
    // byte of image changes. image may be picture itself, shaded in place
    // a part at a time, the parts apart: a part's pixels read only their
    // own colours. With a rim over image and its opacity, whose
    // source is picture, an outer band grows over transparency there as
    // MakeButton grows it: the opacity must show no soft edge
    // (CTransparentRim::SoftEdged) and hold the picture's within area.
    void Shade(const ButtonParams& params, const CDIB& picture, const PixelArea& area, CDIB& image,
               CTransparentRim* rim = nullptr);

private:
    PixelArea m_area;                 // the pixels it shades
    PixelArea m_reach;                // where its mask lies in the picture
    std::unique_ptr<CMaskDIB> m_mask; // the picture's mask within m_reach
    CBevelPoints m_points;            // of m_mask
    CHeightDIB m_heights;             // of m_mask's size
};

} // namespace pelto
