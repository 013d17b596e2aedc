#include "Bevel.h"

#include "HeightAverage.h"
#include "HeightTable.h"
#include "NearestSearch.h"
#include "ParallelRows.h"
#include "SameSize.h"
#include "ShadeBandPixel.h"
#include "image/RasterIndex.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace pelto {

int BevelHeight(int dx, int dy, const ButtonParams& params) {
    const double fx = dx;
    const double fy = dy;
    const double phi = std::atan2(fx, fy); // bearing from straight up, clockwise
    double m = std::sin(params.angle * kRadiansPerDegree - phi);
    const bool outer = params.outline != 0;
    if (params.shape == 0) {
        if (outer) m = -m;
    } else {
        const double r = std::sqrt(fy * fy + fx * fx) / params.width;
        m = outer ? m * r * (-1.5) : m * (1 - r) * 1.5;
    }
    return static_cast<int>(params.contrast * m) + 2 * params.contrast;
}

namespace {

void StoreHeight(uint8_t* at, int value) {
    const auto v = static_cast<uint16_t>(value); // wraps like SetHeight
    std::memcpy(at, &v, 2);
}

} // namespace

void ComputeBevelHeights(const CMaskDIB& mask, const ButtonParams& params, CHeightDIB& heights,
                         unsigned threads) {
    RequireSameSize(mask, heights, "the height field is not of the selection's size");
    const int rows = mask.m_nHeight;
    if (!mask.m_pBits || !heights.m_pBits || params.width <= 0) return;
    const CNearestSearch search(mask, params.width, params.outline != 0);
    const CHeightTable table(params);
    const unsigned count = BandCount(rows, threads);
    std::vector<CNearestSearch::Scratch> scratch;
    for (unsigned i = 0; i < count; ++i) {
        const RowBand band = BandOf(rows, count, i);
        scratch.push_back(search.MakeScratch(band.first, band.last));
    }

    RunBands(rows, count, [&](unsigned index, RowBand) {
        search.ForEachRow(scratch[index], [&](int y, std::span<const CFoundPoint> found) {
            for (const CFoundPoint& f : found)
                StoreHeight(heights.m_pBits + raster::Offset(f.x, y, heights.m_nStride, 2),
                            table.At(f.dx, f.dy));
        });
    });
}

void ShadeBevel(CDIB& image, const CHeightDIB& heights, int contrast, unsigned threads) {
    if (!image.HasBlock() || !heights.m_pBits) return;
    RequireSameSize(image, heights, "the height field is not of the picture's size");
    const int rows = image.m_nHeight;
    RunBands(rows, BandCount(rows, threads), [&](unsigned, RowBand band) {
        // Band pixels are gathered first without branches: in a speckled
        // picture whether a pixel belongs to the band is a coin toss.
        constexpr int kSpan = 512;
        int columns[kSpan];
        for (int y = band.first; y < band.last; ++y) {
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
    });
}

} // namespace pelto
