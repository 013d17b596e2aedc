#pragma once
// CAlphaPlane: the opacity of each pixel of a picture, one byte per pixel,
// 0 transparent to 255 opaque, rows of exactly width bytes with no padding.
// Addressed like the colour image by (column, stored row); stored row 0 is
// the bottom row as shown. The block comes from block::Allocate, so no
// memory throws std::bad_alloc. A default plane has no block: the picture
// is opaque.

#include "Block.h"
#include "RasterIndex.h"

#include <cstdint>

namespace pelto {

class CAlphaPlane {
public:
    CAlphaPlane() = default;
    // A plane of width x height opaque pixels; a size of 0 or less gives none.
    CAlphaPlane(int width, int height);
    // A plane whose values are left as memory holds them, for one about to be written whole.
    struct Unfilled {};
    CAlphaPlane(int width, int height, Unfilled);
    CAlphaPlane(CAlphaPlane&&) noexcept = default;
    CAlphaPlane& operator=(CAlphaPlane&&) noexcept = default;
    CAlphaPlane(const CAlphaPlane&) = delete;
    CAlphaPlane& operator=(const CAlphaPlane&) = delete;

    CAlphaPlane& Copy(const CAlphaPlane& other);

    bool HasBlock() const { return m_pBits != nullptr; }
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    // Start of stored row y (block required).
    uint8_t* Row(int y) { return m_pBits.get() + raster::Offset(0, y, uint64_t(m_nWidth), 1); }
    const uint8_t* Row(int y) const {
        return m_pBits.get() + raster::Offset(0, y, uint64_t(m_nWidth), 1);
    }
    uint8_t GetAlpha(int x, int y) const { return Row(y)[x]; }
    void SetAlpha(int x, int y, uint8_t alpha) { Row(y)[x] = alpha; }

    // Whether any pixel is less than opaque; false without a block.
    bool HasTransparency() const;

    // A channel's value as shown over white at opacity alpha, rounded.
    static constexpr uint8_t OverWhite(uint8_t value, uint8_t alpha) {
        return uint8_t((value * alpha + 255 * (255 - alpha) + 127) / 255);
    }

private:
    uint64_t Size() const { return uint64_t(m_nWidth) * uint64_t(m_nHeight); }

    block::Ptr m_pBits;
    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
};

} // namespace pelto
