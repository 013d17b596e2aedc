#include "NearestSearch.h"

#include "image/RasterIndex.h"

#include <algorithm>
#include <cstring>
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define PELTO_WIDE_STEPS 1
#endif

namespace pelto {

using outline::IsSource;
using outline::IsTarget;

namespace {

// Bytes of column distances one worker keeps at a time: about what a core's cache holds.
constexpr size_t kChunkBytes = size_t(1) << 19;

// The eight neighbours in tie order, squared distance 1 then 2, indexed by
// a pixel's settle code; code kSearch sends the pixel to the general search.
constexpr int8_t kNeighbourDx[] = {0, 0, 1, -1, 0, 1, -1, 1, -1};
constexpr int8_t kNeighbourDy[] = {0, 1, 0, 0, -1, 1, 1, -1, -1};
constexpr uint8_t kSearch = 9;

#ifdef PELTO_WIDE_STEPS
bool HasSse41() {
    static const bool has = __builtin_cpu_supports("sse4.1");
    return has;
}

// The least k^2 + d^2 over k = 1 .. 16 * steps, d the lesser of the distances
// kept k columns left and right (capped at radius + 1: anything farther lies
// beyond the radius either way). Radius at most kMaxWideRadius, so that every
// sum fits 16 bits.
__attribute__((target("sse4.1"))) int LeastSideSum(const uint8_t* column, int radius, int steps) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i cap = _mm_set1_epi8(static_cast<char>(radius + 1));
    const __m128i reverse = _mm_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
    __m128i least = _mm_set1_epi16(0x7fff);
    for (int step = 0; step < steps; ++step) {
        const int k = 1 + CNearestSearch::kWideStep * step;
        const __m128i right = _mm_loadu_si128(reinterpret_cast<const __m128i*>(column + k));
        const __m128i left = _mm_shuffle_epi8(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(column - k - 15)), reverse);
        const __m128i d = _mm_min_epu8(_mm_min_epu8(left, right), cap);
        const __m128i ks = _mm_add_epi16(_mm_set1_epi16(static_cast<short>(k)),
                                         _mm_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7));
        const __m128i ks8 = _mm_add_epi16(ks, _mm_set1_epi16(8));
        const __m128i low = _mm_unpacklo_epi8(d, zero), high = _mm_unpackhi_epi8(d, zero);
        least =
            _mm_min_epu16(least, _mm_add_epi16(_mm_mullo_epi16(low, low), _mm_mullo_epi16(ks, ks)));
        least = _mm_min_epu16(
            least, _mm_add_epi16(_mm_mullo_epi16(high, high), _mm_mullo_epi16(ks8, ks8)));
    }
    return _mm_extract_epi16(_mm_minpos_epu16(least), 0);
}
#endif

size_t RoundUpToWord(size_t n) {
    return (n + 7) / 8 * 8;
}

// How one worker's scratch is cut: the longest segment, its columns with the
// distances kept beyond both ends, and the rows of one chunk.
struct ScratchLayout {
    size_t segment = 0;
    size_t span = 0;
    size_t chunkRows = 0;
    bool fast = false;
};

ScratchLayout LayoutFor(int64_t width, int rows, int radius, int segmentColumns) {
    ScratchLayout layout;
    if (width <= 0) return layout;
    layout.segment = size_t(std::min<int64_t>(width, std::max(segmentColumns, 1)));
    layout.fast = radius > 0 && radius <= CNearestSearch::kMaxFastRadius;
    if (!layout.fast) return layout;
    const int cap = radius + 1;
    layout.span = layout.segment + 2 * size_t(CNearestSearch::PadFor(radius));
    // Each chunk sweeps cap extra rows both ways; keep that overhead small.
    const size_t chunk = std::max(size_t(4) * cap, kChunkBytes / layout.span);
    layout.chunkRows = std::min(chunk, size_t(std::max(rows, 1)));
    return layout;
}

} // namespace

int CNearestSearch::PadFor(int radius) {
    const int wide = (radius + kWideStep - 1) / kWideStep * kWideStep;
    return std::max(radius + kSearchStep, radius <= kMaxWideRadius ? wide : 0);
}

