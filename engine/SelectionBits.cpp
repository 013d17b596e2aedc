#include "SelectionBits.h"

#include "ParallelRows.h"
#include "image/RasterIndex.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace pelto {

namespace {

static_assert(std::endian::native == std::endian::little, "eight marks are read as one word");

// Bit i of the result: whether mark i of the eight (each 0, 1 or 2) selects.
// The multiplication moves each byte's low bit to the top byte, none colliding.
uint64_t PackEight(const uint8_t* marks) {
    uint64_t word;
    std::memcpy(&word, marks, 8);
    const uint64_t selects = (word | word >> 1) & 0x0101010101010101;
    return (selects * 0x0102040810204080) >> 56;
}

} // namespace

CSelectionBits::CSelectionBits(const CMaskDIB& selection, int reach, unsigned threads)
    : m_nWidth(selection.m_nWidth), m_nHeight(selection.m_nHeight),
      m_nWords((selection.m_nWidth + 63) / 64), m_nReach(reach),
      m_pBits(block::Allocate(uint64_t(kPlanes) * uint64_t(m_nHeight) * uint64_t(m_nWords) * 8)),
      m_edgeCounts(size_t(m_nHeight)) {
    const unsigned bands = BandCount(m_nHeight, threads);
    // Each band's own room for the rows it works out, taken before any starts.
    std::vector<uint64_t> rows(size_t(bands) * 2 * size_t(m_nWords));
    RunBands(m_nHeight, bands, [&](unsigned, RowBand band) {
        for (int y = band.first; y < band.last; ++y)
            PackRow(selection, y);
    });
    // The edge of a row needs the rows about it.
    RunBands(m_nHeight, bands, [&](unsigned band, RowBand rowsOfBand) {
        uint64_t* any = &rows[size_t(band) * 2 * size_t(m_nWords)];
        for (int y = rowsOfBand.first; y < rowsOfBand.last; ++y)
            EdgeOfRow(y, any, any + m_nWords);
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
        for (; i + 8 <= count; i += 8)
            word |= PackEight(marks + first + i) << i;
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
    for (int k = 0; k < m_nWords; ++k) {
        uint64_t a = 0, b = ~uint64_t(0);
        for (int v = top; v <= bottom; ++v) {
            a |= Plane(kSelected, v)[k];
            b &= Plane(kSelected, v)[k];
        }
        any[k] = a;
        all[k] = b | ~inside(k);
    }
    const auto anyWord = [&](int k) { return k < 0 || k >= m_nWords ? 0 : any[k]; };
    const auto allWord = [&](int k) { return k < 0 || k >= m_nWords ? ~uint64_t(0) : all[k]; };
    uint64_t* edge = Plane(kEdge, y);
    uint32_t count = 0;
    for (int k = 0; k < m_nWords; ++k) {
        uint64_t a = any[k], b = all[k];
        for (int d = 1; d <= m_nReach; ++d) {
            // Column x + d, then x - d, at bit x.
            a |= any[k] >> d | anyWord(k + 1) << (64 - d);
            a |= any[k] << d | anyWord(k - 1) >> (64 - d);
            b &= all[k] >> d | allWord(k + 1) << (64 - d);
            b &= all[k] << d | allWord(k - 1) >> (64 - d);
        }
        edge[k] = a & ~b & inside(k);
        count += unsigned(std::popcount(edge[k]));
    }
    m_edgeCounts[size_t(y)] = count;
}

} // namespace pelto
