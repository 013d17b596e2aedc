#pragma once
// Pass 1 run over a mask's rows in bands, one thread each: found(band, y,
// points) hears each row's found points on the thread of the band (0-based,
// of BandCount(rows, threads)) that searched it. found must not throw.
// Whatever rows a thread searches, the points are the same.

#include "NearestSearch.h"
#include "ParallelRows.h"

#include <algorithm>
#include <span>
#include <vector>

namespace pelto {

// Each worker's memory, made before the threads start.
inline std::vector<CNearestSearch::Scratch> MakeScratches(const CNearestSearch& search, int rows,
                                                          unsigned count) {
    std::vector<CNearestSearch::Scratch> scratch;
    for (unsigned i = 0; i < count; ++i) {
        const RowBand band = BandOf(rows, count, i);
        scratch.push_back(search.MakeScratch(band.first, band.last));
    }
    return scratch;
}

template <typename Found>
void SearchInBands(const CMaskDIB& mask, int width, bool outer, unsigned threads, Found&& found) {
    const int rows = mask.m_nHeight;
    const CNearestSearch search(mask, width, outer);
    const unsigned count = BandCount(rows, threads);
    std::vector<CNearestSearch::Scratch> scratch = MakeScratches(search, rows, count);
    RunBands(rows, count, [&](unsigned index, RowBand) {
        search.ForEachRow(scratch[index], [&](int y, std::span<const CFoundPoint> points) {
            found(index, y, points);
        });
    });
}

// Pass 1 with the same memory, its rows in runs of a chunk that the threads
// take in turn, so that they finish together however the outline lies:
// found(y, points) hears each row once, on some thread.
template <typename Found>
void SearchInRuns(const CMaskDIB& mask, int width, bool outer, unsigned threads, Found&& found) {
    const int rows = mask.m_nHeight;
    const CNearestSearch search(mask, width, outer);
    std::vector<CNearestSearch::Scratch> scratch =
        MakeScratches(search, rows, BandCount(rows, threads));
    const int run = std::max(1, scratch.empty() ? 1 : search.ChunkRows(scratch[0]));
    RunInRuns(rows, threads, run, [&](unsigned thread, RowBand rowRun) {
        search.Rebind(scratch[thread], rowRun.first, rowRun.last);
        search.ForEachRow(scratch[thread], found);
    });
}

} // namespace pelto
