#pragma once
// What the shape, grown by a band's width, covers of a pixel near it, on a
// soft-edged picture. Each shape pixel (one the mask does not select) holds
// a straight edge across the direction to the pixel, placed inside it by its
// opacity, and reaches in as far as that edge grown by the width; the pixel
// takes the part any of them covers. Which shape pixel a search found does
// not matter, so mirror images get the same, and more shape never covers
// less. Made once per band, keeping a bit per pixel of the shape; then read
// by any number of threads.

#include "EdgeCover.h"
#include "image/AlphaPlane.h"
#include "image/MaskDib.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pelto {

class CRimCover {
public:
    // Mask and alpha must stay, unchanged where the mask does not select,
    // while this is read. May throw std::bad_alloc.
    CRimCover(const CMaskDIB& mask, const CAlphaPlane& alpha, int width);
    // About the most one for a picture of columns x rows holds.
    static uint64_t Bytes(int columns, int rows, int width);

    // The opacity of pixel (x, y), in stored rows, which must not lie deeper
    // than W - 1.5 in the band.
    uint8_t At(int x, int y) const;
    // Whether the shape pixel (shapeX, shapeY) alone covers all of (x, y).
    bool Covers(int x, int y, int shapeX, int shapeY) const;

private:
    // A row of the offsets from a pixel to the shape pixels that can reach
    // into it: bits of a window from dx = -extent to extent, and the
    // directions across the window.
    struct RingRow {
        int dy, direction;
        size_t pattern;
    };
    const CAlphaPlane& m_alpha;
    int m_nWidth, m_nExtent, m_nWindowWords, m_nPadWords;
    size_t m_nWords; // across a row of m_shape
    std::vector<RingRow> m_ring;
    std::vector<EdgeDirection> m_directions;
    std::vector<uint64_t> m_pattern;
    std::vector<uint64_t> m_shape; // a bit for each shape pixel
};

} // namespace pelto
