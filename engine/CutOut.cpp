#include "CutOut.h"

#include "BackgroundSelection.h"
#include "ParallelRows.h"
#include "SelectionBits.h"
#include "SmallDivision.h"
#include "image/RasterIndex.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <utility>
#include <vector>

namespace pelto {

namespace {

constexpr int kEdge = 2;     // how far the edge reaches from the other kind
constexpr int kInner = 2;    // how far the shape's colour is looked for
constexpr int kRunRows = 16; // the rows a thread takes at a time

struct Rgb {
    int r, g, b;
};

int Distance(Rgb a, Rgb b) {
    return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

// n / d rounded half away from zero, for d > 0. Every quotient here fits in
// 32 bits, whose division is the quicker.
int RoundDiv(int n, int d) {
    return n >= 0 ? (n + d / 2) / d : -((-n + d / 2) / d);
}

// The least share (255ths) at which B + (C - B) / share stays within 0..255.
int LeastShare(int c, int b) {
    const int d = c - b;
    if (d == 0) return 0;
    const int room = d > 0 ? 255 - b : b;
    return int(DivideBySmall(uint32_t(255 * std::abs(d) + room - 1), uint32_t(room)));
}

// The unmixing of one edge pixel, from the picture and its selection's bits.
class CUnmixing {
public:
    CUnmixing(const CDIB& image, const CSelectionBits& bits, std::span<const COLORREF> backgrounds)
        : m_pPixels(image.Row(0)), m_nStride(CDIB::Stride24(image.m_nWidth)), m_bits(bits),
          m_nWidth(image.m_nWidth), m_nHeight(image.m_nHeight), m_backgrounds(backgrounds) {}

    // The colour (r, g, b) and share (255ths) of the shape at (x, y).
    std::pair<Rgb, int> Unmix(int x, int y) const {
        const Rgb c = Colour(x, y);
        const bool selected = m_bits.Selected(x, y);
        const Rgb b = selected ? BackgroundOf(x, y) : NearestBackground(x, y);
        const int dr = c.r - b.r, dg = c.g - b.g, db = c.b - b.b;
        if (selected && std::max({std::abs(dr), std::abs(dg), std::abs(db)}) <= 2) return {c, 0};
        const Rgb f = ShapeColour(x, y, b);
        const int fr = f.r - b.r, fg = f.g - b.g, fb = f.b - b.b;
        const int norm = fr * fr + fg * fg + fb * fb;
        int share = selected ? 0 : 255;
        if (norm > 0)
            share = std::clamp(RoundDiv(255 * (dr * fr + dg * fg + db * fb), norm), 0, 255);
        // Wholly shape whatever the least shares are: they only raise it.
        if (!selected && share >= kWholeShare) return {c, 255};
        share = std::max({share, LeastShare(c.r, b.r), LeastShare(c.g, b.g), LeastShare(c.b, b.b)});
        if (share == 0 || (!selected && share >= kWholeShare)) return {c, share ? 255 : 0};
        const auto unmix = [&](int channel, int d) {
            return std::clamp(channel + RoundDivideBySmall(255 * d, share), 0, 255);
        };
        return {{unmix(b.r, dr), unmix(b.g, dg), unmix(b.b, db)}, share};
    }

    Rgb Colour(int x, int y) const {
        const uint8_t* p = Row(y) + 3 * x;
        return {p[2], p[1], p[0]};
    }

private:
    // The picture's rows found once: a pixel's unmixing reads many.
    const uint8_t* Row(int y) const { return m_pPixels + raster::Offset(0, y, m_nStride, 3); }

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

    // A shape pixel's background: that of the nearest selected pixel, ring by
    // ring, each row by row and along the row.
    Rgb NearestBackground(int x, int y) const {
        for (int ring = 1; ring <= kEdge; ++ring) {
            const uint64_t across = (uint64_t(1) << (2 * ring + 1)) - 1;
            const uint64_t ends = 1 | uint64_t(1) << (2 * ring);
            for (int v = std::max(0, y - ring); v <= std::min(m_nHeight - 1, y + ring); ++v) {
                const bool side = v != y - ring && v != y + ring;
                if (const uint64_t near = m_bits.SelectedFrom(x - ring, v) & (side ? ends : across))
                    return BackgroundOf(x - ring + std::countr_zero(near), v);
            }
        }
        return Colour(x, y); // not reached: an edge pixel has one within kEdge
    }

    // The shape's colour about (x, y), seen against background: the mean of
    // the shape's inner pixels, or where there are none (a thin stroke), its
    // edge pixel farthest from the background.
    Rgb ShapeColour(int x, int y, Rgb background) const {
        const int left = std::max(0, x - kInner), right = std::min(m_nWidth - 1, x + kInner);
        const int top = std::max(0, y - kInner), bottom = std::min(m_nHeight - 1, y + kInner);
        const uint64_t columns = (uint64_t(1) << (right - left + 1)) - 1;
        const auto shape = [&](int v) { return ~m_bits.SelectedFrom(left, v) & columns; };
        int r = 0, g = 0, b = 0, count = 0;
        for (int v = top; v <= bottom; ++v) {
            const uint8_t* pixels = Row(v) + 3 * left;
            for (uint64_t inner = shape(v) & ~m_bits.EdgeFrom(left, v); inner; inner &= inner - 1) {
                const uint8_t* p = pixels + 3 * std::countr_zero(inner);
                r += p[2], g += p[1], b += p[0], ++count;
            }
        }
        if (count)
            return {RoundDivideBySmall(r, count), RoundDivideBySmall(g, count),
                    RoundDivideBySmall(b, count)};
        Rgb farthest = Colour(x, y);
        int farthestDistance = -1;
        for (int v = top; v <= bottom; ++v) {
            const uint8_t* pixels = Row(v) + 3 * left;
            for (uint64_t rim = shape(v) & m_bits.EdgeFrom(left, v); rim; rim &= rim - 1) {
                const uint8_t* p = pixels + 3 * std::countr_zero(rim);
                const Rgb c{p[2], p[1], p[0]};
                if (const int d = Distance(c, background); d > farthestDistance)
                    farthest = c, farthestDistance = d;
            }
        }
        return farthest;
    }

    const uint8_t* m_pPixels;
    const uint64_t m_nStride;
    const CSelectionBits& m_bits;
    const int m_nWidth, m_nHeight;
    std::span<const COLORREF> m_backgrounds;
};

} // namespace

CCutOut::CCutOut(CDIB& image, const CAlphaPlane* opacity, CAlphaPlane& alpha,
                 const CMaskDIB& selection, CMaskDIB& transparent,
                 std::span<const COLORREF> backgrounds, unsigned threads)
    : m_image(image), m_pOpacity(opacity), m_alpha(alpha), m_selection(selection),
      m_transparent(transparent), m_nThreads(threads) {
    if (!image.HasBlock()) return;
    const auto sized = [&](const CMaskDIB& mask) {
        return mask.m_nWidth == image.m_nWidth && mask.m_nHeight == image.m_nHeight;
    };
    if (!sized(selection) || !sized(transparent) || alpha.Width() != image.m_nWidth ||
        alpha.Height() != image.m_nHeight ||
        (opacity && (opacity->Width() != image.m_nWidth || opacity->Height() != image.m_nHeight)))
        throw std::invalid_argument("a cut-out's rasters differ in size");
    const CSelectionBits bits(selection, kEdge, threads);
    const CUnmixing unmixing(image, bits, backgrounds);
    const int width = image.m_nWidth, height = image.m_nHeight;
    m_runs.resize(size_t((height + kRunRows - 1) / kRunRows));
    uint64_t total = 0;
    for (size_t i = 0; i < m_runs.size(); ++i) {
        const int first = int(i) * kRunRows;
        m_runs[i].first = total;
        total += m_runs[i].count = bits.EdgeCount(first, std::min(height, first + kRunRows));
    }
    m_pEdge = block::Allocate(total * sizeof(Unmixed));
    // Runs of rows taken in turn, as the edge crowds into some rows.
    RunInRuns(height, threads, kRunRows, [&](unsigned, RowBand rows) {
        Run& run = m_runs[size_t(rows.first / kRunRows)];
        Unmixed* out = Edge() + run.first;
        // Counted here, not in the run, whose neighbours other threads write.
        uint64_t recolouredInRun = 0;
        for (int y = rows.first; y < rows.last; ++y) {
            const uint64_t* edge = bits.EdgeRow(y);
            const uint8_t* seen = opacity ? opacity->Row(y) : nullptr;
            for (int k = 0; k < bits.Words(); ++k)
                for (uint64_t word = edge[k]; word; word &= word - 1) {
                    const int x = 64 * k + std::countr_zero(word);
                    const auto [colour, share] = unmixing.Unmix(x, y);
                    const Rgb was = unmixing.Colour(x, y);
                    const bool recoloured =
                        colour.r != was.r || colour.g != was.g || colour.b != was.b;
                    *out++ = {uint32_t(size_t(y) * size_t(width) + size_t(x)),
                              uint8_t(colour.r),
                              uint8_t(colour.g),
                              uint8_t(colour.b),
                              uint8_t(seen ? RoundDiv(seen[x] * share, 255) : share),
                              recoloured};
                    recolouredInRun += recoloured;
                }
        }
        run.recoloured = recolouredInRun;
    });
    for (Run& run : m_runs) {
        run.firstKept = m_nRecoloured;
        m_nRecoloured += run.recoloured;
    }
}

void CCutOut::Apply(CPixelPatch* before) noexcept {
    if (m_runs.empty()) return;
    const int width = m_image.m_nWidth;
    RunInRuns(m_image.m_nHeight, m_nThreads, kRunRows, [&](unsigned, RowBand rows) {
        // The width held in the run's own local and no branch, so that it
        // runs many pixels at a time.
        const int count = width;
        for (int y = rows.first; y < rows.last; ++y) {
            uint8_t* opacity = m_alpha.Row(y);
            const uint64_t row = raster::Offset(0, y, m_selection.m_nStride, 1);
            const uint8_t* marks = m_selection.m_pBits + row;
            if (m_transparent.m_pBits != m_selection.m_pBits)
                std::memcpy(m_transparent.m_pBits + row, marks, m_selection.m_nStride);
            if (const uint8_t* was = m_pOpacity ? m_pOpacity->Row(y) : nullptr)
                for (int x = 0; x < count; ++x)
                    opacity[x] = was[x] & uint8_t(-(marks[x] == 0));
            else
                for (int x = 0; x < count; ++x)
                    opacity[x] = uint8_t(-(marks[x] == 0));
        }
        const Run& run = m_runs[size_t(rows.first / kRunRows)];
        uint64_t kept = run.firstKept;
        for (const Unmixed& pixel : std::span(Edge() + run.first, run.count)) {
            const int x = int(pixel.pixel % uint32_t(width)),
                      y = int(pixel.pixel / uint32_t(width));
            uint8_t* p = m_image.Row(y) + 3 * x;
            if (pixel.recoloured) {
                if (before) before->Keep(kept++, m_image, uint32_t(p - m_image.m_pFileImage.get()));
                p[0] = pixel.b, p[1] = pixel.g, p[2] = pixel.r;
            }
            m_alpha.Row(y)[x] = pixel.opacity;
            // The selection becomes what is left fully transparent.
            m_transparent.SetValue(CPoint(x, y), pixel.opacity ? 0 : CheckerValue(x, y));
        }
    });
    m_runs.clear();
    m_pEdge.reset();
}

} // namespace pelto
