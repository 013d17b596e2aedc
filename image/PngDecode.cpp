#include "PngFile.h"
#include "PngReading.h"

#include <cstring>

namespace pelto {

namespace png {

namespace {

uint32_t ReadBE32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// The length of all IDAT chunks, from the chunk headers alone. A walk that
// runs off the end stops there; libspng then refuses the truncated file.
uint64_t IdatBytes(const uint8_t* data, uint64_t size) {
    uint64_t total = 0;
    for (uint64_t at = 8; at + 8 <= size; at += uint64_t(ReadBE32(data + at)) + 12) {
        const uint8_t* type = data + at + 4;
        if (std::memcmp(type, "IDAT", 4) == 0) total += ReadBE32(data + at);
        if (std::memcmp(type, "IEND", 4) == 0) break;
    }
    return total;
}

bool HasTransparencyChunk(spng_ctx* ctx, const CPngMemory& memory) {
    spng_trns trns;
    const int error = spng_get_trns(ctx, &trns);
    if (error == SPNG_ECHUNKAVAIL) return false;
    Check(error, memory);
    return true;
}

uint8_t Round16(uint16_t v) {
    return uint8_t((uint32_t(v) + 128) / 257);
}

// Stores the pixels of pass that row holds (in libspng's format of pixelBytes
// bytes a pixel) into one stored row of the picture and of the opacity.
void StoreRow(const uint8_t* row, uint32_t pixelBytes, const Pass& pass, uint32_t width,
              uint8_t* bgr, uint8_t* alpha) {
    switch (pixelBytes) {
    case 3:
        for (uint32_t x = pass.x0; x < width; x += pass.dx) {
            const uint8_t* s = row + size_t(x) * 3;
            uint8_t* d = bgr + size_t(x) * 3;
            d[0] = s[2];
            d[1] = s[1];
            d[2] = s[0];
        }
        break;
    case 4:
        for (uint32_t x = pass.x0; x < width; x += pass.dx) {
            const uint8_t* s = row + size_t(x) * 4;
            uint8_t* d = bgr + size_t(x) * 3;
            d[0] = s[2];
            d[1] = s[1];
            d[2] = s[0];
            alpha[x] = s[3];
        }
        break;
    default: // 16 bits a channel, in the machine's order
        for (uint32_t x = pass.x0; x < width; x += pass.dx) {
            uint16_t s[4];
            std::memcpy(s, row + size_t(x) * 8, sizeof s);
            uint8_t* d = bgr + size_t(x) * 3;
            d[0] = Round16(s[2]);
            d[1] = Round16(s[1]);
            d[2] = Round16(s[0]);
            if (alpha) alpha[x] = Round16(s[3]);
        }
    }
}

int FormatFor(uint32_t pixelBytes) {
    return pixelBytes == 3 ? SPNG_FMT_RGB8 : pixelBytes == 4 ? SPNG_FMT_RGBA8 : SPNG_FMT_RGBA16;
}

void DecodeRows(spng_ctx* ctx, const Header& header, uint32_t pixelBytes, CPngMemory& memory,
                CDIB& picture, CAlphaPlane& alpha) {
    const uint64_t rowBytes = uint64_t(header.width) * pixelBytes;
    memory.Count(rowBytes);
    block::Ptr row = block::Allocate(rowBytes);
    for (;;) {
        spng_row_info info;
        int error = spng_get_row_info(ctx, &info);
        if (error == SPNG_EOI) return;
        Check(error, memory);
        error = spng_decode_row(ctx, row.get(), rowBytes);
        if (error != SPNG_EOI) Check(error, memory);
        const int y = int(header.height - 1 - info.row_num);
        StoreRow(row.get(), pixelBytes, header.interlaced ? kAdam7[info.pass] : kWhole,
                 header.width, picture.Row(y), alpha.HasBlock() ? alpha.Row(y) : nullptr);
        if (error == SPNG_EOI) return;
    }
}

} // namespace

void Decode(const uint8_t* data, uint64_t size, CDIB& picture, CAlphaPlane& alpha, uint64_t* peak) {
    const Header header = ReadHeader(data, size);
    // Before anything is allocated or inflated, the image data's length
    // against what deflate can make of the picture's rows: at most 258 bytes
    // from 2 bits, so less cannot hold them; and stored blocks add 5 bytes in
    // 65535, fixed codes at most 9 bits a byte, so more is no encoding of
    // them (a bomb, endless IDAT).
    const uint64_t filtered = FilteredBytes(header), idat = IdatBytes(data, size);
    if (filtered > idat * 1032 + 1024) CDIB::Refuse(kMsgDamaged);
    if (idat > filtered + filtered / 8 + 1024) CDIB::Refuse(kMsgTooMuchData);

    CPngMemory memory(DecodeFootprint(header));
    CDIB decoded;
    CAlphaPlane opacity;
    {
        ContextPtr ctx = OpenForReading(memory, data, size);
        const bool transparent = header.colourType == SPNG_COLOR_TYPE_GRAYSCALE_ALPHA ||
                                 header.colourType == SPNG_COLOR_TYPE_TRUECOLOR_ALPHA ||
                                 HasTransparencyChunk(ctx.get(), memory);
        const uint32_t pixelBytes = DecodedPixelBytes(header, transparent);
        Check(spng_decode_image(ctx.get(), nullptr, 0, FormatFor(pixelBytes),
                                SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE),
              memory);
        memory.Count(CDIB::BuiltFileSize(header.width, header.height));
        decoded.BuildPicture(int32_t(header.width), int32_t(header.height));
        if (transparent) {
            memory.Count(uint64_t(header.width) * header.height);
            opacity = CAlphaPlane(int(header.width), int(header.height));
        }
        DecodeRows(ctx.get(), header, pixelBytes, memory, decoded, opacity);
        // The chunks after the image, up to IEND, are checked as well.
        Check(spng_decode_chunks(ctx.get()), memory);
    }
    picture.LoadFromBlock(std::move(decoded.m_pFileImage), decoded.m_nFileSize);
    alpha = std::move(opacity);
    if (peak) *peak = memory.Peak();
}

} // namespace png

} // namespace pelto