CNearestSearch::CNearestSearch(const CMaskDIB& mask, int radius, bool outer, int segmentColumns)
    : m_mask(mask), m_nRadius(radius), m_bOuter(outer),
      m_nSegmentColumns(std::max(segmentColumns, 1)) {
#ifdef PELTO_WIDE_STEPS
    m_bWideSteps = radius <= kMaxWideRadius && HasSse41();
#endif
    if (mask.m_pBits && mask.m_nWidth > 0)
        m_nSegments =
            static_cast<int>((int64_t(mask.m_nWidth) + m_nSegmentColumns - 1) / m_nSegmentColumns);
    if (radius <= 0 || radius > kMaxFastRadius) return;
    const int squared = radius * radius;
    m_groupStart.assign(size_t(squared) + 2, 0);
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
            if (const int s = dx * dx + dy * dy; s <= squared) ++m_groupStart[size_t(s) + 1];
    for (size_t s = 1; s < m_groupStart.size(); ++s)
        m_groupStart[s] += m_groupStart[s - 1];

    // Visiting from the last scanned point backwards puts each group in tie order.
    m_offsets.resize(2 * size_t(m_groupStart.back()));
    std::vector<uint32_t> next(m_groupStart.begin(), m_groupStart.end() - 1);
    for (int dy = radius; dy >= -radius; --dy)
        for (int dx = radius; dx >= -radius; --dx)
            if (const int s = dx * dx + dy * dy; s <= squared) {
                const size_t at = 2 * size_t(next[size_t(s)]++);
                m_offsets[at] = static_cast<int16_t>(dx);
                m_offsets[at + 1] = static_cast<int16_t>(dy);
            }
}

uint64_t CNearestSearch::ScratchBytes(int64_t width, int rows, int radius, int segmentColumns) {
    const ScratchLayout layout = LayoutFor(width, rows, radius, segmentColumns);
    uint64_t bytes = layout.segment * sizeof(CFoundPoint);
    if (layout.fast)
        bytes += (layout.chunkRows + 3) * layout.span + RoundUpToWord(layout.segment) +
                 3 * (layout.segment + 2);
    return bytes;
}

CNearestSearch::Scratch CNearestSearch::MakeScratch(int first, int last) const {
    Scratch scratch;
    scratch.m_nFirst = first;
    scratch.m_nLast = last;
    const int64_t width = m_mask.m_pBits ? m_mask.m_nWidth : 0;
    const ScratchLayout layout = LayoutFor(width, last - first, m_nRadius, m_nSegmentColumns);
    scratch.m_found.resize(layout.segment);
    if (!layout.fast) return scratch;
    scratch.m_nChunkRows = static_cast<int>(layout.chunkRows);
    scratch.m_columns.reset(new uint8_t[layout.chunkRows * layout.span]);
    scratch.m_running.resize(layout.span);
    scratch.m_runs.resize(layout.span);
    scratch.m_window.resize(layout.span);
    scratch.m_codes.assign(RoundUpToWord(layout.segment), 0);
    for (std::vector<uint8_t>& flags : scratch.m_flags)
        flags.assign(layout.segment + 2, 0);
    return scratch;
}

CNearestSearch::Segment CNearestSearch::SegmentAt(int segment) const {
    const int64_t first = int64_t(segment) * m_nSegmentColumns;
    return {static_cast<int>(first),
            static_cast<int>(std::min<int64_t>(m_mask.m_nWidth, first + m_nSegmentColumns))};
}

const uint8_t* CNearestSearch::MaskRow(int y) const {
    return m_mask.m_pBits + raster::Offset(0, y, m_mask.m_nStride, 1);
}

std::span<const CFoundPoint> CNearestSearch::FindSegment(int y, int segment,
                                                         Scratch& scratch) const noexcept {
    if (!m_mask.m_pBits || m_nRadius <= 0 || y < 0 || y >= m_mask.m_nHeight || segment < 0 ||
        segment >= m_nSegments)
        return {};
    const Segment s = SegmentAt(segment);
    size_t count = 0;
    if (m_nRadius > kMaxFastRadius) {
        count = FindSegmentBruteForce(y, s, scratch);
    } else {
        if (segment != scratch.m_nSegment || y < scratch.m_nChunkFirst ||
            y >= scratch.m_nChunkLast) {
            scratch.m_nSegment = segment;
            scratch.m_nChunkFirst = y;
            scratch.m_nChunkLast = std::min(scratch.m_nLast, y + scratch.m_nChunkRows);
            if (scratch.m_nChunkLast <= y) scratch.m_nChunkLast = std::min(m_mask.m_nHeight, y + 1);
            if (m_bOuter)
                FillColumnDistances<true>(scratch, s);
            else
                FillColumnDistances<false>(scratch, s);
        }
        count =
            m_bOuter ? FindSegmentFast<true>(y, s, scratch) : FindSegmentFast<false>(y, s, scratch);
    }
    return {scratch.m_found.data(), count};
}

