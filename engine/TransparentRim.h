#pragma once
// An outer band over transparency. Where the band lies on pixels the picture
// does not show (alpha 0) there is no colour to shade, so each such band
// pixel takes the colour of the shape pixel its search found and becomes
// opaque before pass 2: the button grows its rim outward. Every other pixel,
// and every pixel of an inner band, keeps its colour and opacity.
// Band pixels are selected and found points are not, so the threads of
// pass 1 never write a pixel another one reads.

#include "image/AlphaPlane.h"
#include "image/Dib.h"

#include <cstring>

namespace pelto {

struct CTransparentRim {
    CDIB& image;
    CAlphaPlane& alpha;
    // Where the colours come from: image itself, unless a copy of it is given.
    const CDIB* source = nullptr;

    // The band pixel (x, y) whose search found (foundX, foundY), in stored rows.
    void Take(int x, int y, int foundX, int foundY) const {
        uint8_t& opacity = alpha.Row(y)[x];
        if (opacity != 0) return;
        const CDIB& from = source ? *source : image;
        std::memcpy(image.Row(y) + 3 * size_t(x), from.Row(foundY) + 3 * size_t(foundX), 3);
        opacity = 255;
    }
};

} // namespace pelto
