#pragma once
// Background selection. A pixel matches the seed when its colour distance
// (sum of the three absolute channel differences) to the seed's colour is at
// most tolerance * 768 / 100. A plain pick is a global colour match: every
// matching pixel is marked selected in the mask with the checkerboard value
// ((x / 4 + y / 4) % 2) + 1. A connected pick marks only the matching pixels
// joined to the seed through edge neighbours (4-connected) that match too.
// Other pixels are left as they are, so repeated calls add to the selection.
// With an opacity plane, transparency comes first: a fully transparent seed
// matches every fully transparent pixel, whatever colour it holds, and
// nothing else; a visible seed (alpha > 0) matches visible pixels alone.

#include "BackgroundPick.h"
#include "image/AlphaPlane.h"
#include "image/Dib.h"
#include "image/MaskDib.h"

#include <memory>

namespace pelto {

// Threshold on the colour distance for a tolerance in percent (truncating).
constexpr int ToleranceThreshold(int tolerance) {
    return tolerance * 768 / 100;
}

// The mask value a selected pixel at (column, stored row) receives.
constexpr int CheckerValue(int x, int y) {
    return (x / 4 + y / 4) % 2 + 1;
}

// pick.x is the seed's column, pick.y its row counted from the top as shown.
// Creates mask at the picture's size when null; a mask or an opacity plane of
// another size is refused with std::invalid_argument. A seed outside the
// picture, or a picture without pixels, changes nothing. alpha may be null, or
// without a block, for an opaque picture. A plain pick's rows are split among
// threads (0: one per processor the process may use); a connected one is a
// single scanline fill. The mask comes out the same for any count. Should
// memory run out during a connected pick, std::bad_alloc leaves the mask as
// it was.
void SelectBackground(const CDIB& image, std::unique_ptr<CMaskDIB>& mask,
                      const BackgroundPick& pick, const CAlphaPlane* alpha = nullptr,
                      unsigned threads = 0);

// A plain pick of an opaque picture.
inline void SelectBackground(const CDIB& image, std::unique_ptr<CMaskDIB>& mask, int x,
                             int yFromTop, int tolerance, unsigned threads = 0) {
    SelectBackground(image, mask, BackgroundPick{x, yFromTop, tolerance}, nullptr, threads);
}

// Marks every fully transparent pixel (alpha 0) selected, as if it had been
// picked; the same rules of size and creation as SelectBackground.
void SelectTransparent(const CAlphaPlane& alpha, std::unique_ptr<CMaskDIB>& mask);

} // namespace pelto
