#include "NearestSearch.h"

#include <algorithm>
#include <cstring>

namespace {

template <bool Outer> bool IsTarget(uint8_t value) {
    return Outer ? value == 0 : static_cast<int8_t>(value) > 0;
}

template <bool Outer> bool IsSource(uint8_t value) {
    return Outer ? value != 0 : value == 0;
}

// Bytes of column distances one worker keeps at a time: about what a core's cache holds.
constexpr size_t kChunkBytes = size_t(1) << 19;

// The eight neighbours in tie order, squared distance 1 then 2, indexed by
// a pixel's settle code; code kSearch sends the pixel to the general search.
constexpr int8_t kNeighbourDx[] = {0, 0, 1, -1, 0, 1, -1, 1, -1};
constexpr int8_t kNeighbourDy[] = {0, 1, 0, 0, -1, 1, 1, -1, -1};
constexpr uint8_t kSearch = 9;

} // namespace

CNearestSearch::CNearestSearch(const CMaskDIB& mask, int radius, bool outer)
    : m_mask(mask), m_nRadius(radius), m_bOuter(outer) {
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

CNearestSearch::Scratch CNearestSearch::MakeScratch(int first, int last) const {
    Scratch scratch;
    scratch.m_nFirst = first;
    scratch.m_nLast = last;
    const size_t width = m_mask.m_pBits ? size_t(m_mask.m_nWidth) : 0;
    scratch.m_found.resize(width);
    if (width == 0 || m_nRadius <= 0 || m_nRadius > kMaxFastRadius) return scratch;
    const int cap = m_nRadius + 1;
    // Each chunk sweeps cap extra rows both ways; keep that overhead small.
    const size_t rows = std::max(size_t(4) * cap, kChunkBytes / width);
    scratch.m_nChunkRows = static_cast<int>(std::min(rows, size_t(std::max(last - first, 1))));
    scratch.m_columns.resize(size_t(scratch.m_nChunkRows) * width);
    scratch.m_running.resize(width);
    scratch.m_padded.resize(width + 2 * kWindowPad);
    scratch.m_runs.resize(width + 2 * kWindowPad);
    scratch.m_window.resize(width + 2 * kWindowPad);
    scratch.m_codes.assign((width + 7) / 8 * 8, 0);
    for (std::vector<uint8_t>& flags : scratch.m_flags)
        flags.assign(width + 2, 0);
    return scratch;
}

std::span<const CFoundPoint> CNearestSearch::FindRow(int y, Scratch& scratch) const noexcept {
    scratch.m_nFound = 0;
    if (!m_mask.m_pBits || m_nRadius <= 0 || y < 0 || y >= m_mask.m_nHeight) return {};
    if (m_nRadius > kMaxFastRadius)
        FindRowBruteForce(y, scratch);
    else if (m_bOuter)
        FindRowFast<true>(y, scratch);
    else
        FindRowFast<false>(y, scratch);
    return {scratch.m_found.data(), scratch.m_nFound};
}

template <bool Outer> void CNearestSearch::FillColumnDistances(Scratch& scratch) const noexcept {
    const size_t width = size_t(m_mask.m_nWidth);
    const int cap = m_nRadius + 1;
    const int first = scratch.m_nChunkFirst;
    const int last = scratch.m_nChunkLast;
    uint8_t* running = scratch.m_running.data();
    auto column = [&](int y) { return scratch.m_columns.data() + size_t(y - first) * width; };
    const auto top = static_cast<uint8_t>(cap);
    auto step = [&](int y) {
        const uint8_t* mask = MaskRow(y);
        // Byte arithmetic only, so that the compiler packs many columns a step.
        for (size_t x = 0; x < width; ++x) {
            const uint8_t up = running[x] < top ? static_cast<uint8_t>(running[x] + 1) : top;
            running[x] = IsTarget<Outer>(mask[x]) ? uint8_t(0) : up;
        }
    };

    // Rows farther than cap from the chunk cannot lower a capped distance.
    std::fill(running, running + width, static_cast<uint8_t>(cap));
    for (int y = std::max(0, first - cap); y < last; ++y) {
        step(y);
        if (y >= first) std::copy(running, running + width, column(y));
    }
    std::fill(running, running + width, static_cast<uint8_t>(cap));
    for (int y = std::min(m_mask.m_nHeight - 1, last - 1 + cap); y >= first; --y) {
        step(y);
        if (y >= last) continue;
        uint8_t* distances = column(y);
        for (size_t x = 0; x < width; ++x)
            distances[x] = std::min(distances[x], running[x]);
    }
}

// 1 where row y (all 0 outside the picture) holds a target, in padded[1..width];
// padded[0] and padded[width + 1] stand for the columns beyond the row.
template <bool Outer>
const uint8_t* CNearestSearch::TargetRow(int y, std::vector<uint8_t>& padded) const noexcept {
    const size_t width = size_t(m_mask.m_nWidth);
    uint8_t* flags = padded.data() + 1;
    if (y < 0 || y >= m_mask.m_nHeight) {
        std::fill(flags, flags + width, uint8_t(0));
    } else {
        const uint8_t* mask = MaskRow(y);
        for (size_t x = 0; x < width; ++x)
            flags[x] = IsTarget<Outer>(mask[x]);
    }
    return flags;
}

// window[x] = the least of g over [x - radius, x + radius] within the row:
// minima over runs of 1, 2, 4 ... columns, then two overlapping runs per
// window. Every loop is a plain pass over bytes, which the compiler vectorises.
void CNearestSearch::WindowMinimum(const uint8_t* g, int width, Scratch& scratch) const noexcept {
    const size_t pad = kWindowPad, size = size_t(width) + 2 * pad;
    uint8_t* padded = scratch.m_padded.data();
    std::fill(padded, padded + pad, uint8_t(255));
    std::copy(g, g + width, padded + pad);
    std::fill(padded + pad + width, padded + size, uint8_t(255));
    const uint8_t* runs = padded;
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
    for (int x = 0; x < width; ++x)
        window[x] = std::min(from[x], to[x]);
    scratch.m_pWindowRow = window;
}

template <bool Outer> void CNearestSearch::FindRowFast(int y, Scratch& scratch) const noexcept {
    if (y < scratch.m_nChunkFirst || y >= scratch.m_nChunkLast) {
        scratch.m_nChunkFirst = y;
        scratch.m_nChunkLast = std::min(scratch.m_nLast, y + scratch.m_nChunkRows);
        if (scratch.m_nChunkLast <= y) scratch.m_nChunkLast = std::min(m_mask.m_nHeight, y + 1);
        FillColumnDistances<Outer>(scratch);
    }
    const int width = m_mask.m_nWidth;
    const int radius = m_nRadius;
    const uint8_t* g = scratch.m_columns.data() + size_t(y - scratch.m_nChunkFirst) * width;
    const uint8_t* mask = MaskRow(y);
    WindowMinimum(g, width, scratch);
    const uint8_t* window = scratch.m_pWindowRow;
    const uint8_t* padded = scratch.m_padded.data() + kWindowPad;

    // In speckled masks nearly every pixel has a target among its eight
    // neighbours, and then the first of them in tie order is the answer: no
    // farther point can beat it. One byte pass settles those; the rest are
    // marked for the general search if a column within the radius may hold
    // the point (none such either way finds nothing).
    uint8_t* codes = scratch.m_codes.data();
    const uint8_t* above = TargetRow<Outer>(y + 1, scratch.m_flags[0]);
    const uint8_t* level = TargetRow<Outer>(y, scratch.m_flags[1]);
    const uint8_t* below = TargetRow<Outer>(y - 1, scratch.m_flags[2]);
    const uint8_t limit = static_cast<uint8_t>(radius);
    const uint8_t diagonal = radius > 1 ? 1 : 0; // a radius of 1 reaches no diagonal
    for (int x = 0; x < width; ++x) {
        uint8_t code = window[x] <= limit ? kSearch : 0;
        code = (below[x - 1] & diagonal) ? 8 : code;
        code = (below[x + 1] & diagonal) ? 7 : code;
        code = (above[x - 1] & diagonal) ? 6 : code;
        code = (above[x + 1] & diagonal) ? 5 : code;
        code = below[x] ? 4 : code;
        code = level[x - 1] ? 3 : code;
        code = level[x + 1] ? 2 : code;
        code = above[x] ? 1 : code;
        codes[x] = IsSource<Outer>(mask[x]) ? code : 0;
    }

    // Written a word of eight at a time, without branches inside a word for
    // the settled pixels: in speckled masks they come at random.
    CFoundPoint* found = scratch.m_found.data();
    size_t count = 0;
    for (int word = 0; word < width; word += 8) {
        uint64_t bits; // the codes end in zeros up to a whole word
        std::memcpy(&bits, codes + word, sizeof bits);
        if (bits == 0) continue;
        for (int x = word, end = std::min(width, word + 8); x < end; ++x) {
            const uint8_t code = codes[x];
            if (code == kSearch) {
                count += SearchFarther<Outer>(x, y, padded, window[x], found[count]);
                continue;
            }
            found[count] = {x, kNeighbourDx[code], kNeighbourDy[code]};
            count += code != 0;
        }
    }
    scratch.m_nFound = count;
}

template <bool Outer>
bool CNearestSearch::SearchFarther(int x, int y, const uint8_t* padded, uint8_t window,
                                   CFoundPoint& found) const noexcept {
    const int radius = m_nRadius;
    const int squared = radius * radius;
    // Beyond k columns every sum is at least k^2 + window^2: stop there.
    // Columns outside the row read 255, whose square is beyond any radius.
    const int floor = window * window;
    const uint8_t* column = padded + x;
    int best = column[0] <= radius ? column[0] * column[0] : squared + 1;
    // Four columns a step, so that the steps do not wait on each other; the
    // columns past the radius only add sums beyond it.
    static_assert(kSearchStep == 4);
    for (int k = 1; k <= radius && k * k + floor < best; k += kSearchStep) {
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

void CNearestSearch::FindRowBruteForce(int y, Scratch& scratch) const noexcept {
    for (int x = 0; x < m_mask.m_nWidth; ++x) {
        CPoint found;
        const CPoint start(x, y);
        const bool ok = m_bOuter ? m_mask.FindNearestUnselected(start, found, m_nRadius)
                                 : m_mask.FindNearestSelected(start, found, m_nRadius);
        if (ok) scratch.m_found[scratch.m_nFound++] = {x, found.x - x, found.y - y};
    }
}
