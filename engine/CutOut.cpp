#include "CutOut.h"

#include "BackgroundSelection.h"
#include "ParallelRows.h"
#include "image/RasterIndex.h"

#include <memory>
#include <new>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace pelto {

namespace {

constexpr int kEdge = 2;  // how far the edge reaches from the other kind
constexpr int kInner = 2; // how far the shape's colour is looked for

struct Rgb {
    int r, g, b;
};

int Distance(Rgb a, Rgb b) {
    return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

// n / d rounded half away from zero, for d > 0.
int64_t RoundDiv(int64_t n, int64_t d) {
    return n >= 0 ? (n + d / 2) / d : -((-n + d / 2) / d);
}

// The least share (255ths) at which B + (C - B) / share stays within 0..255.
int LeastShare(int c, int b) {
    const int d = c - b;
    if (d == 0) return 0;
    const int room = d > 0 ? 255 - b : b;
    return int((255 * int64_t(std::abs(d)) + room - 1) / room);
}

class CutOutPass {
    struct Point {
        int x, y;
    };

public:
    CutOutPass(const CDIB& image, const CMaskDIB& selection, std::span<const COLORREF> backgrounds)
        : m_image(image), m_selection(selection), m_nWidth(image.m_nWidth),
          m_nHeight(image.m_nHeight), m_backgrounds(backgrounds),
          // Zeroed by the system as it hands the pages over: only the edge's are touched.
          m_edge(static_cast<uint8_t*>(std::calloc(size_t(m_nWidth) * size_t(m_nHeight), 1))) {
        if (!m_edge) throw std::bad_alloc();
    }

    struct Unmixed {
        int x, y;
        Rgb colour;
        int share;
        uint8_t opacity = 0; // the pixel's new opacity
    };

    // The edge's pixels, each unmixed, their share of them on each thread.
    std::vector<Unmixed> Edge(unsigned threads) {
        FindEdge(threads);
        std::vector<Unmixed> unmixed(m_edgePixels.size());
        const int count = int(m_edgePixels.size());
        RunBands(count, BandCount(count, threads), [&](unsigned, RowBand band) {
            for (int i = band.first; i < band.last; ++i)
                unmixed[size_t(i)] = Unmix(m_edgePixels[size_t(i)].x, m_edgePixels[size_t(i)].y);
        });
        return unmixed;
    }

    bool Selected(int x, int y) const { return Marks(y)[x] != 0; }

private:
    const uint8_t* Marks(int y) const {
        return m_selection.m_pBits + raster::Offset(0, y, m_selection.m_nStride, 1);
    }
    size_t Index(int x, int y) const { return size_t(y) * size_t(m_nWidth) + size_t(x); }
    Rgb Colour(int x, int y) const {
        const uint8_t* p = m_image.Row(y) + 3 * x;
        return {p[2], p[1], p[0]};
    }

    // Marks the pixels within kEdge of (x, y) that are of the other kind,
    // once for each pixel beside one of the other kind.
    void MarkAround(int x, int y) {
        uint8_t& done = m_edge[Index(x, y)];
        if (done & kAround) return;
        done |= kAround;
        const bool other = !Selected(x, y);
        const int left = std::max(0, x - kEdge), right = std::min(m_nWidth - 1, x + kEdge);
        for (int v = std::max(0, y - kEdge); v <= std::min(m_nHeight - 1, y + kEdge); ++v) {
            const uint8_t* marks = Marks(v);
            uint8_t* edge = &m_edge[Index(0, v)];
            for (int u = left; u <= right; ++u) {
                if ((marks[u] != 0) != other || (edge[u] & kOnEdge)) continue;
                edge[u] |= kOnEdge;
                m_edgePixels.push_back({u, v});
            }
        }
    }

    // Every pixel with one of the other kind within kEdge lies within kEdge of
    // one of a pair of side-by-side pixels of different kinds: the rows are
    // searched for such pairs side by side, runs alike passed over whole, then
    // the edge about them marked in the rows' order.
    void FindEdge(unsigned threads) {
        const unsigned count = BandCount(m_nHeight, threads);
        std::vector<std::vector<Point>> beside(count);
        std::atomic<bool> shortOfMemory = false;
        RunBands(m_nHeight, count, [&](unsigned band, RowBand rows) {
            std::vector<Point>& found = beside[band];
            try {
                Beside(rows, found);
            } catch (const std::bad_alloc&) {
                shortOfMemory = true;
            }
        });
        if (shortOfMemory) throw std::bad_alloc();
        for (const std::vector<Point>& found : beside)
            for (const Point point : found)
                MarkAround(point.x, point.y);
    }

    // The pairs of side-by-side pixels of different kinds in rows and the rows below them.
    void Beside(RowBand rows, std::vector<Point>& found) const {
        for (int y = rows.first; y < rows.last; ++y) {
            const uint8_t* row = Marks(y);
            Differences(row, row + 1, m_nWidth - 1, [&](int x) {
                found.push_back({x, y});
                found.push_back({x + 1, y});
            });
            if (y + 1 < m_nHeight)
                Differences(row, Marks(y + 1), m_nWidth, [&](int x) {
                    found.push_back({x, y});
                    found.push_back({x, y + 1});
                });
        }
    }

    // found(x) for each x below n where one of a[x] and b[x] is selected and
    // the other not, runs of eight alike passed over at once. The marks are
    // 0, 1 or 2: a mark's low two bits, or'd, tell whether it selects.
    template <typename Found>
    static void Differences(const uint8_t* a, const uint8_t* b, int n, Found found) {
        constexpr uint64_t kLow = 0x0101010101010101;
        const auto selects = [](uint64_t marks) { return (marks | marks >> 1) & kLow; };
        int x = 0;
        for (; x + 8 <= n; x += 8) {
            uint64_t u, v;
            std::memcpy(&u, a + x, 8);
            std::memcpy(&v, b + x, 8);
            if (selects(u) == selects(v)) continue;
            for (int i = x; i < x + 8; ++i)
                if ((a[i] != 0) != (b[i] != 0)) found(i);
        }
        for (; x < n; ++x)
            if ((a[x] != 0) != (b[x] != 0)) found(x);
    }

    // The colour taken out of a selected pixel: its pick's.
    Rgb BackgroundOf(int x, int y) const {
        const Rgb c = Colour(x, y);
        if (m_backgrounds.empty()) return c;
        Rgb best{};
        int bestDistance = INT32_MAX;
        for (const COLORREF colour : m_backgrounds) {
            const Rgb pick{int(GetRValue(colour)), int(GetGValue(colour)), int(GetBValue(colour))};
            if (const int d = Distance(c, pick); d < bestDistance) best = pick, bestDistance = d;
        }
        return best;
    }

    // A shape pixel's background: that of the nearest selected pixel, ring by ring.
    Rgb NearestBackground(int x, int y) const {
        for (int ring = 1; ring <= kEdge; ++ring)
            for (int v = y - ring; v <= y + ring; ++v)
                for (int u = x - ring; u <= x + ring; ++u) {
                    if (std::max(std::abs(u - x), std::abs(v - y)) != ring) continue;
                    if (u < 0 || v < 0 || u >= m_nWidth || v >= m_nHeight) continue;
                    if (Selected(u, v)) return BackgroundOf(u, v);
                }
        return Colour(x, y); // not reached: an edge pixel has one within kEdge
    }

    // The shape's colour about (x, y), seen against background.
    Rgb ShapeColour(int x, int y, Rgb background) const {
        int64_t r = 0, g = 0, b = 0, count = 0;
        Rgb farthest = Colour(x, y);
        int farthestDistance = -1;
        const int left = std::max(0, x - kInner), right = std::min(m_nWidth - 1, x + kInner);
        for (int v = std::max(0, y - kInner); v <= std::min(m_nHeight - 1, y + kInner); ++v) {
            const uint8_t* marks = Marks(v);
            const uint8_t* edge = &m_edge[Index(0, v)];
            const uint8_t* pixels = m_image.Row(v);
            for (int u = left; u <= right; ++u) {
                if (marks[u]) continue;
                const uint8_t* p = pixels + 3 * u;
                const Rgb c{p[2], p[1], p[0]};
                if (!(edge[u] & kOnEdge)) {
                    r += c.r, g += c.g, b += c.b, ++count;
                } else if (const int d = Distance(c, background); d > farthestDistance) {
                    farthest = c, farthestDistance = d;
                }
            }
        }
        if (!count) return farthest;
        return {int(RoundDiv(r, count)), int(RoundDiv(g, count)), int(RoundDiv(b, count))};
    }

    Unmixed Unmix(int x, int y) const {
        const Rgb c = Colour(x, y);
        const bool selected = Selected(x, y);
        const Rgb b = selected ? BackgroundOf(x, y) : NearestBackground(x, y);
        const int dr = c.r - b.r, dg = c.g - b.g, db = c.b - b.b;
        if (selected && std::max({std::abs(dr), std::abs(dg), std::abs(db)}) <= 2)
            return {x, y, c, 0};
        const Rgb f = ShapeColour(x, y, b);
        const int64_t fr = f.r - b.r, fg = f.g - b.g, fb = f.b - b.b;
        const int64_t norm = fr * fr + fg * fg + fb * fb;
        int share = selected ? 0 : 255;
        if (norm > 0)
            share = int(
                std::clamp<int64_t>(RoundDiv(255 * (dr * fr + dg * fg + db * fb), norm), 0, 255));
        share = std::max({share, LeastShare(c.r, b.r), LeastShare(c.g, b.g), LeastShare(c.b, b.b)});
        if (share == 0 || (!selected && share >= kWholeShare)) return {x, y, c, share ? 255 : 0};
        const auto unmix = [&](int channel, int d) {
            return int(std::clamp<int64_t>(channel + RoundDiv(255 * int64_t(d), share), 0, 255));
        };
        return {x, y, {unmix(b.r, dr), unmix(b.g, dg), unmix(b.b, db)}, share};
    }

    const CDIB& m_image;
    const CMaskDIB& m_selection;
    const int m_nWidth, m_nHeight;
    std::span<const COLORREF> m_backgrounds;
    struct Free {
        void operator()(uint8_t* p) const { std::free(p); }
    };
    // By column and stored row: whether a pixel is on the edge, and whether
    // the edge about it has been marked.
    static constexpr uint8_t kOnEdge = 1, kAround = 2;
    std::unique_ptr<uint8_t[], Free> m_edge;
    std::vector<Point> m_edgePixels;
};

} // namespace

void CutOut(CDIB& image, CAlphaPlane& alpha, CMaskDIB& selection,
            std::span<const COLORREF> backgrounds, unsigned threads) {
    if (!image.HasBlock()) return;
    if (selection.m_nWidth != image.m_nWidth || selection.m_nHeight != image.m_nHeight ||
        alpha.Width() != image.m_nWidth || alpha.Height() != image.m_nHeight)
        throw std::invalid_argument("a cut-out's rasters differ in size");
    std::vector<CutOutPass::Unmixed> edge = CutOutPass(image, selection, backgrounds).Edge(threads);
    for (CutOutPass::Unmixed& pixel : edge)
        pixel.opacity = uint8_t(RoundDiv(int64_t(alpha.Row(pixel.y)[pixel.x]) * pixel.share, 255));
    // Nothing has changed until here.
    const int width = image.m_nWidth;
    for (int y = 0; y < image.m_nHeight; ++y) {
        uint8_t* opacity = alpha.Row(y);
        const uint8_t* marks = selection.m_pBits + raster::Offset(0, y, selection.m_nStride, 1);
        // The width held apart and no branch, so that it runs many pixels at a time.
        for (int x = 0; x < width; ++x)
            opacity[x] &= uint8_t(-(marks[x] == 0));
    }
    for (const CutOutPass::Unmixed& pixel : edge) {
        uint8_t* p = image.Row(pixel.y) + 3 * pixel.x;
        p[0] = uint8_t(pixel.colour.b), p[1] = uint8_t(pixel.colour.g),
        p[2] = uint8_t(pixel.colour.r);
        uint8_t& opacity = alpha.Row(pixel.y)[pixel.x];
        opacity = pixel.opacity;
        // The selection becomes what is left fully transparent.
        selection.SetValue(CPoint(pixel.x, pixel.y), opacity ? 0 : CheckerValue(pixel.x, pixel.y));
    }
}

} // namespace pelto
