#pragma once
// Cutting the selected background out of a picture: it becomes transparent,
// and the shape's anti-aliased edge loses the old background's fringe.
//
// A pixel is taken to mix the shape's colour F with a background colour B by
// the shape's share a: C = a F + (1 - a) B. Away from the edge, selected
// pixels become transparent and the others stay as they are. On the edge —
// the pixels of either kind within two pixels (in every direction) of the
// other kind — each pixel is unmixed:
//  - B is the colour of the pick (of picks, the one whose colour lies nearest
//    a selected pixel's, by the selection's colour distance) that took the
//    pixel, or, for a shape pixel, the nearest selected pixel;
//  - F is the mean of the shape's inner pixels (those beyond the edge) within
//    two pixels, or, where there are none (a thin stroke), the shape pixel
//    within two pixels that lies farthest from B;
//  - a is C's share along F - B (its projection, in 255ths), raised to the
//    least share that keeps the unmixed colour within 0..255, and the colour
//    becomes B + (C - B) / a, so that laid over B again it is C, to rounding.
// A selected pixel within 2 levels of B on every channel becomes fully
// transparent, and a shape pixel with a share of at least kWholeShare fully
// opaque, keeping its colour. Plain integer arithmetic, rounded half away
// from zero: every machine gives the same bytes. The opacity the picture had
// is multiplied in.

#include "image/AlphaPlane.h"
#include "image/Dib.h"
#include "image/MaskDib.h"
#include "platform/ColorRef.h"

#include <span>

namespace pelto {

// A shape pixel this far along F - B (in 255ths) counts as wholly shape.
inline constexpr int kWholeShare = 240;

// image and alpha (which must have a block) of selection's size; backgrounds:
// the colours of the picks that made the selection (none: each selected
// pixel's own colour). The selection becomes the pixels left fully
// transparent. The edge's pixels are unmixed on threads (0: one per
// processor the process may use); the bytes are the same for any count. May
// throw std::bad_alloc with nothing changed.
void CutOut(CDIB& image, CAlphaPlane& alpha, CMaskDIB& selection,
            std::span<const COLORREF> backgrounds, unsigned threads = 0);

} // namespace pelto
