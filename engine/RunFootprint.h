#pragma once
// The memory one picture's run holds at its peak, part by part, in bytes:
// the file block, the selection mask, the bevel's height field, the undo
// snapshot when one is kept, the nearest search's scratch and tables, the
// marks of a soft-edged rim (engine/TransparentRim.h), and the
// address space mapped beyond those bytes: the stacks of the threads the picks
// and the button start, and the big blocks' alignment to huge pages.
// Worked out from the sizes alone, so it can be checked before allocating.

#include <cstdint>

namespace pelto {

struct RunFootprint {
    uint64_t picture = 0;
    uint64_t mask = 0;
    uint64_t heights = 0;
    uint64_t snapshot = 0;
    uint64_t search = 0;
    uint64_t rimMarks = 0; // a soft rim's marks and shape bits
    uint64_t mapping = 0;

    uint64_t Total() const {
        return picture + mask + heights + snapshot + search + rimMarks + mapping;
    }
    // What making the button adds to a picture that has its mask (the picks
    // have mapped the threads' stacks already).
    uint64_t Button() const { return heights + snapshot + search + rimMarks; }
};

// bevelWidth is the band width (0: no search); threads as for MakeButton;
// softRim for an outer band over a picture whose opacity may lie between 0
// and 255.
RunFootprint EstimateRunFootprint(int32_t width, int32_t height, uint64_t fileSize, int bevelWidth,
                                  bool snapshot, unsigned threads, bool softRim = false);

} // namespace pelto
