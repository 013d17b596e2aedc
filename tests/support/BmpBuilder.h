#pragma once
// Builds BMP file images for tests: 24-bit pictures with optional colour
// table or gap before the pixels and bytes after them, and raw byte access.

#include "platform/ColorRef.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pelto {

class CDIB;

using Bytes = std::vector<uint8_t>;
// Colour of the pixel at column x, row counted from the top as shown.
using PixelFn = std::function<COLORREF(int x, int yFromTop)>;

struct BmpOptions {
    uint32_t gapBytes = 0;      // bytes between the headers and the pixels (a colour table, say)
    uint32_t trailingBytes = 0; // bytes after the pixel array
};

Bytes MakeBmp24(int width, int height, const PixelFn& colour, BmpOptions options = {});
Bytes MakeBmp24(int width, int height, COLORREF fill);
// A size x size picture: a square of `square` over the middle half, `around` elsewhere.
Bytes SquareBmp(int size, COLORREF square = RGB(128, 128, 128),
                COLORREF around = RGB(255, 255, 255));

// A colour of its own for each pixel of a small picture, unlike its neighbours'.
COLORREF PatternColour(int x, int y);
// A red disc in the middle of a light grey picture, a logo to make a button of.
Bytes LogoBmp(int width, int height, BmpOptions options = {});

// Pixel as shown (row from the top) of a loaded picture.
COLORREF ShownPixel(const CDIB& dib, int x, int yFromTop);

void LoadBytes(CDIB& dib, const Bytes& bytes);
// The whole file block of a picture, a mask or a height field (empty without one).
template <class Raster> Bytes BlockBytes(const Raster& raster) {
    if (!raster.m_pFileImage) return {};
    return Bytes(raster.m_pFileImage.get(), raster.m_pFileImage.get() + raster.m_nFileSize);
}
void WriteFileBytes(const std::string& path, const Bytes& bytes);
Bytes ReadFileBytes(const std::string& path);

void PutU16(Bytes& b, size_t offset, uint16_t v);
void PutU32(Bytes& b, size_t offset, uint32_t v);

} // namespace pelto
