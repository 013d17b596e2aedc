#pragma once
// Pass 1 run over a mask's rows in bands, one thread each: found(band, y,
// points) hears each row's found points on the thread of the band (0-based,
// of BandCount(rows, threads)) that searched it. found must not throw.

#include "NearestSearch.h"
#include "ParallelRows.h"

#include <span>
#include <vector>

namespace pelto {

template <typename Found>
void SearchInBands(const CMaskDIB& mask, int width, bool outer, unsigned threads, Found&& found) {
    const int rows = mask.m_nHeight;
    const CNearestSearch search(mask, width, outer);
    const unsigned count = BandCount(rows, threads);
    // Each worker's memory is made before the threads start.
    std::vector<CNearestSearch::Scratch> scratch;
    for (unsigned i = 0; i < count; ++i) {
        const RowBand band = BandOf(rows, count, i);
        scratch.push_back(search.MakeScratch(band.first, band.last));
    }
    RunBands(rows, count, [&](unsigned index, RowBand) {
        search.ForEachRow(scratch[index], [&](int y, std::span<const CFoundPoint> points) {
            found(index, y, points);
        });
    });
}

} // namespace pelto
