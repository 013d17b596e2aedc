#include "SelectionBits.h"

#include "ParallelRows.h"
#include "image/RasterIndex.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <thread>

namespace pelto {

namespace {

static_assert(std::endian::native == std::endian::little, "eight marks are read as one word");

// Bit i of the result: whether mark i of the sixteen (each 0, 1 or 2) selects.
#if defined(__SSE2__)
uint64_t PackSixteen(const uint8_t* marks) {
    const __m128i word = _mm_loadu_si128(reinterpret_cast<const __m128i*>(marks));
    return ~uint64_t(_mm_movemask_epi8(_mm_cmpeq_epi8(word, _mm_setzero_si128()))) & 0xffff;
}
#else
// Eight at a time: the multiplication moves each byte's low bit to the top
// byte, none colliding.
uint64_t PackEight(const uint8_t* marks) {
    uint64_t word;
    std::memcpy(&word, marks, 8);
    const uint64_t selects = (word | word >> 1) & 0x0101010101010101;
    return (selects * 0x0102040810204080) >> 56;
}
uint64_t PackSixteen(const uint8_t* marks) {
    return PackEight(marks) | PackEight(marks + 8) << 8;
}
#endif

} // namespace

CSelectionBits::CSelectionBits(const CMaskDIB& selection, int reach, unsigned threads)
    : m_nWidth(selection.m_nWidth), m_nHeight(selection.m_nHeight),
      m_nWords((selection.m_nWidth + 63) / 64), m_nReach(reach),
      m_pBits(block::Allocate(uint64_t(kPlanes) * uint64_t(m_nHeight) * uint64_t(m_nWords) * 8)),
      m_edgeCounts(size_t(m_nHeight)) {
    const unsigned bands = BandCount(m_nHeight, threads);
    // Each band's own room for the rows it works out, taken before any starts.
    std::vector<uint64_t> rows(size_t(bands) * 2 * size_t(m_nWords + 2));
    // The threads take a few rows at a time, packing them all first and then
    // finding their edge, which needs the rows about each: one start of the
    // threads for both, and a band that gets no thread of its own does it all.
    constexpr int kRows = 16;
    std::atomic<int> nextPacked{0}, packed{0}, nextEdge{0};
    RunBands(m_nHeight, bands, [&](unsigned band, RowBand) {
        for (int first; (first = nextPacked.fetch_add(kRows)) < m_nHeight;) {
            const int last = std::min(m_nHeight, first + kRows);
            for (int y = first; y < last; ++y)
                PackRow(selection, y);
            packed.fetch_add(last - first, std::memory_order_release);
        }
        while (packed.load(std::memory_order_acquire) < m_nHeight)
            std::this_thread::yield();
        uint64_t* any = &rows[size_t(band) * 2 * size_t(m_nWords + 2)];
        for (int first; (first = nextEdge.fetch_add(kRows)) < m_nHeight;)
            for (int y = first; y < std::min(m_nHeight, first + kRows); ++y)
                EdgeOfRow(y, any, any + m_nWords + 2);
    });
}

uint64_t CSelectionBits::Bytes(int width, int height) {
    const uint64_t words = (uint64_t(std::max(width, 0)) + 63) / 64,
                   rows = uint64_t(std::max(height, 0));
    return rows * (words * kPlanes * 8 + sizeof(uint32_t));
}

uint64_t CSelectionBits::EdgeCount(int first, int last) const {
    uint64_t count = 0;
    for (int y = first; y < last; ++y)
        count += m_edgeCounts[size_t(y)];
    return count;
}

void CSelectionBits::PackRow(const CMaskDIB& selection, int y) {
    const uint8_t* marks = selection.m_pBits + raster::Offset(0, y, selection.m_nStride, 1);
    uint64_t* bits = Plane(kSelected, y);
    for (int k = 0; k < m_nWords; ++k) {
        const int first = 64 * k, count = std::min(64, m_nWidth - first);
        uint64_t word = 0;
        int i = 0;
        for (; i + 16 <= count; i += 16)
            word |= PackSixteen(marks + first + i) << i;
        for (; i < count; ++i)
            word |= uint64_t(marks[first + i] != 0) << i;
        bits[k] = word;
    }
}

// Whether any, and whether all, of the pixels within the reach are selected:
// down the rows, then along the row. Outside the picture a pixel neither
// selects for "any" nor breaks "all".
void CSelectionBits::EdgeOfRow(int y, uint64_t* any, uint64_t* all) {
    const int top = std::max(0, y - m_nReach), bottom = std::min(m_nHeight - 1, y + m_nReach);
    const int tail = m_nWidth % 64;
    const auto inside = [&](int k) {
        return k == m_nWords - 1 && tail ? ~(~uint64_t(0) << tail) : ~uint64_t(0);
    };
    // A word of the outside either side, so that no neighbour needs a check.
    any[0] = any[m_nWords + 1] = 0;
    all[0] = all[m_nWords + 1] = ~uint64_t(0);
    for (int k = 0; k < m_nWords; ++k) {
        uint64_t a = 0, b = ~uint64_t(0);
        for (int v = top; v <= bottom; ++v) {
            a |= Plane(kSelected, v)[k];
            b &= Plane(kSelected, v)[k];
        }
        any[k + 1] = a;
        all[k + 1] = b | ~inside(k);
    }
    uint64_t* edge = Plane(kEdge, y);
    uint32_t count = 0;
    for (int k = 0; k < m_nWords; ++k) {
        const uint64_t *anyAt = any + k + 1, *allAt = all + k + 1;
        // Nothing selected about the word, or everything: no edge (reach < 64).
        if (!(anyAt[-1] | anyAt[0] | anyAt[1]) || !~(allAt[-1] & allAt[0] & allAt[1])) {
            edge[k] = 0;
            continue;
        }
        uint64_t a = anyAt[0], b = allAt[0];
        for (int d = 1; d <= m_nReach; ++d) {
            // Column x + d, then x - d, at bit x.
            a |= anyAt[0] >> d | anyAt[1] << (64 - d);
            a |= anyAt[0] << d | anyAt[-1] >> (64 - d);
            b &= allAt[0] >> d | allAt[1] << (64 - d);
            b &= allAt[0] << d | allAt[-1] >> (64 - d);
        }
        edge[k] = a & ~b & inside(k);
        // Most words hold no edge: no count for them (popcount may be a call).
        if (edge[k]) count += unsigned(std::popcount(edge[k]));
    }
    m_edgeCounts[size_t(y)] = count;
}

} // namespace pelto