// The segment's columns with Pad() more on either side; columns beyond the
// picture read 255, farther than any radius.
template <bool Outer>
void CNearestSearch::FillColumnDistances(Scratch& scratch, Segment s) const noexcept {
    const int64_t base = int64_t(s.first) - Pad();
    const size_t span = size_t(s.last - s.first) + 2 * size_t(Pad());
    const size_t lo = size_t(std::max<int64_t>(base, 0) - base);
    const size_t hi = size_t(std::min<int64_t>(base + int64_t(span), m_mask.m_nWidth) - base);
    const int cap = m_nRadius + 1;
    const int first = scratch.m_nChunkFirst;
    const int last = scratch.m_nChunkLast;
    uint8_t* running = scratch.m_running.data() + lo;
    const size_t columns = hi - lo;
    auto row = [&](int y) { return scratch.m_columns.get() + size_t(y - first) * span; };
    const auto top = static_cast<uint8_t>(cap);
    auto step = [&](int y) {
        const uint8_t* mask = MaskRow(y) + size_t(base + int64_t(lo));
        // Byte arithmetic only, so that the compiler packs many columns a step.
        for (size_t x = 0; x < columns; ++x) {
            const uint8_t up = running[x] < top ? static_cast<uint8_t>(running[x] + 1) : top;
            running[x] = IsTarget<Outer>(mask[x]) ? uint8_t(0) : up;
        }
    };

    // Rows farther than cap from the chunk cannot lower a capped distance.
    std::fill(running, running + columns, top);
    for (int y = std::max(0, first - cap); y < last; ++y) {
        step(y);
        if (y < first) continue;
        uint8_t* distances = row(y);
        std::fill(distances, distances + lo, uint8_t(255));
        std::copy(running, running + columns, distances + lo);
        std::fill(distances + hi, distances + span, uint8_t(255));
    }
    std::fill(running, running + columns, top);
    for (int y = std::min(m_mask.m_nHeight - 1, last - 1 + cap); y >= first; --y) {
        step(y);
        if (y >= last) continue;
        uint8_t* distances = row(y) + lo;
        for (size_t x = 0; x < columns; ++x)
            distances[x] = std::min(distances[x], running[x]);
    }
}

// 1 where row y (all 0 outside the picture) holds a target; the result is
// the segment's first column, with [-1] and [length] the columns beside it.
template <bool Outer>
const uint8_t* CNearestSearch::TargetRow(int y, Segment s,
                                         std::vector<uint8_t>& flags) const noexcept {
    uint8_t* out = flags.data();
    const size_t length = size_t(s.last - s.first) + 2;
    std::fill(out, out + length, uint8_t(0));
    if (y >= 0 && y < m_mask.m_nHeight) {
        const int from = std::max(s.first - 1, 0);
        const int to = std::min(s.last + 1, m_mask.m_nWidth);
        const uint8_t* mask = MaskRow(y);
        for (int x = from; x < to; ++x)
            out[size_t(x - s.first + 1)] = IsTarget<Outer>(mask[x]);
    }
    return out + 1;
}

// window[i] = the least of g over [i - radius, i + radius] for the columns
// [0, columns), g holding Pad() more either side: minima over runs of 1, 2,
// 4 ... columns, then two overlapping runs per window. Every loop is a plain
// pass over bytes, which the compiler vectorises.
void CNearestSearch::WindowMinimum(const uint8_t* g, int columns, Scratch& scratch) const noexcept {
    const size_t pad = size_t(Pad()), size = size_t(columns) + 2 * pad;
    const uint8_t* runs = g;
    uint8_t* const buffers[2] = {scratch.m_runs.data(), scratch.m_window.data()};
    int spare = 0;
    size_t run = 1;
    for (; 2 * run <= size_t(2 * m_nRadius + 1); run *= 2) {
        uint8_t* out = buffers[spare];
        for (size_t x = 0; x + run < size; ++x)
            out[x] = std::min(runs[x], runs[x + run]);
        runs = out;
        spare ^= 1;
    }
    uint8_t* window = buffers[spare];
    const uint8_t* from = runs + pad - m_nRadius;
    const uint8_t* to = runs + pad + m_nRadius + 1 - run;
    for (int x = 0; x < columns; ++x)
        window[x] = std::min(from[x], to[x]);
    scratch.m_pWindowRow = window;
}

