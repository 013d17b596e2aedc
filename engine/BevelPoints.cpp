#include "BevelPoints.h"

#include "HeightTable.h"
#include "NearestSearch.h"
#include "ParallelRows.h"
#include "ShadeBandPixel.h"
#include "image/RasterIndex.h"

#include <cassert>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace pelto {

CBevelPoints::CBevelPoints(const CMaskDIB& mask, int width, bool outer, unsigned threads)
    : m_nColumns(mask.m_pBits ? mask.m_nWidth : 0), m_nRows(mask.m_pBits ? mask.m_nHeight : 0),
      m_nWidth(width), m_bOuter(outer) {
    if (width < 1 || width > kMaxWidth) throw std::invalid_argument("bevel width out of range");
    // The loader's largest picture has fewer pixels than a 32-bit index counts.
    if (uint64_t(m_nColumns) * uint64_t(m_nRows) > std::numeric_limits<uint32_t>::max())
        throw std::bad_alloc();
    if (m_nColumns == 0 || m_nRows == 0) return;
    const CNearestSearch search(mask, width, outer);
    const unsigned count = BandCount(m_nRows, threads);
    std::vector<CNearestSearch::Scratch> scratch;
    for (unsigned i = 0; i < count; ++i) {
        const RowBand band = BandOf(m_nRows, count, i);
        scratch.push_back(search.MakeScratch(band.first, band.last));
    }
    m_bands.resize(count);
    const int side = 2 * width + 1;
    // A worker that runs out of memory leaves its band short: say so afterwards.
    std::vector<char> failed(count, 0);
    RunBands(m_nRows, count, [&](unsigned index, RowBand) {
        Band& band = m_bands[index];
        try {
            search.ForEachRow(scratch[index], [&](int y, std::span<const CFoundPoint> found) {
                for (const CFoundPoint& f : found) {
                    band.pixels.push_back(uint32_t(y) * uint32_t(m_nColumns) + uint32_t(f.x));
                    band.offsets.push_back(uint16_t((f.dy + width) * side + f.dx + width));
                }
            });
        } catch (const std::bad_alloc&) {
            failed[index] = 1;
        }
    });
    for (char f : failed)
        if (f) throw std::bad_alloc();
}

template <typename Visit> void CBevelPoints::ForEachPoint(Visit visit) const {
    if (m_bands.empty()) return;
    RunBands(m_nRows, unsigned(m_bands.size()), [&](unsigned index, RowBand) {
        const Band& band = m_bands[index];
        for (size_t i = 0; i < band.pixels.size(); ++i) {
            const uint32_t pixel = band.pixels[i];
            visit(band, i, int(pixel % uint32_t(m_nColumns)), int(pixel / uint32_t(m_nColumns)));
        }
    });
}

template <typename Height> void CBevelPoints::WriteEach(CHeightDIB& heights, Height height) const {
    assert(heights.m_nWidth == m_nColumns && heights.m_nHeight == m_nRows);
    if (!heights.m_pBits) return;
    ForEachPoint([&](const Band& band, size_t i, int x, int y) {
        const auto value = static_cast<uint16_t>(height(band, i));
        std::memcpy(heights.m_pBits + raster::Offset(x, y, heights.m_nStride, 2), &value, 2);
    });
}

void CBevelPoints::WriteHeights(const ButtonParams& params, CHeightDIB& heights) const {
    assert(Serve(params));
    // Every offset the points can hold, worked out once.
    const CHeightTable table(params);
    const int side = 2 * m_nWidth + 1;
    std::vector<int> bySquare(size_t(side) * side);
    for (int dy = -m_nWidth; dy <= m_nWidth; ++dy)
        for (int dx = -m_nWidth; dx <= m_nWidth; ++dx)
            bySquare[size_t((dy + m_nWidth) * side + dx + m_nWidth)] = table.At(dx, dy);
    WriteEach(heights, [&](const Band& band, size_t i) { return bySquare[band.offsets[i]]; });
}

void CBevelPoints::ClearHeights(CHeightDIB& heights) const {
    WriteEach(heights, [](const Band&, size_t) { return 0; });
}

void CBevelPoints::Shade(CDIB& image, const CHeightDIB& heights, int contrast) const {
    assert(image.m_nWidth == m_nColumns && image.m_nHeight == m_nRows);
    if (!image.HasBlock() || !heights.m_pBits) return;
    ForEachPoint([&](const Band&, size_t, int x, int y) {
        // As the plain pass does, a height of 0 (contrast 0) leaves the pixel alone.
        if (heights.GetHeight(CPoint(x, y)) != 0)
            ShadeBandPixel(image.Row(y), heights, x, y, contrast);
    });
}

} // namespace pelto
