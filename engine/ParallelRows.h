#pragma once
// Splits the stored rows of a raster into contiguous bands, one per thread.
// Each band's rows are written by its thread alone, so the result does not
// depend on the number of threads.

#include "system/CpuCount.h"
#include "system/ThreadPlacement.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <thread>

namespace pelto {

struct RowBand {
    int first;
    int last; // one past the band's last row
};

constexpr unsigned kMaxThreads = 256;

// 0 means one per processor the process may use; the count is kept within 1..kMaxThreads.
inline unsigned ResolveThreads(unsigned requested) {
    const unsigned count = requested ? requested : UsableCpuCount();
    return std::clamp(count, 1u, kMaxThreads);
}

// How many bands rows are cut into: no more than the threads, none thinner
// than a few rows (a thread costs more than it saves on a sliver).
inline unsigned BandCount(int rows, unsigned threads) {
    constexpr int kMinRows = 16;
    return std::clamp(unsigned(std::max(rows, 0) / kMinRows), 1u, ResolveThreads(threads));
}

inline RowBand BandOf(int rows, unsigned count, unsigned index) {
    const auto at = [&](unsigned i) { return static_cast<int>(int64_t(rows) * i / count); };
    return {at(index), at(index + 1)};
}

// Runs work(index, band) for every band, the calling thread taking band 0,
// and returns when all are done. work must not throw. A thread that cannot be
// started has its band run on the calling thread instead.
template <typename Work> void RunBands(int rows, unsigned count, Work&& work) noexcept {
    std::array<std::thread, kMaxThreads> threads;
    unsigned started = 1;
    try {
        for (; started < count; ++started)
            threads[started] = StartApart(started, work, started, BandOf(rows, count, started));
    } catch (...) {
    }
    for (unsigned i = started; i < count; ++i)
        work(i, BandOf(rows, count, i));
    work(0u, BandOf(rows, count, 0));
    for (unsigned i = 1; i < started; ++i)
        threads[i].join();
}

// Runs work(thread, rows) for runs of `run` rows, which the threads of
// BandCount (numbered from 0) take in turn, so that one whose rows cost less
// takes more of them. For work whose rows depend on no other row's result.
// work must not throw.
template <typename Work> void RunInRuns(int rows, unsigned threads, int run, Work&& work) noexcept {
    std::atomic<int> next{0};
    RunBands(rows, BandCount(rows, threads), [&](unsigned thread, RowBand) {
        for (int first = next.fetch_add(run); first < rows; first = next.fetch_add(run))
            work(thread, RowBand{first, std::min(rows, first + run)});
    });
}

} // namespace pelto
