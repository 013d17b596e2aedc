#include "TransparentRim.h"

#include "ParallelRows.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace pelto {

namespace {

// Marks: a band pixel grown over transparency; a transparent pixel past the
// band beside one; the shape's half-transparent pixels beside one, and those
// joined to them through others further in.
constexpr uint8_t kGrown = 255;
constexpr uint8_t kPast = 1;
constexpr uint8_t kUnder = 2;
constexpr uint8_t kFurtherIn = 3;

bool Soft(uint8_t alpha) {
    return alpha != 0 && alpha != 255;
}

// Whether the eight bytes from bytes are each 0 or 255: one equals the bit
// above it in every bit.
bool HardWord(const uint8_t* bytes) {
    constexpr uint64_t kLowSeven = 0x7F7F7F7F7F7F7F7F;
    uint64_t word;
    std::memcpy(&word, bytes, 8);
    return ((word ^ (word >> 1)) & kLowSeven) == 0;
}

// A neighbour in another thread's rows may be marked at the same time: the
// compilers' atomic builtins, since not every standard library we build with
// has std::atomic_ref.
uint8_t LoadMark(const uint8_t& mark) {
    return __atomic_load_n(&mark, __ATOMIC_RELAXED);
}

} // namespace

bool CTransparentRim::SoftEdged(const CAlphaPlane& alpha) {
    if (!alpha.HasBlock()) return false;
    const size_t size = size_t(alpha.Width()) * size_t(alpha.Height());
    const uint8_t* bytes = alpha.Row(0);
    size_t i = 0;
    for (; i + 8 <= size; i += 8)
        if (!HardWord(bytes + i)) return true;
    for (; i < size; ++i)
        if (Soft(bytes[i])) return true;
    return false;
}

void CTransparentRim::Prepare(const CMaskDIB& mask, int width) {
    m_pMask = &mask;
    m_nWidth = width;
    m_marks.reset();
    m_pCover.reset();
    if (!m_alpha.HasBlock() || !SoftEdged(m_alpha)) return;
    m_pCover = std::make_unique<CRimCover>(mask, m_alpha, width);
    // Zeroed by the system as they are first touched: most are only read.
    m_marks.reset(
        static_cast<uint8_t*>(std::calloc(size_t(m_alpha.Width()) * size_t(m_alpha.Height()), 1)));
    if (!m_marks) throw std::bad_alloc();
}

bool CTransparentRim::Selected(int x, int y) const {
    return m_pMask->m_pBits[raster::Offset(x, y, m_pMask->m_nStride, 1)] != 0;
}

template <typename Fn> void CTransparentRim::ForNeighbours(int x, int y, Fn fn) const {
    for (int ny = std::max(y - 1, 0); ny <= std::min(y + 1, m_alpha.Height() - 1); ++ny)
        for (int nx = std::max(x - 1, 0); nx <= std::min(x + 1, m_alpha.Width() - 1); ++nx)
            if (nx != x || ny != y) fn(nx, ny);
}

void CTransparentRim::Mark(int x, int y, uint8_t value) {
    uint8_t& mark = MarkAt(x, y);
    if (value == kGrown) return __atomic_store_n(&mark, value, __ATOMIC_RELAXED); // the highest
    uint8_t now = LoadMark(mark);
    while (now < value && !__atomic_compare_exchange_n(&mark, &now, value, true, __ATOMIC_RELAXED,
                                                       __ATOMIC_RELAXED)) {
    }
}

void CTransparentRim::Take(int x, int y, int foundX, int foundY) {
    uint8_t& opacity = m_alpha.Row(y)[x];
    if (opacity != 0) return;
    const CDIB& from = m_pSource ? *m_pSource : m_image;
    std::memcpy(m_image.Row(y) + 3 * size_t(x), from.Row(foundY) + 3 * size_t(foundX), 3);
    if (!m_marks) {
        opacity = 255;
        return;
    }
    Mark(x, y, kGrown);
    const int dx = foundX - x, dy = foundY - y, square = dx * dx + dy * dy;
    if (square <= 2) // touching the shape
        ForNeighbours(x, y, [&](int nx, int ny) {
            if (!Selected(nx, ny) && Soft(m_alpha.GetAlpha(nx, ny))) Mark(nx, ny, kUnder);
        });
    // Deeper than W - 1.5 the grown shape covers the pixel and every neighbour
    // lies in the band.
    const int deep = 2 * m_nWidth - 3;
    if (deep > 0 && 4 * square < deep * deep) {
        opacity = 255;
        return;
    }
    opacity = m_pCover->Covers(x, y, foundX, foundY) ? 255 : m_pCover->At(x, y);
    ForNeighbours(x, y, [&](int nx, int ny) {
        // One within the width of the found point is in the band itself.
        const int ex = foundX - nx, ey = foundY - ny;
        if (Selected(nx, ny) && ex * ex + ey * ey > m_nWidth * m_nWidth) Mark(nx, ny, kPast);
    });
}

