#include "BevelPoints.h"

#include "BandSearch.h"
#include "HeightTable.h"
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
    const unsigned count = BandCount(m_nRows, threads);
    m_bands.resize(count);
    const int side = 2 * width + 1;
    // A worker that runs out of memory leaves its band short: say so afterwards.
    std::vector<char> failed(count, 0);
    SearchInBands(
        mask, width, outer, threads,
        [&](unsigned index, int y, std::span<const CFoundPoint> found) {
            if (failed[index]) return;
            Band& band = m_bands[index];
            try {
                for (const CFoundPoint& f : found) {
                    band.pixels.push_back(uint32_t(y) * uint32_t(m_nColumns) + uint32_t(f.x));
                    band.offsets.push_back(uint16_t((f.dy + width) * side + f.dx + width));
                }
            } catch (const std::bad_alloc&) {
                failed[index] = 1;
            }
        });
    for (char f : failed)
        if (f) throw std::bad_alloc();
}

template <typename Visit> void CBevelPoints::VisitBand(const Band& band, Visit& visit) const {
    for (size_t i = 0; i < band.pixels.size(); ++i) {
        const uint32_t pixel = band.pixels[i];
        visit(band, i, int(pixel % uint32_t(m_nColumns)), int(pixel / uint32_t(m_nColumns)));
    }
}

template <typename Visit> void CBevelPoints::ForEachPoint(Visit visit) const {
    if (m_bands.empty()) return;
    RunBands(m_nRows, unsigned(m_bands.size()),
             [&](unsigned index, RowBand) { VisitBand(m_bands[index], visit); });
}

template <typename Height> void CBevelPoints::WriteEach(CHeightDIB& heights, Height height) const {
    assert(heights.m_nWidth == m_nColumns && heights.m_nHeight == m_nRows);
    if (!heights.m_pBits) return;
    ForEachPoint([&](const Band& band, size_t i, int x, int y) {
        heights.StoreHeight(x, y, height(band, i));
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

void CBevelPoints::Shade(const CDIB& picture, CDIB& image, const CHeightDIB& heights, int contrast,
                         CTransparentRim* rim) const {
    assert(image.m_nWidth == m_nColumns && image.m_nHeight == m_nRows);
    assert(image.m_nFileSize == picture.m_nFileSize);
    if (!image.HasBlock()) return;
    const uint8_t* from = picture.m_pFileImage.get();
    uint8_t* to = image.m_pFileImage.get();
    if (m_bands.empty() || !heights.m_pBits) {
        std::memcpy(to, from, picture.m_nFileSize);
        return;
    }
    // The bytes before and after the rows here, the rows on their bands' threads.
    const size_t stride = CDIB::Stride24(m_nColumns);
    const size_t rowsAt = size_t(picture.Row(0) - from);
    const size_t rowsEnd = rowsAt + stride * size_t(m_nRows);
    std::memcpy(to, from, rowsAt);
    std::memcpy(to + rowsEnd, from + rowsEnd, picture.m_nFileSize - rowsEnd);
    CTransparentRim* grow = m_bOuter ? rim : nullptr;
    const int side = 2 * m_nWidth + 1;
    const auto shade = [&](const Band& band, size_t i, int x, int y) {
        if (grow) {
            const int offset = band.offsets[i];
            grow->Take(x, y, x + offset % side - m_nWidth, y + offset / side - m_nWidth);
        }
        ShadeBandPixel(image.Row(y), heights, x, y, contrast);
    };
    RunBands(m_nRows, unsigned(m_bands.size()), [&](unsigned index, RowBand rows) {
        if (rows.last > rows.first) {
            const size_t at = size_t(picture.Row(rows.first) - from);
            std::memcpy(to + at, from + at, stride * size_t(rows.last - rows.first));
        }
        VisitBand(m_bands[index], shade);
    });
    if (grow) grow->Finish(unsigned(m_bands.size()));
}

void CBevelPoints::ShadeArea(CDIB& image, CPoint at, const PixelArea& area,
                             const CHeightDIB& heights, int contrast, CTransparentRim* rim) const {
    if (m_bands.empty() || !heights.m_pBits || !image.HasBlock() || area.Empty()) return;
    CTransparentRim* grow = m_bOuter ? rim : nullptr;
    const int side = 2 * m_nWidth + 1;
    const auto shade = [&](const Band& band, size_t i, int x, int y) {
        if (x < area.x0 || x >= area.x1 || y < area.y0 || y >= area.y1) return;
        const int px = x + at.x, py = y + at.y;
        if (grow) {
            const int offset = band.offsets[i];
            grow->Take(px, py, px + offset % side - m_nWidth, py + offset / side - m_nWidth);
        }
        // The row from the mask's first column, so that x addresses both it and the heights.
        ShadeBandPixel(image.Row(py) + 3 * size_t(at.x), heights, x, y, contrast);
    };
    RunBands(m_nRows, unsigned(m_bands.size()),
             [&](unsigned index, RowBand) { VisitBand(m_bands[index], shade); });
}

} // namespace pelto
