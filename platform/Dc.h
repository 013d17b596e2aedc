#pragma once
// A memory device context: a 32-bit raster of Width x Height device pixels,
// each 0xFFRRGGBB (the layout of QImage::Format_RGB32), row 0 at the top.
// Logical coordinates become device coordinates by adding the viewport origin.
// The blits take a bottom-up DIB (bits + BITMAPINFOHEADER, 24-bit or 8-bit
// paletted), copy it 1:1 and clip to the raster, so drawing a huge picture
// into a small context only touches the visible pixels.

#include "Point.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pelto {

using DWORD = uint32_t;

constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086; // destination OR source
constexpr DWORD SRCAND = 0x008800C6;   // destination AND source

class CDC {
public:
    CDC(int width, int height, uint32_t fill = 0xFFFFFFFFu);

    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    uint32_t* Bits() { return m_pixels.data(); }
    const uint32_t* Bits() const { return m_pixels.data(); }
    // Device pixel at (x, y), 0xFFRRGGBB.
    uint32_t PixelAt(int x, int y) const {
        return m_pixels[size_t(y) * size_t(m_nWidth) + size_t(x)];
    }

    CPoint SetViewportOrg(CPoint origin);

    // 24-bit DIB copied 1:1 with its top-left corner at logical (x, y); width and
    // height are the part of the DIB to copy, counted from its top-left pixel.
    void SetDIBitsToDevice(int x, int y, uint32_t width, uint32_t height, const uint8_t* bits,
                           const uint8_t* bitmapInfo);
    // 8-bit paletted (or 24-bit) DIB copied 1:1 with a raster operation.
    void StretchDIBits(int x, int y, uint32_t width, uint32_t height, const uint8_t* bits,
                       const uint8_t* bitmapInfo, DWORD rop);

private:
    void Blit(int x, int y, uint32_t width, uint32_t height, const uint8_t* bits,
              const uint8_t* bitmapInfo, DWORD rop);

    int m_nWidth;
    int m_nHeight;
    CPoint m_origin;
    std::vector<uint32_t> m_pixels;
};

} // namespace pelto
