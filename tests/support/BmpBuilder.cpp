#include "BmpBuilder.h"

#include "image/Dib.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace pelto {

void PutU16(Bytes& b, size_t offset, uint16_t v) {
    b.at(offset) = uint8_t(v);
    b.at(offset + 1) = uint8_t(v >> 8);
}

void PutU32(Bytes& b, size_t offset, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.at(offset + i) = uint8_t(v >> (8 * i));
}

Bytes MakeBmp24(int width, int height, const PixelFn& colour, BmpOptions options) {
    const uint32_t stride = (uint32_t(width) * 3 + 3) & ~3u;
    const uint32_t offBits = 54 + options.gapBytes;
    const uint32_t size = offBits + stride * uint32_t(height) + options.trailingBytes;
    Bytes b(size, 0);
    b[0] = 'B';
    b[1] = 'M';
    PutU32(b, 2, size);
    PutU32(b, 10, offBits);
    PutU32(b, 14, 40);
    PutU32(b, 18, uint32_t(width));
    PutU32(b, 22, uint32_t(height));
    PutU16(b, 26, 1);
    PutU16(b, 28, 24);
    PutU32(b, 34, stride * uint32_t(height));
    for (uint32_t i = 0; i < options.gapBytes; ++i)
        b[54 + i] = uint8_t(i * 7 + 3);
    for (uint32_t i = 0; i < options.trailingBytes; ++i)
        b[size - options.trailingBytes + i] = uint8_t(i * 13 + 5);
    // Row padding gets a recognisable value so a round trip shows it is kept.
    for (int r = 0; r < height; ++r)
        for (uint32_t pad = uint32_t(width) * 3; pad < stride; ++pad)
            b[offBits + r * stride + pad] = 0xA5;
    for (int yTop = 0; yTop < height; ++yTop) {
        const int stored = height - 1 - yTop;
        for (int x = 0; x < width; ++x) {
            const COLORREF c = colour(x, yTop);
            uint8_t* p = &b[offBits + size_t(stored) * stride + 3 * size_t(x)];
            p[0] = uint8_t(GetBValue(c));
            p[1] = uint8_t(GetGValue(c));
            p[2] = uint8_t(GetRValue(c));
        }
    }
    return b;
}

Bytes MakeBmp24(int width, int height, COLORREF fill) {
    return MakeBmp24(width, height, [fill](int, int) { return fill; });
}

COLORREF PatternColour(int x, int y) {
    return RGB(x * 40 + 1, y * 30 + 2, (x + y) * 11 + 3);
}

Bytes LogoBmp(int width, int height, BmpOptions options) {
    return MakeBmp24(
        width, height,
        [&](int x, int y) {
            const int dx = x - width / 2, dy = y - height / 2;
            return dx * dx + dy * dy < width * height / 8 ? RGB(200, 40, 40) : RGB(240, 240, 240);
        },
        options);
}

COLORREF ShownPixel(const CDIB& dib, int x, int yFromTop) {
    return dib.GetPixel(x, dib.m_nHeight - 1 - yFromTop);
}

void LoadBytes(CDIB& dib, const Bytes& bytes) {
    dib.LoadFromBytes(bytes.data(), bytes.size());
}

void WriteFileBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

Bytes ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes SquareBmp(int size, COLORREF square, COLORREF around) {
    return MakeBmp24(size, size, [=](int x, int y) {
        const bool inside = x >= size / 4 && x < size * 3 / 4 && y >= size / 4 && y < size * 3 / 4;
        return inside ? square : around;
    });
}

} // namespace pelto
