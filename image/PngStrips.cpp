#include "PngStrips.h"

#include "Block.h"
#include "PngFile.h"

#include "system/CpuCount.h"
#include "system/File.h"

#include <libdeflate.h>
#include <zlib.h>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include <algorithm>
#include <atomic>
#include <cstring>
#include <exception>
#include <new>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <vector>

namespace pelto {

namespace png {

namespace {

// zlib's header for a 32 KB window at its fastest level.
constexpr uint8_t kZlibHeader[2] = {0x78, 0x01};
constexpr uint8_t kPaeth = 4;
// A strip is worth a thread from this many filtered bytes on; a picture is
// cut into no more than kMostStrips, whatever the processors, so every machine
// (a browser's included) writes the same file.
constexpr uint64_t kStripBytes = uint64_t(256) << 10;
constexpr uint64_t kMostStrips = 8;
// Rows filtered at a time before deflate takes them.
constexpr uint32_t kBatchRows = 16;
constexpr uint64_t kBatchBytes = uint64_t(1) << 20;
// IDAT chunks stay well within the format's 2^31 - 1 bytes.
constexpr uint64_t kChunkBytes = uint64_t(1) << 30;

void PutBE32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v >> 24);
    p[1] = uint8_t(v >> 16);
    p[2] = uint8_t(v >> 8);
    p[3] = uint8_t(v);
}

void WriteChunk(CFile& file, const char* type, const uint8_t* data, uint64_t length) {
    uint8_t head[8];
    PutBE32(head, uint32_t(length));
    std::memcpy(head + 4, type, 4);
    uint32_t crc = libdeflate_crc32(0, head + 4, 4);
    if (length) crc = libdeflate_crc32(crc, data, length); // a null buffer restarts it
    uint8_t tail[4];
    PutBE32(tail, crc);
    file.Write(head, sizeof head);
    if (length) file.Write(data, length);
    file.Write(tail, sizeof tail);
}

// The picture's row counted from the top as the file orders its samples.
void SamplesOf(const CDIB& picture, const CAlphaPlane* alpha, uint32_t yTop, uint8_t* out) {
    const int y = picture.m_nHeight - 1 - int(yTop);
    const uint8_t* bgr = picture.Row(y);
    const uint8_t* opacity = alpha ? alpha->Row(y) : nullptr;
    for (int x = 0; x < picture.m_nWidth; ++x, bgr += 3) {
        out[0] = bgr[2];
        out[1] = bgr[1];
        out[2] = bgr[0];
        if (opacity) out[3] = opacity[x];
        out += opacity ? 4 : 3;
    }
}

#ifdef __SSE2__
__m128i Abs16(__m128i v) {
    return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v));
}
#endif

// Paeth's prediction subtracted, eight bytes at a time where SSE2 is.
void FilterPaeth(const uint8_t* row, const uint8_t* prev, size_t n, unsigned bpp, uint8_t* out) {
    for (size_t i = 0; i < bpp; ++i)
        out[i] = uint8_t(row[i] - prev[i]);
    size_t i = bpp;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    auto load = [zero](const uint8_t* p) {
        return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), zero);
    };
    for (; i + 8 <= n; i += 8) {
        const __m128i a = load(row + i - bpp), b = load(prev + i), c = load(prev + i - bpp);
        const __m128i da = _mm_sub_epi16(b, c), db = _mm_sub_epi16(a, c);
        const __m128i pa = Abs16(da), pb = Abs16(db), pc = Abs16(_mm_add_epi16(da, db));
        const __m128i least = _mm_min_epi16(pc, _mm_min_epi16(pa, pb));
        const __m128i isA = _mm_cmpeq_epi16(pa, least), isB = _mm_cmpeq_epi16(pb, least);
        const __m128i bOrC = _mm_or_si128(_mm_and_si128(isB, b), _mm_andnot_si128(isB, c));
        const __m128i predicted = _mm_or_si128(_mm_and_si128(isA, a), _mm_andnot_si128(isA, bOrC));
        const __m128i x = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + i));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i),
                         _mm_sub_epi8(x, _mm_packus_epi16(predicted, predicted)));
    }
#endif
    for (; i < n; ++i) {
        const int a = row[i - bpp], b = prev[i], c = prev[i - bpp];
        const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
        const int predicted = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
        out[i] = uint8_t(row[i] - predicted);
    }
}

struct Strip {
    uint32_t first, last; // rows from the top
    block::Ptr out;
    uint64_t size = 0, capacity = 0;
    uint32_t adler = 1;
    uint64_t filtered = 0;
    std::exception_ptr error;
};

struct FreeStream {
    void operator()(z_stream* z) const noexcept { deflateEnd(z); }
};

// Room for bytes more at the end of the strip's output.
void Reserve(Strip& strip, uint64_t bytes) {
    if (strip.capacity - strip.size >= bytes) return;
    strip.capacity = std::max({strip.capacity * 2, strip.size + bytes, uint64_t(1) << 16});
    block::Resize(strip.out, strip.capacity);
}

