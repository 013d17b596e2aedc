#pragma once
// CHeightDIB: the bevel's height field, one signed 16-bit little-endian value
// per pixel of the colour image, held as a 16-bit BMP file image (pixels at
// 54, rows bottom-up, stride padded to 4). 0 means "not in the band"; points
// outside the field read 0 and ignore writes.

#include "Dib.h"
#include "RasterIndex.h"
#include "platform/Point.h"

#include <cstring>

namespace pelto {

// As with the mask, the block is built once and never replaced: a height
// field is a CDIB only to itself, so Copy and Serialize cannot be called on it.
class CHeightDIB : private CDIB {
public:
    CHeightDIB(int width, int height);
    // Heights as allocated, for a user that clears the rows it uses (on its
    // own thread, which then takes the first touch of the pages).
    struct Unfilled {};
    CHeightDIB(int width, int height, Unfilled);
    CHeightDIB(const CHeightDIB&) = delete;
    CHeightDIB& operator=(const CHeightDIB&) = delete;

    using CDIB::HasBlock;
    using CDIB::m_nFileSize;
    using CDIB::m_nHeight;
    using CDIB::m_nWidth;
    using CDIB::m_pFileImage;

    int GetHeight(CPoint point) const {
        if (!Inside(point)) return 0;
        int16_t v;
        std::memcpy(&v, Address(point), 2);
        return v;
    }
    // Stores the low 16 bits of value (values outside int16 wrap).
    void SetHeight(CPoint point, int value) {
        if (!Inside(point)) return;
        const auto v = static_cast<uint16_t>(value);
        std::memcpy(Address(point), &v, 2);
    }
    // As SetHeight, for a point the caller knows lies inside (the bevel's passes).
    void StoreHeight(int x, int y, int value) {
        const auto v = static_cast<uint16_t>(value);
        std::memcpy(m_pBits + raster::Offset(x, y, m_nStride, 2), &v, 2);
    }
    // Weighted mean over the 5 x 5 square without its corners: the point itself
    // weight 6 always, direct neighbours 5, the rest 4, each neighbour only
    // where its height is not 0; the division truncates toward zero.
    int GetAverageHeight(CPoint point) const;

    uint8_t* const m_pBits;
    const uint32_t m_nStride;

private:
    bool Inside(CPoint p) const {
        return m_pBits && p.x >= 0 && p.y >= 0 && p.x < m_nWidth && p.y < m_nHeight;
    }
    uint8_t* Address(CPoint p) const { return m_pBits + raster::Offset(p.x, p.y, m_nStride, 2); }
};

} // namespace pelto
