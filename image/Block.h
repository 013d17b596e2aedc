#pragma once
// The one place where raster blocks are allocated. Sizes that do not fit in
// memory throw std::bad_alloc. Tests may cap the size of a single block, or
// make a chosen allocation fail, to simulate a machine near its memory limit.

#include <cstdint>
#include <memory>

namespace pelto {

namespace block {

struct Free {
    void operator()(uint8_t* p) const noexcept;
};
using Ptr = std::unique_ptr<uint8_t[], Free>;

// Uninitialised block of size bytes (size 0 gives a null pointer).
Ptr Allocate(uint64_t size);
// The block grown or shrunk to size bytes, its first bytes kept; on failure
// throws std::bad_alloc and leaves the block as it was.
void Resize(Ptr& block, uint64_t size);

// Blocks larger than limit bytes fail as if memory were exhausted; 0 lifts the cap.
void SetAllocationLimitForTesting(uint64_t limit);
// After `successes` more blocks have been allocated, the next one fails, once; -1 lifts it.
void FailAllocationAfterForTesting(int successes);

} // namespace block

} // namespace pelto