void Deflate(z_stream& z, Strip& strip, const uint8_t* in, uint64_t length, int flush) {
    for (;;) {
        // zlib counts in 32 bits.
        const uint64_t piece = std::min<uint64_t>(length, uint64_t(1) << 30);
        const int now = piece == length ? flush : Z_NO_FLUSH;
        z.next_in = const_cast<uint8_t*>(in);
        z.avail_in = uInt(piece);
        do {
            Reserve(strip, 1);
            const uint64_t room =
                std::min<uint64_t>(strip.capacity - strip.size, uint64_t(1) << 30);
            z.next_out = strip.out.get() + strip.size;
            z.avail_out = uInt(room);
            if (deflate(&z, now) == Z_STREAM_ERROR)
                throw std::logic_error("PNG encode: deflate failed");
            strip.size += room - z.avail_out;
        } while (z.avail_in > 0 || z.avail_out == 0);
        if (piece == length) return;
        in += piece;
        length -= piece;
    }
}

void CompressStrip(const CDIB& picture, const CAlphaPlane* alpha, bool lastStrip, Strip& strip) {
    const unsigned bpp = alpha ? 4 : 3;
    const size_t rowBytes = size_t(picture.m_nWidth) * bpp, line = rowBytes + 1;
    block::Ptr rows = block::Allocate(2 * rowBytes);
    const uint32_t batchRows = uint32_t(std::clamp<uint64_t>(kBatchBytes / line, 1, kBatchRows));
    block::Ptr batch = block::Allocate(batchRows * line);
    uint8_t *row = rows.get(), *prev = rows.get() + rowBytes;
    if (strip.first == 0)
        std::memset(prev, 0, rowBytes);
    else
        SamplesOf(picture, alpha, strip.first - 1, prev);

    z_stream z{};
    if (deflateInit2(&z, 1, Z_DEFLATED, -15, 8, Z_RLE) != Z_OK) throw std::bad_alloc();
    std::unique_ptr<z_stream, FreeStream> stream(&z);
    for (uint32_t y = strip.first; y < strip.last;) {
        const uint32_t count = std::min(batchRows, strip.last - y);
        for (uint32_t i = 0; i < count; ++i, ++y) {
            SamplesOf(picture, alpha, y, row);
            uint8_t* out = batch.get() + i * line;
            out[0] = kPaeth;
            FilterPaeth(row, prev, rowBytes, bpp, out + 1);
            std::swap(row, prev);
        }
        const uint64_t bytes = count * line;
        strip.adler = libdeflate_adler32(strip.adler, batch.get(), bytes);
        strip.filtered += bytes;
        const int flush = y < strip.last ? Z_NO_FLUSH : lastStrip ? Z_FINISH : Z_SYNC_FLUSH;
        Deflate(z, strip, batch.get(), bytes, flush);
    }
}

} // namespace

void EncodeInStrips(const CDIB& picture, const CAlphaPlane* alpha, CFile& file, unsigned threads) {
    const uint32_t width = uint32_t(picture.m_nWidth), height = uint32_t(picture.m_nHeight);
    const uint64_t line = uint64_t(width) * (alpha ? 4 : 3) + 1;
    const uint64_t byBytes = std::max<uint64_t>(1, line * height / kStripBytes);
    const uint32_t count = uint32_t(std::min<uint64_t>({kMostStrips, byBytes, height}));
    std::vector<Strip> strips(count);
    // The zlib header opens the first strip's output.
    Reserve(strips[0], sizeof kZlibHeader);
    std::memcpy(strips[0].out.get(), kZlibHeader, sizeof kZlibHeader);
    strips[0].size = sizeof kZlibHeader;
    for (uint32_t i = 0; i < count; ++i) {
        strips[i].first = uint32_t(uint64_t(height) * i / count);
        strips[i].last = uint32_t(uint64_t(height) * (i + 1) / count);
    }
    auto run = [&](uint32_t i) {
        try {
            CompressStrip(picture, alpha, i + 1 == count, strips[i]);
        } catch (...) {
            strips[i].error = std::current_exception();
        }
    };
    // The threads share the strips out; with no thread to be had (or none at
    // all, as in a browser without them) this one compresses them all.
    std::atomic<uint32_t> next{0};
    auto work = [&] {
        for (uint32_t i = next++; i < count; i = next++)
            run(i);
    };
    const unsigned wanted = std::max(threads ? threads : UsableCpuCount(), 1u);
    const unsigned helpers = std::min(wanted, unsigned(count)) - 1;
    std::vector<std::thread> workers;
    workers.reserve(helpers);
    try {
        while (workers.size() < helpers)
            workers.emplace_back(work);
    } catch (const std::system_error&) {
    }
    work();
    for (std::thread& worker : workers)
        worker.join();
    uint32_t adler = 1;
    for (const Strip& strip : strips) {
        if (strip.error) std::rethrow_exception(strip.error);
        adler = uint32_t(adler32_combine(adler, strip.adler, z_off_t(strip.filtered)));
    }

    Strip& last = strips.back();
    Reserve(last, 4);
    PutBE32(last.out.get() + last.size, adler);
    last.size += 4;

    uint8_t ihdr[13];
    PutBE32(ihdr, width);
    PutBE32(ihdr + 4, height);
    const uint8_t rest[5] = {8, uint8_t(alpha ? 6 : 2), 0, 0, 0};
    std::memcpy(ihdr + 8, rest, sizeof rest);
    file.Write(kSignature, sizeof kSignature);
    WriteChunk(file, "IHDR", ihdr, sizeof ihdr);
    for (const Strip& strip : strips)
        for (uint64_t at = 0; at < strip.size; at += kChunkBytes)
            WriteChunk(file, "IDAT", strip.out.get() + at, std::min(kChunkBytes, strip.size - at));
    WriteChunk(file, "IEND", nullptr, 0);
}

} // namespace png

} // namespace pelto
