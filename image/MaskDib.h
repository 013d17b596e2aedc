#pragma once
// CMaskDIB: the selection mask, one byte per pixel of the colour image, held
// as an 8-bit paletted BMP file image (pixels at 1078, rows bottom-up, stride
// padded to 4). Addressed like the colour image by (column, stored row).
// 0 = not selected (the shape); 1 and 2 = selected (background), laid down
// as a 4 x 4 checkerboard that only the overlay drawing tells apart.

#include "Dib.h"
#include "RasterIndex.h"
#include "platform/Point.h"

#include <memory>

namespace pelto {

// The block is built once and never replaced: a mask is a CDIB only to
// itself, so the picture's Copy and Serialize, which would swap the block from
// under the pixel pointer, cannot be called on it.
class CMaskDIB : private CDIB {
public:
    static constexpr uint32_t kOffBits = 1078;
    // The grey level the overlay paints a selected pixel in: value 1 grey, 2 white.
    static constexpr uint8_t OverlayLevel(uint8_t value) { return value == 1 ? 128 : 255; }

    CMaskDIB(int width, int height);
    // Marks (and row padding) as allocated, for a writer of every row whole.
    struct Unfilled {};
    CMaskDIB(int width, int height, Unfilled);
    // A copy, marks and all; throws std::bad_alloc when memory runs out.
    std::unique_ptr<CMaskDIB> Clone() const;
    CMaskDIB(const CMaskDIB&) = delete;
    CMaskDIB& operator=(const CMaskDIB&) = delete;

    using CDIB::HasBlock;
    using CDIB::m_nFileSize;
    using CDIB::m_nHeight;
    using CDIB::m_nWidth;
    using CDIB::m_pFileImage;

    // The value as a signed byte, or -1 outside the mask or without a block.
    int GetValue(CPoint point) const {
        if (!m_pBits || point.x < 0 || point.y < 0 || point.x >= m_nWidth || point.y >= m_nHeight)
            return -1;
        return static_cast<int8_t>(m_pBits[raster::Offset(point.x, point.y, m_nStride, 1)]);
    }
    // Stores the low 8 bits of value; the caller keeps the point inside the mask.
    void SetValue(CPoint point, int value) {
        if (m_pBits) m_pBits[raster::Offset(point.x, point.y, m_nStride, 1)] = uint8_t(value);
    }

    // Brute-force searches over the (2 radius + 1)^2 window: the nearest point
    // of the other kind within Euclidean distance radius; among equal distances
    // the one scanned last (larger y, then larger x) wins. found is written only
    // on success.
    bool FindNearestUnselected(CPoint start, CPoint& found, int radius) const;
    bool FindNearestSelected(CPoint start, CPoint& found, int radius) const;

    // Paints selected pixels over the picture: value 1 grey, value 2 white.
    void DrawOverlay(CDC* dc);

    uint8_t* const m_pBits;
    const uint32_t m_nStride;
};

} // namespace pelto
