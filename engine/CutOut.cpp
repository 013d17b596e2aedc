#include "CutOut.h"

#include "image/RasterIndex.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace pelto {

namespace {

constexpr int kEdge = 2;  // how far the edge reaches from the other kind
constexpr int kInner = 3; // how far the shape's colour is looked for

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
public:
    CutOutPass(const CDIB& image, const CMaskDIB& selection, std::span<const COLORREF> backgrounds)
        : m_image(image), m_nWidth(image.m_nWidth), m_nHeight(image.m_nHeight),
          m_backgrounds(backgrounds), m_selected(Plane()), m_edge(Plane()) {
        for (int y = 0; y < m_nHeight; ++y) {
            const uint8_t* marks = selection.m_pBits + raster::Offset(0, y, selection.m_nStride, 1);
            uint8_t* row = &m_selected[Index(0, y)];
            for (int x = 0; x < m_nWidth; ++x)
                row[x] = marks[x] != 0;
        }
    }

    struct Unmixed {
        int x, y;
        Rgb colour;
        int share;
        uint8_t opacity = 0; // the pixel's new opacity
    };

    // The edge's pixels, each unmixed.
    std::vector<Unmixed> Edge() {
        FindEdge();
        std::vector<Unmixed> unmixed;
        unmixed.reserve(m_edgePixels.size());
        for (const auto [x, y] : m_edgePixels)
            unmixed.push_back(Unmix(x, y));
        return unmixed;
    }

    bool Selected(int x, int y) const { return m_selected[Index(x, y)] != 0; }
    const std::vector<uint8_t>& SelectedPlane() const { return m_selected; }

private:
    std::vector<uint8_t> Plane() const {
        return std::vector<uint8_t>(size_t(m_nWidth) * size_t(m_nHeight));
    }
    size_t Index(int x, int y) const { return size_t(y) * size_t(m_nWidth) + size_t(x); }
    Rgb Colour(int x, int y) const {
        const uint8_t* p = m_image.Row(y) + 3 * x;
        return {p[2], p[1], p[0]};
    }

    // Marks the pixels within kEdge of (x, y) that are of the other kind.
    void MarkAround(int x, int y) {
        const uint8_t other = !m_selected[Index(x, y)];
        for (int v = std::max(0, y - kEdge); v <= std::min(m_nHeight - 1, y + kEdge); ++v)
            for (int u = std::max(0, x - kEdge); u <= std::min(m_nWidth - 1, x + kEdge); ++u) {
                const size_t i = Index(u, v);
                if (m_selected[i] != other || m_edge[i]) continue;
                m_edge[i] = 1;
                m_edgePixels.push_back({u, v});
            }
    }

    // Every pixel with one of the other kind within kEdge lies within kEdge of
    // one of a pair of side-by-side pixels of different kinds: uniform rows
    // and rows like the next are passed over whole.
    void FindEdge() {
        for (int y = 0; y < m_nHeight; ++y) {
            const uint8_t* row = &m_selected[Index(0, y)];
            if (std::memcmp(row, row + 1, size_t(m_nWidth - 1)) != 0)
                for (int x = 0; x + 1 < m_nWidth; ++x)
                    if (row[x] != row[x + 1]) MarkAround(x, y), MarkAround(x + 1, y);
            if (y + 1 < m_nHeight && std::memcmp(row, row + m_nWidth, size_t(m_nWidth)) != 0)
                for (int x = 0; x < m_nWidth; ++x)
                    if (row[x] != row[x + m_nWidth]) MarkAround(x, y), MarkAround(x, y + 1);
        }
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
        for (int v = std::max(0, y - kInner); v <= std::min(m_nHeight - 1, y + kInner); ++v)
            for (int u = std::max(0, x - kInner); u <= std::min(m_nWidth - 1, x + kInner); ++u) {
                if (Selected(u, v)) continue;
                const Rgb c = Colour(u, v);
                if (!m_edge[Index(u, v)]) {
                    r += c.r, g += c.g, b += c.b, ++count;
                } else if (const int d = Distance(c, background); d > farthestDistance) {
                    farthest = c, farthestDistance = d;
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
    const int m_nWidth, m_nHeight;
    std::span<const COLORREF> m_backgrounds;
    std::vector<uint8_t> m_selected; // 1 for a selected pixel, by column and stored row
    std::vector<uint8_t> m_edge;     // 1 for a pixel of the edge
    struct Point {
        int x, y;
    };
    std::vector<Point> m_edgePixels;
};

} // namespace

void CutOut(CDIB& image, CAlphaPlane& alpha, const CMaskDIB& selection,
            std::span<const COLORREF> backgrounds) {
    if (!image.HasBlock()) return;
    if (selection.m_nWidth != image.m_nWidth || selection.m_nHeight != image.m_nHeight ||
        alpha.Width() != image.m_nWidth || alpha.Height() != image.m_nHeight)
        throw std::invalid_argument("a cut-out's rasters differ in size");
    CutOutPass pass(image, selection, backgrounds);
    std::vector<CutOutPass::Unmixed> edge = pass.Edge();
    for (CutOutPass::Unmixed& pixel : edge)
        pixel.opacity = uint8_t(RoundDiv(int64_t(alpha.Row(pixel.y)[pixel.x]) * pixel.share, 255));
    // Nothing has changed until here.
    const std::vector<uint8_t>& selected = pass.SelectedPlane();
    for (int y = 0; y < image.m_nHeight; ++y) {
        uint8_t* opacity = alpha.Row(y);
        const uint8_t* row = &selected[size_t(y) * size_t(image.m_nWidth)];
        for (int x = 0; x < image.m_nWidth; ++x)
            if (row[x]) opacity[x] = 0;
    }
    for (const CutOutPass::Unmixed& pixel : edge) {
        uint8_t* p = image.Row(pixel.y) + 3 * pixel.x;
        p[0] = uint8_t(pixel.colour.b), p[1] = uint8_t(pixel.colour.g),
        p[2] = uint8_t(pixel.colour.r);
        alpha.Row(pixel.y)[pixel.x] = pixel.opacity;
    }
}

} // namespace pelto
