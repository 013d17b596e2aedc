#pragma once
// The one place where raster blocks are allocated. Sizes that do not fit in
// memory throw std::bad_alloc, and so does a block that the fault injection
// of the tests (system/FaultInjection.h) makes fail.

#include <cstdint>
#include <memory>

namespace pelto {

namespace block {

struct Free {
    void operator()(uint8_t* p) const noexcept;
};
using Ptr = std::unique_ptr<uint8_t[], Free>;

// The address space a block of size bytes takes: big blocks sit on huge
// pages, and aligning them maps up to one huge page more.
uint64_t MappedBytes(uint64_t size);
// Uninitialised block of size bytes (size 0 gives a null pointer).
Ptr Allocate(uint64_t size);
// The block grown or shrunk to size bytes, its first bytes kept; on failure
// throws std::bad_alloc and leaves the block as it was.
void Resize(Ptr& block, uint64_t size);

} // namespace block

} // namespace pelto
