#include "RimCover.h"

#include "image/RasterIndex.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace pelto {

namespace {

constexpr int kBits = 64;

// Bit i set where byte i of the eight from bytes is 0: exactly, byte by
// byte, then the high bits gathered by one product.
uint64_t ZeroBytes(const uint8_t* bytes) {
    static_assert(std::endian::native == std::endian::little);
    constexpr uint64_t kLowSeven = 0x7F7F7F7F7F7F7F7F, kHighs = 0x8080808080808080;
    uint64_t word;
    std::memcpy(&word, bytes, 8);
    const uint64_t zero = ~(((word & kLowSeven) + kLowSeven) | word) & kHighs;
    return ((zero >> 7) * 0x0102040810204080) >> 56;
}

} // namespace

CRimCover::CRimCover(const CMaskDIB& mask, const CAlphaPlane& alpha, int width)
    : m_alpha(alpha), m_nWidth(width), m_nExtent(width + 2),
      m_nWindowWords((2 * m_nExtent + kBits) / kBits), m_nPadWords((m_nExtent + kBits - 1) / kBits),
      m_nWords(size_t(m_nPadWords) + size_t(alpha.Width() + kBits - 1) / kBits +
               size_t(m_nPadWords) + 1) {
    // An edge lies within half the pixel's extent across the direction,
    // (|dx| + |dy|) / 2r, of its centre, so a shape pixel reaches in only
    // from nearer than W + (|dx| + |dy|) / r, which grows with |dx|; and none
    // lies nearer than W - 1.5 to a pixel asked about.
    const int deep = 2 * width - 3;
    const int least = deep > 0 ? (deep * deep + 3) / 4 : 1;
    const auto reaches = [&](int dx, int dy) {
        const double r = std::sqrt(double(dx * dx + dy * dy));
        return r <= width + (dx + std::abs(dy)) / r + 1e-9;
    };
    for (int dy = -m_nExtent; dy <= m_nExtent; ++dy) {
        int outer = dy == 0 ? 1 : 0;
        if (!reaches(outer, dy)) continue;
        while (reaches(outer + 1, dy))
            ++outer;
        int inner = 0;
        while (inner <= outer && dy * dy + inner * inner < least)
            ++inner;
        if (inner > outer) continue;
        m_ring.push_back({dy, int(m_directions.size()), m_pattern.size()});
        m_pattern.resize(m_pattern.size() + size_t(m_nWindowWords));
        uint64_t* pattern = &m_pattern[m_ring.back().pattern];
        for (int dx = -m_nExtent; dx <= m_nExtent; ++dx) {
            m_directions.emplace_back(dx == 0 && dy == 0 ? 1 : dx, dy);
            const int at = dx + m_nExtent;
            if (std::abs(dx) >= inner && std::abs(dx) <= outer)
                pattern[at / kBits] |= uint64_t(1) << (at % kBits);
        }
    }
    // The shape as bits, with room each side of a row for the window, and
    // the words of a column one above the other: a ring's rows are a few
    // runs of words.
    const size_t rows = size_t(alpha.Height());
    m_shape.assign(m_nWords * rows, 0);
    const auto word = [&](int x, int y) -> uint64_t& {
        return m_shape[(size_t(m_nPadWords) + size_t(x / kBits)) * rows + size_t(y)];
    };
    for (int y = 0; y < alpha.Height(); ++y) {
        const uint8_t* row = mask.m_pBits + raster::Offset(0, y, mask.m_nStride, 1);
        int x = 0;
        for (; x + 8 <= alpha.Width(); x += 8)
            word(x, y) |= ZeroBytes(row + x) << (x % kBits);
        for (; x < alpha.Width(); ++x)
            word(x, y) |= uint64_t(row[x] == 0) << (x % kBits);
    }
}

uint64_t CRimCover::Bytes(int columns, int rows, int width) {
    const uint64_t extent = uint64_t(width) + 2, window = 2 * extent + 1;
    const uint64_t words = uint64_t(columns) / kBits + 2 * (extent / kBits + 1) + 2;
    return words * uint64_t(rows) * 8 + window * window * sizeof(EdgeDirection) +
           window * (window / kBits + 1) * 8;
}

bool CRimCover::Covers(int x, int y, int shapeX, int shapeY) const {
    const EdgeDirection n(x - shapeX, y - shapeY);
    return Cover(m_nWidth - n.r + EdgeAt(m_alpha.GetAlpha(shapeX, shapeY) / 255.0, n), n) >= 1;
}

uint8_t CRimCover::At(int x, int y) const {
    CEdgeUnion cover;
    // The window of each row from dx = -extent, which the padding keeps
    // inside it, as whole words.
    const int base = x - m_nExtent + kBits * m_nPadWords;
    const size_t first = size_t(base / kBits);
    const int shift = base % kBits;
    const size_t rows = size_t(m_alpha.Height());
    for (const RingRow& row : m_ring) {
        const int gy = y + row.dy;
        if (gy < 0 || gy >= m_alpha.Height()) continue;
        if (cover.Full()) break;
        const uint64_t* bits = &m_shape[first * rows + size_t(gy)];
        const uint8_t* alpha = m_alpha.Row(gy);
        for (int word = 0; word < m_nWindowWords; ++word) {
            uint64_t shape = bits[size_t(word) * rows] >> shift;
            if (shift != 0) shape |= bits[size_t(word + 1) * rows] << (kBits - shift);
            for (shape &= m_pattern[row.pattern + size_t(word)]; shape != 0; shape &= shape - 1) {
                const int at = kBits * word + std::countr_zero(shape);
                const EdgeDirection& n = m_directions[size_t(row.direction + at)];
                cover.Add(m_nWidth - n.r + EdgeAt(alpha[x + at - m_nExtent] / 255.0, n), n);
            }
        }
    }
    return uint8_t(std::lround(255 * cover.Covered()));
}

} // namespace pelto
