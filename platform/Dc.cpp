#include "Dc.h"

#include "BmpLayout.h"
#include "LittleEndian.h"

#include <algorithm>

namespace pelto {

namespace {

uint32_t Device(uint8_t blue, uint8_t green, uint8_t red) {
    return 0xFF000000u | (uint32_t(red) << 16) | (uint32_t(green) << 8) | blue;
}

} // namespace

CDC::CDC(int width, int height, uint32_t fill)
    : m_nWidth(std::max(width, 0)), m_nHeight(std::max(height, 0)),
      m_pixels(size_t(m_nWidth) * size_t(m_nHeight), fill) {}

CPoint CDC::SetViewportOrg(CPoint origin) {
    const CPoint old = m_origin;
    m_origin = origin;
    return old;
}

void CDC::SetDIBitsToDevice(int x, int y, uint32_t width, uint32_t height, const uint8_t* bits,
                            const uint8_t* bitmapInfo) {
    Blit(x, y, width, height, bits, bitmapInfo, SRCCOPY);
}

void CDC::StretchDIBits(int x, int y, uint32_t width, uint32_t height, const uint8_t* bits,
                        const uint8_t* bitmapInfo, DWORD rop) {
    Blit(x, y, width, height, bits, bitmapInfo, rop);
}

void CDC::Blit(int x, int y, uint32_t width, uint32_t height, const uint8_t* bits,
               const uint8_t* bitmapInfo, DWORD rop) {
    const int32_t dibWidth = static_cast<int32_t>(ReadLE32(bitmapInfo + bmp::InInfo(bmp::biWidth)));
    const int32_t dibHeight =
        static_cast<int32_t>(ReadLE32(bitmapInfo + bmp::InInfo(bmp::biHeight)));
    const uint16_t bitCount = ReadLE16(bitmapInfo + bmp::InInfo(bmp::biBitCount));
    if (dibWidth <= 0 || dibHeight <= 0 || (bitCount != 24 && bitCount != 8)) return;
    if (rop != SRCCOPY && rop != SRCPAINT && rop != SRCAND) return;

    const int64_t stride = int64_t(bmp::RowStride(dibWidth, bitCount));
    const uint8_t* palette = bitmapInfo + bmp::kInfoHeaderSize;
    const int64_t copyWidth = std::min<int64_t>(width, dibWidth);
    const int64_t copyHeight = std::min<int64_t>(height, dibHeight);

    // Device rectangle covered, clipped to the raster.
    const int64_t left = int64_t(x) + m_origin.x;
    const int64_t top = int64_t(y) + m_origin.y;
    const int64_t x0 = std::max<int64_t>(left, 0);
    const int64_t y0 = std::max<int64_t>(top, 0);
    const int64_t x1 = std::min<int64_t>(left + copyWidth, m_nWidth);
    const int64_t y1 = std::min<int64_t>(top + copyHeight, m_nHeight);

    for (int64_t dy = y0; dy < y1; ++dy) {
        const int64_t rowFromTop = dy - top;
        const uint8_t* src = bits + (dibHeight - 1 - rowFromTop) * stride;
        uint32_t* dst = m_pixels.data() + dy * m_nWidth;
        for (int64_t dx = x0; dx < x1; ++dx) {
            const int64_t col = dx - left;
            uint32_t value;
            if (bitCount == 24) {
                const uint8_t* p = src + 3 * col;
                value = Device(p[0], p[1], p[2]);
            } else {
                const uint8_t* entry = palette + 4 * size_t(src[col]);
                value = Device(entry[0], entry[1], entry[2]);
            }
            switch (rop) {
            case SRCPAINT:
                dst[dx] |= value;
                break;
            case SRCAND:
                dst[dx] &= value;
                break;
            default:
                dst[dx] = value;
                break;
            }
        }
    }
}

} // namespace pelto
