#pragma once
// Builds PNG files for tests chunk by chunk (zlib's compress and crc32), so
// that every colour type, depth and interlace, and every kind of damage,
// comes from values the test chose.

#include "BmpBuilder.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace pelto {

struct PngSpec {
    uint32_t width = 1;
    uint32_t height = 1;
    uint8_t bitDepth = 8;
    uint8_t colourType = 2;
    bool interlaced = false;
    // The sample of channel c at (x, row from the top), at the file's depth;
    // a palette index for colour type 3.
    std::function<uint16_t(int x, int yFromTop, int c)> sample;
};

int PngChannels(uint8_t colourType);
// The rows as the file filters them (filter byte 0), pass by pass when interlaced.
Bytes PngScanlines(const PngSpec& spec);
Bytes PngIhdr(const PngSpec& spec);
// Length, type, data and CRC.
Bytes PngChunk(const char* type, const Bytes& data);
Bytes Deflate(const Bytes& data);
// Signature, IHDR, the chunks given, one IDAT of the compressed rows, IEND.
Bytes MakePng(const PngSpec& spec, const std::vector<Bytes>& beforeIdat = {});
Bytes PngSignature();
Bytes Concat(const std::vector<Bytes>& parts);

} // namespace pelto
