#pragma once
// Pass 1's search: for each pixel, the nearest pixel on the other side of the
// outline within the band width, and exactly the point the mask's brute-force
// scan returns, ties included (among equal distances the larger stored row
// wins, then the larger column). Only pixels inside the picture count.
// Inner outline: from a shape pixel (value 0) to the nearest background pixel
// (value > 0). Outer outline: from a background pixel (value != 0) to the
// nearest shape pixel (value 0). Values are read as signed bytes, like
// CMaskDIB::GetValue.
//
// Instead of (2r + 1)^2 reads per pixel it keeps, per column, the vertical
// distance to the nearest target pixel (capped just past the radius), takes
// along the row the least dx^2 + that distance^2, skipping pixels with no
// such column within the radius, and then tries only the offsets at exactly
// that squared distance, in the brute-force scan's tie order. Pixels with a
// target among their eight neighbours, nearly all of them in speckled masks,
// are settled before that by one byte pass over the row.

#include "image/MaskDib.h"

#include <cstdint>
#include <span>
#include <vector>

// A pixel of a row whose search succeeded, and the offset to the point found.
struct CFoundPoint {
    int32_t x;
    int32_t dx;
    int32_t dy; // > 0: the found point lies in a higher stored row
};

class CNearestSearch {
public:
    // Larger radii (no width the tool offers) fall back to the brute-force scan.
    static constexpr int kMaxFastRadius = 254;
    // The general search takes four columns a step, reading up to three past the radius.
    static constexpr int kSearchStep = 4;
    static constexpr size_t kWindowPad = kMaxFastRadius + kSearchStep; // beyond the row either side

    // One worker's working memory for the rows [first, last); make one per
    // thread before starting them. Rows should be asked in ascending order.
    class Scratch {
        friend class CNearestSearch;
        int m_nFirst = 0, m_nLast = 0;           // the worker's rows
        int m_nChunkFirst = 0, m_nChunkLast = 0; // rows whose column distances are ready
        int m_nChunkRows = 0;
        std::vector<uint8_t> m_columns;        // column distances, chunk rows x width
        std::vector<uint8_t> m_running;        // one row of a sweep
        std::vector<uint8_t> m_padded;         // a row's distances, 255 beyond its ends
        std::vector<uint8_t> m_runs, m_window; // sliding minimum of a row's distances
        const uint8_t* m_pWindowRow = nullptr; // ... its result, in one of the two
        std::vector<uint8_t> m_flags[3];       // targets in the rows above, level and below
        std::vector<uint8_t> m_codes;          // how each pixel of the row is settled
        std::vector<CFoundPoint> m_found;      // room for a whole row
        size_t m_nFound = 0;                   // ... of which the row's results
    };

    // May throw std::bad_alloc.
    CNearestSearch(const CMaskDIB& mask, int radius, bool outer);
    Scratch MakeScratch(int first, int last) const;

    // The pixels of stored row y (within the scratch's rows) whose search
    // succeeds, by ascending column. Valid until the next call with scratch.
    std::span<const CFoundPoint> FindRow(int y, Scratch& scratch) const noexcept;

private:
    template <bool Outer> void FillColumnDistances(Scratch& scratch) const noexcept;
    template <bool Outer> void FindRowFast(int y, Scratch& scratch) const noexcept;
    template <bool Outer>
    const uint8_t* TargetRow(int y, std::vector<uint8_t>& padded) const noexcept;
    void WindowMinimum(const uint8_t* g, int width, Scratch& scratch) const noexcept;
    template <bool Outer>
    bool SearchFarther(int x, int y, const uint8_t* padded, uint8_t window,
                       CFoundPoint& found) const noexcept;
    void FindRowBruteForce(int y, Scratch& scratch) const noexcept;
    const uint8_t* MaskRow(int y) const { return m_mask.m_pBits + size_t(y) * m_mask.m_nStride; }

    const CMaskDIB& m_mask;
    int m_nRadius;
    bool m_bOuter;
    // Offsets (dx, dy) within the radius grouped by dx^2 + dy^2, each group in
    // tie order (larger dy first, then larger dx); group s starts at m_groupStart[s].
    std::vector<int16_t> m_offsets; // dx, dy pairs
    std::vector<uint32_t> m_groupStart;
};
