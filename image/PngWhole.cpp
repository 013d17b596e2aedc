#include "PngWhole.h"

#include "Block.h"
#include "PngReading.h"

#include <libdeflate.h>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

namespace pelto {

namespace png {

namespace {

// libdeflate's decompressor state, which it allocates itself.
constexpr uint64_t kDecompressorBytes = uint64_t(64) << 10;

uint32_t ReadBE32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

struct FreeDecompressor {
    void operator()(libdeflate_decompressor* d) const noexcept { libdeflate_free_decompressor(d); }
};

[[maybe_unused]] uint8_t Paeth(int a, int b, int c) {
    const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
    return uint8_t(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// Paeth's prediction added back, pixel by pixel as each needs the one before.
void UnfilterPaeth(uint8_t* row, const uint8_t* prev, size_t n, unsigned bpp) {
#ifdef __SSE2__
    // The pixel's channels side by side in 16-bit lanes.
    const __m128i zero = _mm_setzero_si128();
    __m128i a = zero, c = zero;
    for (size_t i = 0; i < n; i += bpp) {
        uint32_t above = 0, here = 0;
        std::memcpy(&above, prev + i, bpp);
        std::memcpy(&here, row + i, bpp);
        const __m128i b = _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(above)), zero);
        __m128i pa = _mm_sub_epi16(b, c), pb = _mm_sub_epi16(a, c);
        __m128i pc = _mm_add_epi16(pa, pb);
        pa = _mm_max_epi16(pa, _mm_sub_epi16(zero, pa));
        pb = _mm_max_epi16(pb, _mm_sub_epi16(zero, pb));
        pc = _mm_max_epi16(pc, _mm_sub_epi16(zero, pc));
        const __m128i least = _mm_min_epi16(pc, _mm_min_epi16(pa, pb));
        const __m128i isA = _mm_cmpeq_epi16(pa, least), isB = _mm_cmpeq_epi16(pb, least);
        const __m128i bOrC = _mm_or_si128(_mm_and_si128(isB, b), _mm_andnot_si128(isB, c));
        const __m128i predicted = _mm_or_si128(_mm_and_si128(isA, a), _mm_andnot_si128(isA, bOrC));
        const __m128i pixel =
            _mm_add_epi8(_mm_packus_epi16(predicted, predicted), _mm_cvtsi32_si128(int(here)));
        here = uint32_t(_mm_cvtsi128_si32(pixel));
        std::memcpy(row + i, &here, bpp);
        a = _mm_unpacklo_epi8(pixel, zero);
        c = b;
    }
#else
    for (size_t i = 0; i < bpp; ++i)
        row[i] = uint8_t(row[i] + prev[i]);
    for (size_t i = bpp; i < n; ++i)
        row[i] = uint8_t(row[i] + Paeth(row[i - bpp], prev[i], prev[i - bpp]));
#endif
}

// Undoes one row's filter in place; prev is the row above, unfiltered, or
// null on the first row (all zero). False for an unknown filter type.
bool Unfilter(uint8_t filter, uint8_t* row, const uint8_t* prev, size_t n, unsigned bpp) {
    switch (filter) {
    case 0:
        return true;
    case 1:
        for (size_t i = bpp; i < n; ++i)
            row[i] = uint8_t(row[i] + row[i - bpp]);
        return true;
    case 2:
        if (!prev) return true;
        for (size_t i = 0; i < n; ++i)
            row[i] = uint8_t(row[i] + prev[i]);
        return true;
    case 3:
        for (size_t i = 0; i < n; ++i) {
            const unsigned a = i >= bpp ? row[i - bpp] : 0, b = prev ? prev[i] : 0;
            row[i] = uint8_t(row[i] + (a + b) / 2);
        }
        return true;
    case 4:
        if (!prev) return Unfilter(1, row, prev, n, bpp);
        UnfilterPaeth(row, prev, n, bpp);
        return true;
    default:
        return false;
    }
}

void StoreRow(const uint8_t* row, uint32_t width, bool withAlpha, uint8_t* bgr, uint8_t* alpha) {
    if (withAlpha) {
        for (uint32_t x = 0; x < width; ++x, row += 4, bgr += 3) {
            bgr[0] = row[2];
            bgr[1] = row[1];
            bgr[2] = row[0];
            alpha[x] = row[3];
        }
    } else {
        for (uint32_t x = 0; x < width; ++x, row += 3, bgr += 3) {
            bgr[0] = row[2];
            bgr[1] = row[1];
            bgr[2] = row[0];
        }
    }
}

// Calls visit(length, data) for each IDAT chunk up to IEND (the walk passed their framing).
template <typename Visit> void EachIdat(const uint8_t* data, uint64_t size, Visit visit) {
    for (uint64_t at = 8; at + 8 <= size && std::memcmp(data + at + 4, "IEND", 4) != 0;
         at += uint64_t(ReadBE32(data + at)) + 12)
        if (std::memcmp(data + at + 4, "IDAT", 4) == 0) visit(ReadBE32(data + at), data + at + 8);
}

// The IDAT chunks' data end to end: the one chunk's own bytes, or a copy of
// them all in stream.
const uint8_t* ImageData(const uint8_t* data, uint64_t size, uint64_t idatBytes,
                         block::Ptr& stream) {
    const uint8_t* single = nullptr;
    EachIdat(data, size, [&](uint32_t length, const uint8_t* bytes) {
        if (length == idatBytes) single = bytes;
    });
    if (single || idatBytes == 0) return single;
    stream = block::Allocate(idatBytes);
    uint64_t copied = 0;
    EachIdat(data, size, [&](uint32_t length, const uint8_t* bytes) {
        std::memcpy(stream.get() + copied, bytes, length);
        copied += length;
    });
    return stream.get();
}

} // namespace

bool WholeReadable(const Header& header) {
    return header.bitDepth == 8 && !header.interlaced &&
           (header.colourType == SPNG_COLOR_TYPE_TRUECOLOR ||
            header.colourType == SPNG_COLOR_TYPE_TRUECOLOR_ALPHA);
}

uint64_t WholeFootprint(const Header& header, uint64_t imageDataBytes) {
    // The rows inflated, beside the image data copied first when it is split
    // over chunks, then beside the picture and its opacity.
    const uint64_t filtered = FilteredBytes(header);
    const uint64_t copy = std::min(imageDataBytes, MostImageData(filtered));
    const uint64_t alpha = header.colourType == SPNG_COLOR_TYPE_TRUECOLOR_ALPHA
                               ? uint64_t(header.width) * header.height
                               : 0;
    const uint64_t picture = CDIB::BuiltFileSize(header.width, header.height) + alpha;
    return filtered + kDecompressorBytes + std::max(copy, picture);
}

bool ReadWhole(const uint8_t* data, uint64_t size, const Header& header, CPngMemory& memory,
               CDIB& picture, CAlphaPlane& alpha) {
    const uint64_t filtered = FilteredBytes(header);
    uint64_t idatBytes = 0;
    EachIdat(data, size, [&](uint32_t length, const uint8_t*) { idatBytes += length; });
    // Inflated whole, then no longer needed: the stream and the decompressor.
    const uint64_t held = filtered + kDecompressorBytes;
    memory.Count(held);
    block::Ptr rows = block::Allocate(filtered);
    bool whole = false;
    {
        block::Ptr stream;
        const uint8_t* in = ImageData(data, size, idatBytes, stream);
        const uint64_t copied = stream ? idatBytes : 0;
        memory.Count(copied);
        std::unique_ptr<libdeflate_decompressor, FreeDecompressor> decompressor(
            libdeflate_alloc_decompressor());
        if (!decompressor) throw std::bad_alloc();
        size_t read = 0, written = 0;
        whole = in &&
                libdeflate_zlib_decompress_ex(decompressor.get(), in, idatBytes, rows.get(),
                                              filtered, &read, &written) == LIBDEFLATE_SUCCESS &&
                read == idatBytes && written == filtered;
        memory.Uncount(copied);
    }

    const bool withAlpha = header.colourType == SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
    const uint64_t pictureBytes = CDIB::BuiltFileSize(header.width, header.height);
    const uint64_t alphaBytes = withAlpha ? uint64_t(header.width) * header.height : 0;
    CDIB decoded;
    CAlphaPlane opacity;
    if (whole) {
        memory.Count(pictureBytes + alphaBytes);
        decoded.BuildPicture(int32_t(header.width), int32_t(header.height));
        if (withAlpha) opacity = CAlphaPlane(int(header.width), int(header.height));
        const unsigned bpp = withAlpha ? 4 : 3;
        const size_t rowBytes = size_t(header.width) * bpp;
        const uint8_t* prev = nullptr;
        for (uint32_t y = 0; whole && y < header.height; ++y) {
            uint8_t* line = rows.get() + y * (rowBytes + 1);
            whole = Unfilter(line[0], line + 1, prev, rowBytes, bpp);
            const int stored = int(header.height - 1 - y);
            if (whole)
                StoreRow(line + 1, header.width, withAlpha, decoded.Row(stored),
                         withAlpha ? opacity.Row(stored) : nullptr);
            prev = line + 1;
        }
        if (!whole) memory.Uncount(pictureBytes + alphaBytes);
    }
    memory.Uncount(held);

    if (!whole) return false;
    picture.LoadFromBlock(std::move(decoded.m_pFileImage), decoded.m_nFileSize);
    alpha = std::move(opacity);
    return true;
}

} // namespace png

} // namespace pelto
