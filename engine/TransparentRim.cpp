#include "TransparentRim.h"

#include "ParallelRows.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace pelto {

namespace {

// Marks: a band pixel grown over transparency, a half-transparent shape pixel
// next to one, and on a transparent pixel past the band the opacity it takes.
constexpr uint8_t kGrown = 255;
constexpr uint8_t kUnder = 1;
constexpr uint8_t kMostPast = 254;

bool SoftEdged(const CAlphaPlane& alpha) {
    // Eight at a time: a byte is 0 or 255 when each bit equals the one above it.
    constexpr uint64_t kLowSeven = 0x7F7F7F7F7F7F7F7F;
    const size_t size = size_t(alpha.Width()) * size_t(alpha.Height());
    const uint8_t* bytes = alpha.Row(0);
    size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        uint64_t word;
        std::memcpy(&word, bytes + i, 8);
        if ((word ^ (word >> 1)) & kLowSeven) return true;
    }
    for (; i < size; ++i)
        if (bytes[i] != 0 && bytes[i] != 255) return true;
    return false;
}

// A straight edge across a pixel, the unit square about its centre, seen
// along its normal: u = |larger component|, v = |smaller one|.
struct Normal {
    double u, v;
    Normal(double nx, double ny) : u(std::fabs(nx)), v(std::fabs(ny)) {
        if (u < v) std::swap(u, v);
    }
};

// The part of the pixel behind an edge s from its centre along the unit normal.
double Cover(double s, Normal n) {
    const double h = (n.u + n.v) / 2, k = (n.u - n.v) / 2;
    if (s >= h) return 1;
    if (s <= -h) return 0;
    if (std::fabs(s) <= k) return 0.5 + s / n.u;
    // Past k the edge cuts a corner off: a triangle, and then v > 0.
    const double corner = 2 * n.u * n.v;
    return s > 0 ? 1 - (h - s) * (h - s) / corner : (h + s) * (h + s) / corner;
}

// Where an edge lies that leaves a of the pixel behind it, across the
// direction (dx, dy): Cover's inverse, times the direction's length, which
// spares the divisions.
double ScaledEdgeAt(double a, int dx, int dy) {
    const Normal n(dx, dy);
    if (std::fabs(a - 0.5) * 2 * n.u <= n.u - n.v) return (a - 0.5) * n.u;
    const double corner = 2 * n.u * n.v, h = (n.u + n.v) / 2;
    return a > 0.5 ? h - std::sqrt(corner * (1 - a)) : std::sqrt(corner * a) - h;
}

// A neighbour in another thread's rows may be marked at the same time: the
// compilers' atomic builtins, since not every standard library we build with
// has std::atomic_ref.
uint8_t LoadMark(const uint8_t& mark) {
    return __atomic_load_n(&mark, __ATOMIC_RELAXED);
}

} // namespace

void CTransparentRim::Prepare(const CMaskDIB& mask, int width) {
    m_pMask = &mask;
    m_nWidth = width;
    m_marks.reset();
    if (!m_alpha.HasBlock() || !SoftEdged(m_alpha)) return;
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

uint8_t CTransparentRim::Coverage(int x, int y, int foundX, int foundY) const {
    // How far the shape's edge in pixel (gx, gy), r from (x, y), lies from it.
    const auto edge = [&](int gx, int gy, double r) {
        return r - ScaledEdgeAt(m_alpha.GetAlpha(gx, gy) / 255.0, x - gx, y - gy) / r;
    };
    const int fx = x - foundX, fy = y - foundY;
    const double r = std::sqrt(double(fx * fx + fy * fy));
    double nearest = edge(foundX, foundY, r);
    // The found pixel is the nearest by centre, but the edge may come nearer
    // through a neighbour of it that the shape covers more: by less than the
    // half diagonal an edge can lie off a centre.
    ForNeighbours(foundX, foundY, [&](int gx, int gy) {
        const int dx = x - gx, dy = y - gy;
        const double reach = nearest + 0.7072;
        if (dx * dx + dy * dy >= reach * reach || Selected(gx, gy)) return;
        nearest = std::min(nearest, edge(gx, gy, std::sqrt(double(dx * dx + dy * dy))));
    });
    return uint8_t(std::lround(255 * Cover(m_nWidth - nearest, Normal(fx / r, fy / r))));
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
            const uint8_t a = m_alpha.GetAlpha(nx, ny);
            if (!Selected(nx, ny) && a != 0 && a != 255) Mark(nx, ny, kUnder);
        });
    // Deeper than W - 1.5 the grown shape covers the pixel and every neighbour
    // lies in the band.
    const int deep = 2 * m_nWidth - 3;
    if (deep > 0 && 4 * square < deep * deep) {
        opacity = 255;
        return;
    }
    opacity = Coverage(x, y, foundX, foundY);
    ForNeighbours(x, y, [&](int nx, int ny) {
        const int ex = foundX - nx, ey = foundY - ny;
        // One within the width of the found point is in the band itself, and
        // one marked grown already cannot rise.
        if (!Selected(nx, ny) || ex * ex + ey * ey <= m_nWidth * m_nWidth) return;
        if (LoadMark(MarkAt(nx, ny)) == kGrown) return;
        const uint8_t past = std::min(Coverage(nx, ny, foundX, foundY), kMostPast);
        if (past != 0) Mark(nx, ny, past);
    });
}

void CTransparentRim::Settle(int x, int y, uint8_t mark) {
    uint8_t& opacity = m_alpha.Row(y)[x];
    const bool under = !Selected(x, y);
    // A selected pixel the picture shows was never transparent: not the rim's.
    if (!under && opacity != 0) return;
    int sum[3] = {}, count = 0;
    ForNeighbours(x, y, [&](int nx, int ny) {
        if (MarkAt(nx, ny) != kGrown) return;
        const uint8_t* rim = m_image.Row(ny) + 3 * size_t(nx);
        for (int c = 0; c < 3; ++c)
            sum[c] += rim[c];
        ++count;
    });
    if (count == 0) return;
    uint8_t* pixel = m_image.Row(y) + 3 * size_t(x);
    for (int c = 0; c < 3; ++c) {
        const int rim = (sum[c] + count / 2) / count;
        pixel[c] = under ? uint8_t((pixel[c] * opacity + rim * (255 - opacity) + 127) / 255)
                         : uint8_t(rim);
    }
    opacity = under ? 255 : mark;
}

void CTransparentRim::Finish(unsigned threads) {
    if (!m_marks) return;
    const int rows = m_alpha.Height();
    const size_t columns = size_t(m_alpha.Width());
    // Settle writes only pixels not grown and reads only grown ones beside them.
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
                if (marks[x] != 0 && marks[x] != kGrown) Settle(int(x), y, marks[x]);
            }
        }
    });
}

} // namespace pelto
