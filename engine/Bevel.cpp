#include "Bevel.h"

#include "BandReach.h"
#include "BandSearch.h"
#include "HeightAverage.h"
#include "HeightTable.h"
#include "ParallelRows.h"
#include "RoundedTrig.h"
#include "SameSize.h"
#include "ShadeBandPixel.h"
#include "image/RasterIndex.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

namespace pelto {

namespace {

// The desktop's C library (glibc), which the heights have always come from,
// rounds a few of the bevel's atan2 and sin the other way from RoundedTrig's
// exact rounding. Where a height depends on it, its double is kept, so no
// button changes (tests/engine/RoundedTrig_test.cpp goes through every input).
struct KeptBearing {
    int dx, dy; // dx > 0; -dx has the opposite bearing
    double phi;
};
constexpr KeptBearing kKeptBearings[] = {{4, 21, 0x1.817a46cd80c7cp-3},
                                         {3, 28, 0x1.b53076f5837a8p-4}};
struct KeptSine {
    double x; // > 0; -x has the opposite sine
    double sine;
};
// Offset (24, -13) at angle 0, whose round outer heights land on whole numbers.
constexpr KeptSine kKeptSines[] = {{0x1.089aa28390083p+1, 0x1.c2328e7fd26acp-1}};

double ExactBearing(int dx, int dy) {
    for (const KeptBearing& k : kKeptBearings)
        if (std::abs(dx) == k.dx && dy == k.dy) return dx < 0 ? -k.phi : k.phi;
    return trig::Atan2(dx, dy);
}

// The bearing from straight up, clockwise, of an offset. Those a band can
// reach (within the widest band's circle) are worked out once: they do not
// depend on the button values. An offset and its mirror image left to right
// have opposite bearings exactly, so only one of each pair is worked out.
double Bearing(int dx, int dy) {
    constexpr int kRadius = kWidthRange.high;
    constexpr int kSide = kRadius + 1;
    const auto reached = [](int x, int y) { return x * x + y * y <= kRadius * kRadius; };
    static const std::vector<double> bearings = [&] {
        std::vector<double> table(size_t(2 * kRadius + 1) * kSide);
        for (int y = -kRadius; y <= kRadius; ++y)
            for (int x = 0; x <= kRadius; ++x)
                if (reached(x, y)) table[size_t(y + kRadius) * kSide + x] = ExactBearing(x, y);
        return table;
    }();
    if (!reached(dx, dy)) return ExactBearing(dx, dy);
    const double bearing = bearings[size_t(dy + kRadius) * kSide + size_t(std::abs(dx))];
    return dx < 0 ? -bearing : bearing;
}

// Stored rows `rows` of the image shaded from heights whose row 0 is the
// image's row `base`.
void ShadeRows(CDIB& image, RowBand rows, const CHeightDIB& heights, int base, int contrast) {
    const int width = image.m_nWidth;
    for (int y = rows.first; y < rows.last; ++y) {
        uint8_t* row = image.Row(y);
        const int at = y - base;
        const uint8_t* height = heights.m_pBits + raster::Offset(0, at, heights.m_nStride, 2);
        int x = 0;
#if defined(__SSE2__)
        // Eight points at a time where the smoothing stays inside the field;
        // only the band's (height not 0) are shaded.
        if (at >= 2 && at < heights.m_nHeight - 2) {
            for (x = 2; x + 8 + 2 <= width; x += 8) {
                const __m128i eight =
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(height + 2 * x));
                const __m128i zero = _mm_cmpeq_epi16(eight, _mm_setzero_si128());
                // A bit a point, set for the band's.
                auto band = unsigned(_mm_movemask_epi8(_mm_packs_epi16(zero, zero))) & 0xffu;
                band ^= 0xffu;
                if (band == 0) continue;
                int32_t averages[8];
                AverageHeights8(heights, x, at, averages);
                for (; band; band &= band - 1) {
                    const int lane = std::countr_zero(band);
                    ShadePixel(row, x + lane, averages[lane] - 2 * contrast);
                }
            }
            for (int edge = 0; edge < 2; ++edge)
                ShadeBandPixel(row, heights, edge, at, contrast);
        }
#endif
        for (; x < width; ++x)
            ShadeBandPixel(row, heights, x, at, contrast);
    }
}

} // namespace

double LightFactor(int dx, int dy, int angle) {
    const double x = angle * kRadiansPerDegree - Bearing(dx, dy);
    for (const KeptSine& k : kKeptSines)
        if (std::abs(x) == k.x) return x < 0 ? -k.sine : k.sine;
    return trig::Sin(x);
}

int HeightOfLight(double light, int dx, int dy, const ButtonParams& params) {
    const double fx = dx;
    const double fy = dy;
    double m = light;
    const bool outer = params.Outer();
    if (!params.Round()) {
        if (outer) m = -m;
    } else {
        const double r = std::sqrt(fy * fy + fx * fx) / params.width;
        m = outer ? m * r * (-1.5) : m * (1 - r) * 1.5;
    }
    return static_cast<int>(params.contrast * m) + 2 * params.contrast;
}

int BevelHeight(int dx, int dy, const ButtonParams& params) {
    return HeightOfLight(LightFactor(dx, dy, params.angle), dx, dy, params);
}

