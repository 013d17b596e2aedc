#include "Bevel.h"

#include "BandSearch.h"
#include "HeightAverage.h"
#include "HeightTable.h"
#include "ParallelRows.h"
#include "RoundedTrig.h"
#include "SameSize.h"
#include "ShadeBandPixel.h"
#include "image/RasterIndex.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
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
// reach are worked out once: they do not depend on the button values.
double Bearing(int dx, int dy) {
    constexpr int kRadius = kWidthRange.high;
    constexpr int kSide = 2 * kRadius + 1;
    static const std::vector<double> bearings = [] {
        std::vector<double> table(kSide * kSide);
        for (int y = -kRadius; y <= kRadius; ++y)
            for (int x = -kRadius; x <= kRadius; ++x)
                table[(y + kRadius) * kSide + x + kRadius] = ExactBearing(x, y);
        return table;
    }();
    if (std::abs(dx) > kRadius || std::abs(dy) > kRadius) return ExactBearing(dx, dy);
    return bearings[(dy + kRadius) * kSide + dx + kRadius];
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
        // Band pixels are gathered first without branches: in a speckled
        // picture whether a pixel belongs to the band is a coin toss.
        constexpr int kSpan = 512;
        int columns[kSpan];
        for (int y = run.first; y < run.last; ++y) {
            uint8_t* row = image.Row(y);
            const uint8_t* height = heights.m_pBits + raster::Offset(0, y, heights.m_nStride, 2);
            for (int begin = 0; begin < image.m_nWidth; begin += kSpan) {
                const int end = std::min(image.m_nWidth, begin + kSpan);
                int count = 0;
                for (int x = begin; x < end; ++x) {
                    const uint8_t* h = height + raster::Offset(x, 0, 0, 2);
                    columns[count] = x;
                    count += (h[0] | h[1]) != 0;
                }
                for (int i = 0; i < count; ++i)
                    ShadeBandPixel(row, heights, columns[i], y, contrast);
            }
        }
        if (tell) shaded(run.first, run.last);
    });
    if (rim) rim->Finish(threads);
    if (shaded && rim) shaded(0, rows);
}

} // namespace pelto