template <bool Outer>
size_t CNearestSearch::FindSegmentFast(int y, Segment s, Scratch& scratch) const noexcept {
    const int columns = s.last - s.first;
    const size_t span = size_t(columns) + 2 * size_t(Pad());
    const uint8_t* g = scratch.m_columns.get() + size_t(y - scratch.m_nChunkFirst) * span;
    const uint8_t* distances = g + Pad(); // the segment's first column
    const uint8_t* mask = MaskRow(y) + size_t(s.first);
    WindowMinimum(g, columns, scratch);
    const uint8_t* window = scratch.m_pWindowRow;

    // In speckled masks nearly every pixel has a target among its eight
    // neighbours, and then the first of them in tie order is the answer: no
    // farther point can beat it. One byte pass settles those; the rest are
    // marked for the general search if a column within the radius may hold
    // the point (none such either way finds nothing).
    uint8_t* codes = scratch.m_codes.data();
    const uint8_t* above = TargetRow<Outer>(y + 1, s, scratch.m_flags[0]);
    const uint8_t* level = TargetRow<Outer>(y, s, scratch.m_flags[1]);
    const uint8_t* below = TargetRow<Outer>(y - 1, s, scratch.m_flags[2]);
    const uint8_t limit = static_cast<uint8_t>(m_nRadius);
    const uint8_t diagonal = m_nRadius > 1 ? 1 : 0; // a radius of 1 reaches no diagonal
    for (int i = 0; i < columns; ++i) {
        uint8_t code = window[i] <= limit ? kSearch : 0;
        code = (below[i - 1] & diagonal) ? 8 : code;
        code = (below[i + 1] & diagonal) ? 7 : code;
        code = (above[i - 1] & diagonal) ? 6 : code;
        code = (above[i + 1] & diagonal) ? 5 : code;
        code = below[i] ? 4 : code;
        code = level[i - 1] ? 3 : code;
        code = level[i + 1] ? 2 : code;
        code = above[i] ? 1 : code;
        codes[i] = IsSource<Outer>(mask[i]) ? code : 0;
    }
    std::fill(codes + columns, codes + RoundUpToWord(size_t(columns)), uint8_t(0));

    // Written a word of eight at a time, without branches inside a word for
    // the settled pixels: in speckled masks they come at random.
    CFoundPoint* found = scratch.m_found.data();
    size_t count = 0;
    for (int word = 0; word < columns; word += 8) {
        uint64_t bits; // the codes end in zeros up to a whole word
        std::memcpy(&bits, codes + word, sizeof bits);
        if (bits == 0) continue;
        for (int i = word, end = std::min(columns, word + 8); i < end; ++i) {
            const uint8_t code = codes[i];
            const int x = s.first + i;
            if (code == kSearch) {
                count += SearchFarther<Outer>(x, y, distances + i, window[i], found[count]);
                continue;
            }
            found[count] = {x, kNeighbourDx[code], kNeighbourDy[code]};
            count += code != 0;
        }
    }
    return count;
}

// column points at the distances of column x, valid to radius + 3 either side.
template <bool Outer>
bool CNearestSearch::SearchFarther(int x, int y, const uint8_t* column, uint8_t window,
                                   CFoundPoint& found) const noexcept {
    const int radius = m_nRadius;
    const int squared = radius * radius;
    // Beyond k columns every sum is at least k^2 + window^2: stop there.
    // Columns outside the row read 255, whose square is beyond any radius.
    const int floor = window * window;
    int best = column[0] <= radius ? column[0] * column[0] : squared + 1;
#ifdef PELTO_WIDE_STEPS
    if (m_bWideSteps)
        best = std::min(best, LeastSideSum(column, radius, (radius + kWideStep - 1) / kWideStep));
#endif
    // Four columns a step, so that the steps do not wait on each other; the
    // columns past the radius only add sums beyond it.
    static_assert(kSearchStep == 4);
    for (int k = 1; !m_bWideSteps && k <= radius && k * k + floor < best; k += kSearchStep) {
        int sums[kSearchStep];
        for (int j = 0; j < kSearchStep; ++j) {
            const int left = column[-k - j], right = column[k + j];
            sums[j] = (k + j) * (k + j) + std::min(left * left, right * right);
        }
        best = std::min({best, std::min(sums[0], sums[1]), std::min(sums[2], sums[3])});
    }
    if (best > squared) return false;

    // The first offset of the group, in tie order, that holds a target. A
    // column can only hold one at |dy| = its distance, above or below; the
    // mask tells which only for dy > 0, since the group lists +dy before
    // -dy and a column whose target is not above has it below.
    for (uint32_t o = m_groupStart[size_t(best)]; o < m_groupStart[size_t(best) + 1]; ++o) {
        const int dx = m_offsets[2 * size_t(o)];
        const int dy = m_offsets[2 * size_t(o) + 1];
        if (column[dx] != std::abs(dy)) continue;
        if (dy > 0 && (y + dy >= m_mask.m_nHeight || !IsTarget<Outer>(MaskRow(y + dy)[x + dx])))
            continue;
        found = {x, dx, dy};
        return true;
    }
    return false;
}

size_t CNearestSearch::FindSegmentBruteForce(int y, Segment s, Scratch& scratch) const noexcept {
    size_t count = 0;
    for (int x = s.first; x < s.last; ++x) {
        CPoint found;
        const CPoint start(x, y);
        const bool ok = m_bOuter ? m_mask.FindNearestUnselected(start, found, m_nRadius)
                                 : m_mask.FindNearestSelected(start, found, m_nRadius);
        if (ok) scratch.m_found[count++] = {x, found.x - x, found.y - y};
    }
    return count;
}

} // namespace pelto
