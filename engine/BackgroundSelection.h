#pragma once
// Background selection: a global colour match, not a flood fill. Every pixel
// whose colour distance (sum of the three absolute channel differences) to the
// seed's colour is at most tolerance * 768 / 100 is marked selected in the
// mask with the checkerboard value ((x / 4 + y / 4) % 2) + 1; other pixels are
// left as they are, so repeated calls add to the selection.

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

// x is the seed's column, yFromTop its row counted from the top as shown.
// Creates mask at the picture's size when null; a mask of another size is
// refused with std::invalid_argument. A seed outside the picture,
// or a picture without pixels, changes nothing. The rows are split among
// threads (0: one per processor the process may use); the mask comes out the same for any count.
void SelectBackground(const CDIB& image, std::unique_ptr<CMaskDIB>& mask, int x, int yFromTop,
                      int tolerance, unsigned threads = 0);

// Marks every fully transparent pixel (alpha 0) selected, as if it had been
// picked; the same rules of size and creation as SelectBackground.
void SelectTransparent(const CAlphaPlane& alpha, std::unique_ptr<CMaskDIB>& mask);

} // namespace pelto
