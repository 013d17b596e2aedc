#include "Block.h"

#include <atomic>
#include <limits>
#include <new>

namespace block {
namespace {
std::atomic<uint64_t> g_limit{0};
}

Ptr Allocate(uint64_t size) {
    if (size == 0) return nullptr;
    const uint64_t limit = g_limit.load(std::memory_order_relaxed);
    if ((limit != 0 && size > limit) || size > std::numeric_limits<size_t>::max() / 2)
        throw std::bad_alloc();
    return Ptr(new uint8_t[static_cast<size_t>(size)]);
}

void SetAllocationLimitForTesting(uint64_t limit) { g_limit.store(limit, std::memory_order_relaxed); }

} // namespace block
