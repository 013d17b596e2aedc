#include "PngFile.h"
#include "PngReading.h"
#include "PngWhole.h"

#include <cstring>
#include <optional>

namespace pelto {

namespace png {

namespace {

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

// The colours of a palette's entries with their opacity; an index past the
// last entry is damage, which libspng would show as black.
struct Palette {
    uint8_t bgra[256][4];
    uint32_t size;
};

Palette ReadPalette(spng_ctx* ctx, bool transparent, const CPngMemory& memory) {
    spng_plte plte;
    Check(spng_get_plte(ctx, &plte), memory);
    spng_trns trns{};
    if (transparent) Check(spng_get_trns(ctx, &trns), memory);
    Palette palette{{}, plte.n_entries};
    for (uint32_t i = 0; i < plte.n_entries; ++i) {
        uint8_t* entry = palette.bgra[i];
        entry[0] = plte.entries[i].blue;
        entry[1] = plte.entries[i].green;
        entry[2] = plte.entries[i].red;
        entry[3] = i < trns.n_type3_entries ? trns.type3_alpha[i] : 255;
    }
    return palette;
}

// Stores one scanline of pass, its pixels side by side in libspng's format
// of pixelBytes bytes a pixel, into one stored row of the picture and of the
// opacity.
void StoreRow(const uint8_t* row, uint32_t pixelBytes, const Pass& pass, uint32_t width,
              uint8_t* bgr, uint8_t* alpha) {
    switch (pixelBytes) {
    case 3:
        for (uint32_t x = pass.x0; x < width; x += pass.dx, row += 3) {
            uint8_t* d = bgr + size_t(x) * 3;
            d[0] = row[2];
            d[1] = row[1];
            d[2] = row[0];
        }
        break;
    case 4:
        for (uint32_t x = pass.x0; x < width; x += pass.dx, row += 4) {
            uint8_t* d = bgr + size_t(x) * 3;
            d[0] = row[2];
            d[1] = row[1];
            d[2] = row[0];
            alpha[x] = row[3];
        }
        break;
    default: // 16 bits a channel, in the machine's order
        for (uint32_t x = pass.x0; x < width; x += pass.dx, row += 8) {
            uint16_t s[4];
            std::memcpy(s, row, sizeof s);
            uint8_t* d = bgr + size_t(x) * 3;
            d[0] = Round16(s[2]);
            d[1] = Round16(s[1]);
            d[2] = Round16(s[0]);
            if (alpha) alpha[x] = Round16(s[3]);
        }
    }
}

// The same for a scanline of palette indices as the file packs them.
void StoreIndices(const uint8_t* row, uint8_t depth, const Palette& palette, const Pass& pass,
                  uint32_t width, uint8_t* bgr, uint8_t* alpha) {
    const unsigned mask = (1u << depth) - 1;
    uint64_t bit = 0;
    for (uint32_t x = pass.x0; x < width; x += pass.dx, bit += depth) {
        const unsigned index = row[bit / 8] >> (8 - depth - bit % 8) & mask;
        if (index >= palette.size) CDIB::Refuse(kMsgDamaged);
        std::memcpy(bgr + size_t(x) * 3, palette.bgra[index], 3);
        if (alpha) alpha[x] = palette.bgra[index][3];
    }
}

int FormatFor(const Header& header, uint32_t pixelBytes) {
    // Indices as they are, to be checked against the palette.
    if (header.colourType == SPNG_COLOR_TYPE_INDEXED) return SPNG_FMT_PNG;
    return pixelBytes == 3 ? SPNG_FMT_RGB8 : pixelBytes == 4 ? SPNG_FMT_RGBA8 : SPNG_FMT_RGBA16;
}

// Scanline by scanline rather than row by row: libspng spreads a pass's
// packed indices over a row by OR-ing them into what the row held.
void DecodeRows(spng_ctx* ctx, const Header& header, uint32_t pixelBytes, const Palette* palette,
                CPngMemory& memory, CDIB& picture, CAlphaPlane& alpha) {
    const uint64_t rowBytes =
        palette ? ScanlineBytes(header, header.width) - 1 : uint64_t(header.width) * pixelBytes;
    memory.Count(rowBytes);
    block::Ptr row = block::Allocate(rowBytes);
    for (;;) {
        spng_row_info info;
        int error = spng_get_row_info(ctx, &info);
        if (error == SPNG_EOI) return;
        Check(error, memory);
        error = spng_decode_scanline(ctx, row.get(), rowBytes);
        if (error != SPNG_EOI) Check(error, memory);
        const int y = int(header.height - 1 - info.row_num);
        const Pass& pass = header.interlaced ? kAdam7[info.pass] : kWhole;
        uint8_t* opacity = alpha.HasBlock() ? alpha.Row(y) : nullptr;
        if (palette)
            StoreIndices(row.get(), header.bitDepth, *palette, pass, header.width, picture.Row(y),
                         opacity);
        else
            StoreRow(row.get(), pixelBytes, pass, header.width, picture.Row(y), opacity);
        if (error == SPNG_EOI) return;
    }
}

} // namespace

void Decode(const uint8_t* data, uint64_t size, CDIB& picture, CAlphaPlane& alpha, uint64_t* peak) {
    const Header header = ReadHeader(data, size);
    // Before anything is allocated or inflated, the image data's length
    // against what deflate can make of the picture's rows: at most 258 bytes
    // from 2 bits, so less cannot hold them, and no more than MostImageData.
    // Then the damage the walk found, which libspng would pass or find only
    // as it reads.
    const ChunkWalk walk = WalkChunks(data, size, header);
    const uint64_t filtered = FilteredBytes(header), idat = walk.idatBytes;
    if (filtered > idat * 1032 + 1024) CDIB::Refuse(kMsgDamaged);
    if (idat > MostImageData(filtered)) CDIB::Refuse(kMsgTooMuchData);
    if (walk.damaged) CDIB::Refuse(kMsgDamaged);

    CPngMemory memory(DecodeFootprint(header, idat, walk.transparency));
    CDIB decoded;
    CAlphaPlane opacity;
    bool whole = false;
    if (WholeReadable(header) && !walk.transparency && !walk.readAfterImage) {
        {
            // libspng checks the chunks before the image data as it would for its own read.
            CChunkSource source(data, size);
            ContextPtr ctx = OpenForReading(memory, source);
            Check(spng_decode_chunks(ctx.get()), memory);
        }
        whole = ReadWhole(data, size, header, memory, decoded, opacity);
    }
    if (!whole) {
        CChunkSource source(data, size);
        ContextPtr ctx = OpenForReading(memory, source);
        const bool transparent = header.colourType == SPNG_COLOR_TYPE_GRAYSCALE_ALPHA ||
                                 header.colourType == SPNG_COLOR_TYPE_TRUECOLOR_ALPHA ||
                                 HasTransparencyChunk(ctx.get(), memory);
        const uint32_t pixelBytes = DecodedPixelBytes(header, transparent);
        Check(spng_decode_image(ctx.get(), nullptr, 0, FormatFor(header, pixelBytes),
                                SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE),
              memory);
        const std::optional<Palette> palette =
            header.colourType == SPNG_COLOR_TYPE_INDEXED
                ? std::optional<Palette>(ReadPalette(ctx.get(), transparent, memory))
                : std::nullopt;
        memory.Count(CDIB::BuiltFileSize(header.width, header.height));
        decoded.BuildPicture(int32_t(header.width), int32_t(header.height));
        if (transparent) {
            memory.Count(uint64_t(header.width) * header.height);
            opacity = CAlphaPlane(int(header.width), int(header.height));
        }
        DecodeRows(ctx.get(), header, pixelBytes, palette ? &*palette : nullptr, memory, decoded,
                   opacity);
        // The chunks after the image, up to IEND, are checked as well.
        Check(spng_decode_chunks(ctx.get()), memory);
    }
    picture.LoadFromBlock(std::move(decoded.m_pFileImage), decoded.m_nFileSize);
    alpha = std::move(opacity);
    if (peak) *peak = memory.Peak();
}

} // namespace png

} // namespace pelto
