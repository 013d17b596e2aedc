#pragma once
// Builds PNG files for tests chunk by chunk (zlib's compress and crc32), so
// that every colour type, depth and interlace, and every kind of damage,
// comes from values the test chose.

#include "BmpBuilder.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace pelto {

struct PngImage {
    uint32_t width, height;
    uint8_t bitDepth, colourType;
    bool interlaced;
    // Channel c at (x, row from the top) at the file's depth; a palette index for type 3.
    std::function<uint16_t(int x, int yFromTop, int c)> sample;
};

int PngChannels(uint8_t colourType);
// The rows with filter byte 0, pass by pass when interlaced.
Bytes PngScanlines(const PngImage& image);
Bytes PngIhdr(const PngImage& image);
Bytes PngChunk(const char* type, const Bytes& data); // length, type, data, CRC
Bytes Deflate(const Bytes& data);
Bytes PngSignature();
Bytes Concat(const std::vector<Bytes>& parts);
// Signature, IHDR, the chunks given, one IDAT of the rows, IEND.
Bytes MakePng(const PngImage& image, const std::vector<Bytes>& beforeIdat = {});

} // namespace pelto
