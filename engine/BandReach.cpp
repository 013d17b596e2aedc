#include "BandReach.h"

#include "NearestSearch.h"
#include "ParallelRows.h"
#include "image/RasterIndex.h"

#include <algorithm>

namespace pelto {

namespace {

struct RowKinds {
    uint8_t source = 0, target = 0;
};

// Whole-row reductions without early exits, which the compiler packs.
template <bool Outer> RowKinds KindsIn(const uint8_t* row, int width) {
    RowKinds kinds;
    for (int x = 0; x < width; ++x) {
        kinds.source |= outline::IsSource<Outer>(row[x]);
        kinds.target |= outline::IsTarget<Outer>(row[x]);
    }
    return kinds;
}

} // namespace

std::vector<uint8_t> RowsBeyondBand(const CMaskDIB& mask, int width, bool outer, unsigned threads) {
    const int rows = mask.m_pBits ? mask.m_nHeight : 0;
    std::vector<RowKinds> kinds(size_t(std::max(rows, 0)));
    RunBands(rows, BandCount(rows, threads), [&](unsigned, RowBand band) {
        for (int y = band.first; y < band.last; ++y) {
            const uint8_t* row = mask.m_pBits + raster::Offset(0, y, mask.m_nStride, 1);
            kinds[size_t(y)] =
                outer ? KindsIn<true>(row, mask.m_nWidth) : KindsIn<false>(row, mask.m_nWidth);
        }
    });
    // targets[y]: rows below y with a target; a row reaches those within width.
    std::vector<int> targets(size_t(rows) + 1, 0);
    for (int y = 0; y < rows; ++y)
        targets[size_t(y) + 1] = targets[size_t(y)] + kinds[size_t(y)].target;
    std::vector<uint8_t> beyond(static_cast<size_t>(rows));
    const int reach = std::max(width, 0);
    for (int y = 0; y < rows; ++y) {
        const int low = std::max(0, y - reach), high = std::min(rows, y + reach + 1);
        const bool targetNear = targets[size_t(high)] > targets[size_t(low)];
        beyond[size_t(y)] = !kinds[size_t(y)].source || !targetNear;
    }
    return beyond;
}

} // namespace pelto
