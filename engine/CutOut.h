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
#include "image/PixelPatch.h"
#include "platform/ColorRef.h"

#include <cstdint>
#include <span>
#include <vector>

namespace pelto {

// A shape pixel this far along F - B (in 255ths) counts as wholly shape.
inline constexpr int kWholeShare = 240;

// A cut-out worked out whole before anything changes, then applied. image of
// selection's size, opacity its opacity now (null: opaque), alpha the plane
// the new opacity is written to and transparent the mask the new selection
// is, each of the same size (their values unused before; they may be opacity
// and selection themselves). backgrounds: the colours of the picks
// that made the selection (none: each selected pixel's own colour). The
// edge's pixels are found and unmixed on threads (0: one per processor the
// process may use); the bytes are the same for any count.
class CCutOut {
public:
    // May throw std::bad_alloc, or std::invalid_argument for rasters that
    // differ in size, with nothing changed.
    CCutOut(CDIB& image, const CAlphaPlane* opacity, CAlphaPlane& alpha, const CMaskDIB& selection,
            CMaskDIB& transparent, std::span<const COLORREF> backgrounds, unsigned threads = 0);
    CCutOut(const CCutOut&) = delete;
    CCutOut& operator=(const CCutOut&) = delete;

    // How many pixels Apply gives another colour.
    uint64_t Recoloured() const { return m_nRecoloured; }
    // Makes the cut-out: transparent becomes the pixels left fully
    // transparent. before, when given (with room for Recoloured() pixels),
    // keeps the colours the recoloured pixels had. Once only.
    void Apply(CPixelPatch* before = nullptr) noexcept;

private:
    // An edge pixel as it is to be, by its index in the picture (row by stored row).
    struct Unmixed {
        uint32_t pixel;
        uint8_t r, g, b;
        uint8_t opacity;
        bool recoloured;
    };
    // A run of rows: its edge's pixels in m_pEdge, in the rows' order, and
    // where the colours it recolours start among all those kept.
    struct Run {
        uint64_t first = 0, count = 0;
        uint64_t recoloured = 0, firstKept = 0;
    };
    Unmixed* Edge() const { return reinterpret_cast<Unmixed*>(m_pEdge.get()); }

    CDIB& m_image;
    const CAlphaPlane* m_pOpacity;
    CAlphaPlane& m_alpha;
    const CMaskDIB& m_selection;
    CMaskDIB& m_transparent;
    const unsigned m_nThreads;
    std::vector<Run> m_runs;
    block::Ptr m_pEdge;
    uint64_t m_nRecoloured = 0;
};

} // namespace pelto
