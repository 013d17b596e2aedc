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
//
// Rows are searched one segment of columns at a time, so a worker's memory
// is bounded whatever the picture's shape: a one-row picture millions of
// pixels wide costs no more scratch than a square one.

#include "image/MaskDib.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace pelto {

namespace outline {
// The pixels a band is searched from, and those across the outline from them.
template <bool Outer> bool IsSource(uint8_t value) {
    return Outer ? value != 0 : value == 0;
}
template <bool Outer> bool IsTarget(uint8_t value) {
    return Outer ? value == 0 : static_cast<int8_t>(value) > 0;
}
} // namespace outline

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
    // The general search takes four columns a step, reading up to three past
    // the radius, or, for the widths the tool offers on processors with SSE4.1,
    // sixteen at once over every column within the radius.
    static constexpr int kSearchStep = 4;
    static constexpr int kWideStep = 16, kMaxWideRadius = 30;
    // Columns searched together; the last segment of a row may be shorter.
    static constexpr int kSegmentColumns = 2048;

    // One worker's working memory for the rows [first, last); make one per
    // thread before starting them.
    class Scratch {
        friend class CNearestSearch;
        int m_nFirst = 0, m_nLast = 0;           // the worker's rows
        int m_nSegment = -1;                     // segment whose column distances are ready ...
        int m_nChunkFirst = 0, m_nChunkLast = 0; // ... for these rows
        int m_nChunkRows = 0;
        // Column distances, chunk rows x padded segment, each row written
        // before it is read: left unfilled, its pages are first touched by
        // the worker that uses them, not by the thread that makes them all.
        std::unique_ptr<uint8_t[]> m_columns;
        std::vector<uint8_t> m_running;        // one row of a sweep
        std::vector<uint8_t> m_runs, m_window; // sliding minimum of a row's distances
        const uint8_t* m_pWindowRow = nullptr; // ... its result, in one of the two
        std::vector<uint8_t> m_flags[3];       // targets in the rows above, level and below
        std::vector<uint8_t> m_codes;          // how each pixel of the segment is settled
        std::vector<CFoundPoint> m_found;      // room for a whole segment
    };

    // May throw std::bad_alloc. segmentColumns (at least 1) only changes how
    // the work is cut, never the points found.
    CNearestSearch(const CMaskDIB& mask, int radius, bool outer,
                   int segmentColumns = kSegmentColumns);
    Scratch MakeScratch(int first, int last) const;
    // The scratch put to the rows [first, last) instead: any rows, its
    // chunks filled again as they come.
    void Rebind(Scratch& scratch, int first, int last) const noexcept {
        scratch.m_nFirst = first;
        scratch.m_nLast = last;
        scratch.m_nSegment = -1;
    }
    // The rows it searches together (0 for the brute-force scan).
    int ChunkRows(const Scratch& scratch) const { return scratch.m_nChunkRows; }
    // Bytes MakeScratch allocates for a worker with `rows` rows of a mask this wide.
    static uint64_t ScratchBytes(int64_t width, int rows, int radius,
                                 int segmentColumns = kSegmentColumns);

    // Distances kept beyond a segment's ends: what the steps read, at least
    // the sixteens of the wide step.
    static int PadFor(int radius);

    int SegmentCount() const { return m_nSegments; }
    // The pixels of stored row y (within the scratch's rows) and of column
    // segment `segment` whose search succeeds, by ascending column. Valid
    // until the next call with scratch. Cheapest asked segment by segment,
    // rows ascending within each, as ForEachRow does.
    std::span<const CFoundPoint> FindSegment(int y, int segment, Scratch& scratch) const noexcept;

    // visit(y, points) for every row of the scratch and every segment.
    template <typename Visit> void ForEachRow(Scratch& scratch, Visit&& visit) const {
        for (int segment = 0; segment < m_nSegments; ++segment)
            for (int y = scratch.m_nFirst; y < scratch.m_nLast; ++y)
                visit(y, FindSegment(y, segment, scratch));
    }

private:
    struct Segment {
        int first, last; // columns
    };
    Segment SegmentAt(int segment) const;
    int Pad() const { return PadFor(m_nRadius); }
    template <bool Outer> void FillColumnDistances(Scratch& scratch, Segment s) const noexcept;
    template <bool Outer> size_t FindSegmentFast(int y, Segment s, Scratch& scratch) const noexcept;
    template <bool Outer>
    const uint8_t* TargetRow(int y, Segment s, std::vector<uint8_t>& flags) const noexcept;
    void WindowMinimum(const uint8_t* g, int columns, Scratch& scratch) const noexcept;
    template <bool Outer>
    bool SearchFarther(int x, int y, const uint8_t* column, uint8_t window,
                       CFoundPoint& found) const noexcept;
    size_t FindSegmentBruteForce(int y, Segment s, Scratch& scratch) const noexcept;
    const uint8_t* MaskRow(int y) const;

    const CMaskDIB& m_mask;
    int m_nRadius;
    bool m_bOuter;
    bool m_bWideSteps = false; // sixteen columns a step (SSE4.1)
    int m_nSegmentColumns;
    int m_nSegments = 0;
    // Offsets (dx, dy) within the radius grouped by dx^2 + dy^2, each group in
    // tie order (larger dy first, then larger dx); group s starts at m_groupStart[s].
    std::vector<int16_t> m_offsets; // dx, dy pairs
    std::vector<uint32_t> m_groupStart;
};

} // namespace pelto
