#pragma once
// Pass 1's nearest points, kept: every pixel of the band with the offset to
// its nearest pixel across the outline. They depend only on the mask, the
// width and the outline, so heights for any angle, contrast and profile come
// from them without a new search, and are the heights ComputeBevelHeights
// writes. Six bytes per band pixel, kept in the row bands of the threads
// that found them, each of which writes its own rows again.

#include "ButtonParams.h"
#include "PixelArea.h"
#include "TransparentRim.h"
#include "image/Dib.h"
#include "image/HeightDib.h"
#include "image/MaskDib.h"

#include <cstdint>
#include <vector>

namespace pelto {

class CBevelPoints {
public:
    // Offsets are kept as an index into the (2 width + 1)² square, in 16 bits.
    static constexpr int kMaxWidth = 127;

    // width within 1..kMaxWidth; threads as for MakeButton. May throw std::bad_alloc.
    CBevelPoints(const CMaskDIB& mask, int width, bool outer, unsigned threads = 0);

    // Whether these points serve params: the same width and outline.
    bool Serve(const ButtonParams& params) const {
        return params.width == m_nWidth && params.Outer() == m_bOuter;
    }
    // Writes the heights of params at the band's pixels and leaves the others
    // as they are: into a zero-filled field, what ComputeBevelHeights writes.
    // heights must be of the mask's size and Serve(params) hold.
    void WriteHeights(const ButtonParams& params, CHeightDIB& heights) const;
    // Sets the band's pixels of heights back to 0.
    void ClearHeights(CHeightDIB& heights) const;
    // Makes image the picture shaded as ShadeBevel shades it for heights that
    // WriteHeights wrote, without looking for the band: the same bytes. Each
    // thread copies its own rows just before shading them, so the copy runs on
    // every thread and from the cache. picture, image and heights must be of
    // the mask's size, and image's block of picture's length.
    // With rim, whose source must be picture and which Prepare readied for
    // the mask and width, an outer band first grows over transparency as
    // ComputeBevelHeights grows it, and its edge is finished as ShadeBevel does.
    void Shade(const CDIB& picture, CDIB& image, const CHeightDIB& heights, int contrast,
               CTransparentRim* rim = nullptr) const;
    // Shades, as Shade does, only the band's pixels within area (of the
    // mask), into image where the mask lies at `at`, and copies nothing: the
    // pixels must hold the picture's already. With rim, over image in its
    // own coordinates and readied for a hard edge alone (no Finish), an outer
    // band grows there first.
    void ShadeArea(CDIB& image, CPoint at, const PixelArea& area, const CHeightDIB& heights,
                   int contrast, CTransparentRim* rim = nullptr) const;

private:
    struct Band {
        std::vector<uint32_t> pixels;  // y * columns + x
        std::vector<uint16_t> offsets; // (dy + width) * (2 width + 1) + dx + width
    };
    // visit(band, i, x, y) for every kept point, each band on its own thread.
    template <typename Visit> void ForEachPoint(Visit visit) const;
    template <typename Visit> void VisitBand(const Band& band, Visit& visit) const;
    // heights at every kept point from height(band, i).
    template <typename Height> void WriteEach(CHeightDIB& heights, Height height) const;

    int m_nColumns;
    int m_nRows;
    int m_nWidth;
    bool m_bOuter;
    std::vector<Band> m_bands;
};

} // namespace pelto
