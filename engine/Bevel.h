#pragma once
// Bevel generation in two passes over the whole picture, or, for a picture
// without transparency, both at once a run of rows at a time (MakeBevel).
// Pass 1 gives every band pixel a height from the direction to its nearest
// pixel across the outline and the light angle; other pixels keep height 0.
// Pass 2 shifts each band pixel's lightness by its smoothed height less twice
// the contrast. Pass 1 may allocate and throw; pass 2 does neither, so a
// caller that gets through pass 1 can commit its changes safely.
// Both passes split the rows among threads (0: one per processor the process may use); each row is
// written by one thread alone, so the result is the same for any count.

#include "Angles.h"
#include "ButtonParams.h"
#include "TransparentRim.h"
#include "image/Dib.h"
#include "image/HeightDib.h"
#include "image/MaskDib.h"

#include <functional>

namespace pelto {

// Height of a band pixel whose nearest pixel across the outline lies at
// (dx, dy) from it (dy > 0: higher up on screen).
int BevelHeight(int dx, int dy, const ButtonParams& params);
// Its two steps: the light factor, the sine of the light's angle (degrees)
// less the offset's bearing, the same double on every machine; and the
// height the button values make of it.
double LightFactor(int dx, int dy, int angle);
int HeightOfLight(double light, int dx, int dy, const ButtonParams& params);

// heights must be zero-filled; a field not of the mask's size is refused
// with std::invalid_argument. With rim, an outer band grows over the
// transparent pixels of rim's picture (TransparentRim.h), which must be of
// the mask's size; the mask must then stay until ShadeBevel.
void ComputeBevelHeights(const CMaskDIB& mask, const ButtonParams& params, CHeightDIB& heights,
                         unsigned threads = 0, CTransparentRim* rim = nullptr);
// Told that stored rows [first, last) of the picture are final, from the
// thread that shaded them, while others still shade theirs; each row once.
// It must not throw.
using RowsShaded = std::function<void(int first, int last)>;

// A field not of the image's size is refused with std::invalid_argument,
// before any pixel changes; the shading itself cannot fail. With the rim pass
// 1 grew, its soft edge is finished once the band is shaded (and the rows
// are told final only then). shaded, when given, hears of every row.
void ShadeBevel(CDIB& image, const CHeightDIB& heights, int contrast, unsigned threads = 0,
                CTransparentRim* rim = nullptr, const RowsShaded& shaded = {});

// Both passes at once for a picture without transparency, a run of rows at a
// time, with the same bytes: each run's heights are found (with the rows its
// smoothing reads) and shaded while they are fresh, so the rows are told
// final from the start and no height field of the whole picture is held.
// Throws (std::bad_alloc, or std::invalid_argument for a mask not of the
// image's size) before any pixel changes; shaded hears of every row.
void MakeBevel(CDIB& image, const CMaskDIB& mask, const ButtonParams& params, unsigned threads = 0,
               const RowsShaded& shaded = {});

} // namespace pelto
