#include "PngBuilder.h"

#include <cstring>
#include <stdexcept>
#include <zlib.h>

namespace pelto {

namespace {

struct Pass {
    uint32_t x0, y0, dx, dy;
};
const Pass kAdam7[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                        {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
const Pass kWhole = {0, 0, 1, 1};

void PutBE32(Bytes& b, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        b.push_back(uint8_t(v >> shift));
}

} // namespace

int PngChannels(uint8_t colourType) {
    return colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1;
}

Bytes PngScanlines(const PngSpec& spec) {
    Bytes out;
    const int channels = PngChannels(spec.colourType);
    const std::vector<Pass> passes =
        spec.interlaced ? std::vector<Pass>(kAdam7, kAdam7 + 7) : std::vector<Pass>{kWhole};
    for (const Pass& pass : passes) {
        if (pass.x0 >= spec.width) continue;
        for (uint32_t y = pass.y0; y < spec.height; y += pass.dy) {
            out.push_back(0);
            unsigned bits = 0, filled = 0; // a partial byte of packed samples
            for (uint32_t x = pass.x0; x < spec.width; x += pass.dx)
                for (int c = 0; c < channels; ++c) {
                    const uint16_t v = spec.sample(int(x), int(y), c);
                    if (spec.bitDepth == 16) {
                        out.push_back(uint8_t(v >> 8));
                        out.push_back(uint8_t(v));
                    } else if (spec.bitDepth == 8) {
                        out.push_back(uint8_t(v));
                    } else {
                        bits = bits << spec.bitDepth | v;
                        filled += spec.bitDepth;
                        if (filled == 8) {
                            out.push_back(uint8_t(bits));
                            bits = filled = 0;
                        }
                    }
                }
            if (filled) out.push_back(uint8_t(bits << (8 - filled)));
        }
    }
    return out;
}

Bytes PngIhdr(const PngSpec& spec) {
    Bytes b;
    PutBE32(b, spec.width);
    PutBE32(b, spec.height);
    b.insert(b.end(), {spec.bitDepth, spec.colourType, 0, 0, uint8_t(spec.interlaced)});
    return b;
}

Bytes PngChunk(const char* type, const Bytes& data) {
    Bytes b;
    PutBE32(b, uint32_t(data.size()));
    b.insert(b.end(), type, type + 4);
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

Bytes MakePng(const PngSpec& spec, const std::vector<Bytes>& beforeIdat) {
    Bytes out = Concat({PngSignature(), PngChunk("IHDR", PngIhdr(spec))});
    for (const Bytes& chunk : beforeIdat)
        out.insert(out.end(), chunk.begin(), chunk.end());
    return Concat({out, PngChunk("IDAT", Deflate(PngScanlines(spec))), PngChunk("IEND", {})});
}

} // namespace pelto
