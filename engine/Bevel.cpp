#include "Bevel.h"

#include "BandSearch.h"
#include "HeightAverage.h"
#include "HeightTable.h"
#include "ParallelRows.h"
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

int BevelHeight(int dx, int dy, const ButtonParams& params) {
    const double fx = dx;
    const double fy = dy;
    const double phi = std::atan2(fx, fy); // bearing from straight up, clockwise
    double m = std::sin(params.angle * kRadiansPerDegree - phi);
    const bool outer = params.Outer();
    if (!params.Round()) {
        if (outer) m = -m;
    } else {
        const double r = std::sqrt(fy * fy + fx * fx) / params.width;
        m = outer ? m * r * (-1.5) : m * (1 - r) * 1.5;
    }
    return static_cast<int>(params.contrast * m) + 2 * params.contrast;
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
    SearchInBands(mask, params.width, params.Outer(), threads,
                  [&](unsigned, int y, std::span<const CFoundPoint> found) {
                      for (const CFoundPoint& f : found) {
                          heights.StoreHeight(f.x, y, table.At(f.dx, f.dy));
                          if (grow) grow->Take(f.x, y, f.x + f.dx, y + f.dy);
                      }
                  });
}

void ShadeBevel(CDIB& image, const CHeightDIB& heights, int contrast, unsigned threads,
                CTransparentRim* rim) {
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
    if (rim) rim->Finish(threads);
}

} // namespace pelto