bool CTransparentRim::RimColourBeside(int x, int y, uint8_t colour[3]) const {
    int sum[3] = {}, count = 0;
    ForNeighbours(x, y, [&](int nx, int ny) {
        if (MarkAt(nx, ny) != kGrown) return;
        const uint8_t* rim = m_image.Row(ny) + 3 * size_t(nx);
        for (int c = 0; c < 3; ++c)
            sum[c] += rim[c];
        ++count;
    });
    for (int c = 0; c < 3 && count != 0; ++c)
        colour[c] = uint8_t((sum[c] + count / 2) / count);
    return count != 0;
}

void CTransparentRim::SettlePast(int x, int y) {
    uint8_t& opacity = m_alpha.Row(y)[x];
    // A selected pixel the picture shows was never transparent: not the rim's.
    if (opacity != 0) return;
    const uint8_t cover = m_pCover->At(x, y);
    if (cover != 0 && RimColourBeside(x, y, m_image.Row(y) + 3 * size_t(x))) opacity = cover;
}

void CTransparentRim::LayOver(int x, int y, uint8_t mark) {
    uint8_t& opacity = m_alpha.Row(y)[x];
    // Further in, the rim beneath a pixel has the colour of the shape pixel
    // nearest, itself.
    uint8_t rim[3];
    if (mark == kUnder && RimColourBeside(x, y, rim)) {
        uint8_t* pixel = m_image.Row(y) + 3 * size_t(x);
        for (int c = 0; c < 3; ++c)
            pixel[c] = uint8_t((pixel[c] * opacity + rim[c] * (255 - opacity) + 127) / 255);
    }
    opacity = 255;
}

bool CTransparentRim::JoinsUnder(int x, int y) const {
    if (MarkAt(x, y) != 0 || !Soft(m_alpha.GetAlpha(x, y)) || Selected(x, y)) return false;
    bool joins = false;
    ForNeighbours(x, y, [&](int nx, int ny) {
        const uint8_t mark = MarkAt(nx, ny);
        joins |= mark == kUnder || mark == kFurtherIn;
    });
    return joins;
}

void CTransparentRim::SpreadUnder() {
    // Sweeps down and right, then up and left, each carrying the marks along
    // any path that runs its way, until one adds none. Only the set marked
    // counts, so the order is free; most words of a soft-edged logo are hard.
    const int rows = m_alpha.Height(), columns = m_alpha.Width();
    bool added = true;
    for (bool down = true; added; down = !down) {
        added = false;
        for (int i = 0; i < rows; ++i) {
            const int y = down ? i : rows - 1 - i;
            const uint8_t* alpha = m_alpha.Row(y);
            for (int j = 0; j < columns; ++j) {
                const int x = down ? j : columns - 1 - j;
                const int word = down ? x : x - 7;
                if (word % 8 == 0 && word >= 0 && word + 8 <= columns && HardWord(alpha + word)) {
                    j += 7;
                    continue;
                }
                if (!JoinsUnder(x, y)) continue;
                MarkAt(x, y) = kFurtherIn;
                added = true;
            }
        }
    }
}

template <typename Fn> void CTransparentRim::ForMarked(unsigned threads, Fn fn) {
    const int rows = m_alpha.Height();
    const size_t columns = size_t(m_alpha.Width());
    RunBands(rows, BandCount(rows, threads), [&](unsigned, RowBand band) {
        for (int y = band.first; y < band.last; ++y) {
            const uint8_t* marks = m_marks.get() + size_t(y) * columns;
            for (size_t x = 0; x < columns; ++x) {
                // Eight at a time past the runs of nothing and of the band.
                uint64_t word;
                if (x % 8 == 0 && x + 8 <= columns) {
                    std::memcpy(&word, marks + x, 8);
                    if (word == 0 || word == ~uint64_t(0)) {
                        x += 7;
                        continue;
                    }
                }
                if (marks[x] != 0 && marks[x] != kGrown) fn(int(x), y, marks[x]);
            }
        }
    });
}

void CTransparentRim::Finish(unsigned threads) {
    if (!m_marks) return;
    // The pixels past the band read the shape's opacity, so they go first;
    // each pass writes only pixels not grown and reads only grown ones beside
    // them. Most soft edges are a pixel wide, with nothing further in.
    std::atomic<bool> further = false;
    ForMarked(threads, [&](int x, int y, uint8_t mark) {
        if (mark == kPast) return SettlePast(x, y);
        if (further.load(std::memory_order_relaxed)) return;
        ForNeighbours(x, y, [&](int nx, int ny) {
            if (JoinsUnder(nx, ny)) further.store(true, std::memory_order_relaxed);
        });
    });
    if (further) SpreadUnder();
    ForMarked(threads, [&](int x, int y, uint8_t mark) {
        if (mark != kPast) LayOver(x, y, mark);
    });
}

} // namespace pelto
