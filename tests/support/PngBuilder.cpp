#include "PngBuilder.h"

#include <array>
#include <stdexcept>
#include <zlib.h>

namespace pelto {

namespace {

void PutBE32(Bytes& b, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        b.push_back(uint8_t(v >> shift));
}

} // namespace

int PngChannels(uint8_t colourType) {
    return colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1;
}

Bytes PngScanlines(const PngImage& image) {
    // Adam7's passes as first column, first row, column step and row step.
    using Pass = std::array<uint32_t, 4>;
    const std::vector<Pass> passes =
        image.interlaced ? std::vector<Pass>{{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                             {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}
                         : std::vector<Pass>{{0, 0, 1, 1}};
    Bytes out;
    for (const Pass& p : passes) {
        for (uint32_t y = p[1]; y < image.height && p[0] < image.width; y += p[3]) {
            out.push_back(0);
            unsigned bits = 0, filled = 0; // samples packed below 8 bits
            for (uint32_t x = p[0]; x < image.width; x += p[2])
                for (int c = 0; c < PngChannels(image.colourType); ++c) {
                    const uint16_t v = image.sample(int(x), int(y), c);
                    if (image.bitDepth == 16) out.push_back(uint8_t(v >> 8));
                    if (image.bitDepth >= 8) out.push_back(uint8_t(v));
                    if (image.bitDepth >= 8) continue;
                    bits = bits << image.bitDepth | v;
                    if ((filled += image.bitDepth) == 8) {
                        out.push_back(uint8_t(bits));
                        bits = filled = 0;
                    }
                }
            if (filled) out.push_back(uint8_t(bits << (8 - filled)));
        }
    }
    return out;
}

Bytes PngIhdr(const PngImage& image) {
    Bytes b;
    PutBE32(b, image.width);
    PutBE32(b, image.height);
    b.insert(b.end(), {image.bitDepth, image.colourType, 0, 0, uint8_t(image.interlaced)});
    return b;
}

Bytes PngChunk(const char* type, const Bytes& data) {
    Bytes b;
    PutBE32(b, uint32_t(data.size()));
    for (int i = 0; i < 4; ++i)
        b.push_back(uint8_t(type[i]));
    b.insert(b.end(), data.begin(), data.end());
    PutBE32(b, uint32_t(crc32(0, b.data() + 4, uInt(data.size() + 4))));
    return b;
}

Bytes Deflate(const Bytes& data) {
    uLongf size = compressBound(uLong(data.size()));
    Bytes out(size);
    if (compress(out.data(), &size, data.data(), uLong(data.size())) != Z_OK)
        throw std::runtime_error("compress failed");
    out.resize(size);
    return out;
}

Bytes PngSignature() {
    return {137, 80, 78, 71, 13, 10, 26, 10};
}

Bytes Concat(const std::vector<Bytes>& parts) {
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

Bytes MakePng(const PngImage& image, const std::vector<Bytes>& beforeIdat) {
    return Concat({PngSignature(), PngChunk("IHDR", PngIhdr(image)), Concat(beforeIdat),
                   PngChunk("IDAT", Deflate(PngScanlines(image))), PngChunk("IEND", {})});
}

} // namespace pelto