void ComputeBevelHeights(const CMaskDIB& mask, const ButtonParams& params, CHeightDIB& heights,
                         unsigned threads, CTransparentRim* rim) {
    RequireSameSize(mask, heights, "the height field is not of the selection's size");
    if (rim) {
        RequireSameSize(mask, rim->Image(), "the picture is not of the selection's size");
        if (rim->Alpha().Width() != mask.m_nWidth || rim->Alpha().Height() != mask.m_nHeight)
            throw std::invalid_argument("the opacity is not of the selection's size");
    }
    if (!mask.m_pBits || !heights.m_pBits || params.width <= 0) return;
    const CHeightTable table(params);
    CTransparentRim* grow = params.Outer() ? rim : nullptr;
    if (grow) grow->Prepare(mask, params.width);
    SearchInRuns(mask, params.width, params.Outer(), threads,
                 [&](int y, std::span<const CFoundPoint> found) {
                     for (const CFoundPoint& f : found) {
                         heights.StoreHeight(f.x, y, table.At(f.dx, f.dy));
                         if (grow) grow->Take(f.x, y, f.x + f.dx, y + f.dy);
                     }
                 });
}

void ShadeBevel(CDIB& image, const CHeightDIB& heights, int contrast, unsigned threads,
                CTransparentRim* rim, const RowsShaded& shaded) {
    if (!image.HasBlock() || !heights.m_pBits) return;
    RequireSameSize(image, heights, "the height field is not of the picture's size");
    const int rows = image.m_nHeight;
    // Runs big enough for a write each, small enough that the first goes out
    // early and that the threads finish together; with a rim, told at the end.
    constexpr int kRunRows = 64;
    const bool tell = shaded && !rim;
    RunInRuns(rows, threads, kRunRows, [&](unsigned, RowBand run) {
        ShadeRows(image, run, heights, 0, contrast);
        if (tell) shaded(run.first, run.last);
    });
    if (rim) rim->Finish(threads);
    if (shaded && rim) shaded(0, rows);
}

void MakeBevel(CDIB& image, const CMaskDIB& mask, const ButtonParams& params, unsigned threads,
               const RowsShaded& shaded) {
    RequireSameSize(mask, image, "the picture is not of the selection's size");
    const int rows = image.m_nHeight;
    if (!image.HasBlock() || !mask.m_pBits || params.width <= 0) {
        if (shaded && rows > 0) shaded(0, rows);
        return;
    }
    // Rows the band cannot reach go out first, while the rest is searched:
    // shaded hears of the rows of a band whose flag is `beyondBand`, in runs.
    const std::vector<uint8_t> beyond = RowsBeyondBand(mask, params.width, params.Outer(), threads);
    const auto tell = [&](RowBand band, uint8_t beyondBand) {
        if (!shaded) return;
        for (int y = band.first, start = -1; y <= band.last; ++y) {
            const bool told = y < band.last && beyond[size_t(y)] == beyondBand;
            if (told && start < 0) start = y;
            if (!told && start >= 0) shaded(std::exchange(start, -1), y);
        }
    };
    tell({0, rows}, 1);
    // Everything is allocated before the first pixel changes.
    const CHeightTable table(params);
    const CNearestSearch search(mask, params.width, params.Outer());
    const unsigned count = BandCount(rows, threads);
    // Runs short enough that the first rows are told early, each searched
    // with the two rows either side its smoothing reads; each thread's
    // memory is made for one run only.
    constexpr int kReach = 2, kRunRows = 128;
    const int searched = std::min(rows, kRunRows + 2 * kReach);
    std::vector<CNearestSearch::Scratch> scratch;
    std::vector<std::unique_ptr<CHeightDIB>> fields;
    for (unsigned i = 0; i < count; ++i) {
        scratch.push_back(search.MakeScratch(0, searched));
        fields.push_back(
            std::make_unique<CHeightDIB>(image.m_nWidth, searched, CHeightDIB::Unfilled{}));
    }
    const int chunk = search.ChunkRows(scratch[0]);
    const int run = chunk > 0 ? std::clamp(chunk - 2 * kReach, 1, kRunRows) : kRunRows;
    RunInRuns(rows, threads, run, [&](unsigned thread, RowBand rowRun) {
        if (std::all_of(beyond.begin() + rowRun.first, beyond.begin() + rowRun.last,
                        [](uint8_t flag) { return flag != 0; }))
            return;
        CHeightDIB& field = *fields[thread];
        const int base = std::max(0, rowRun.first - kReach);
        const int top = std::min(rows, rowRun.last + kReach);
        // Past the picture's top the smoothing reads rows no search writes.
        const int read = std::min(field.m_nHeight, rowRun.last + kReach - base);
        std::memset(field.m_pBits, 0, size_t(field.m_nStride) * size_t(read));
        search.Rebind(scratch[thread], base, top);
        search.ForEachRow(scratch[thread], [&](int y, std::span<const CFoundPoint> found) {
            for (const CFoundPoint& f : found)
                field.StoreHeight(f.x, y - base, table.At(f.dx, f.dy));
        });
        ShadeRows(image, rowRun, field, base, params.contrast);
        tell(rowRun, 0);
    });
}

} // namespace pelto
