#include "Block.h"

#include <atomic>
#include <limits>
#include <new>

namespace block {
namespace {
std::atomic<uint64_t> g_limit{0};
std::atomic<int> g_successesLeft{-1};

bool InjectedFailure(uint64_t size) {
    const uint64_t limit = g_limit.load(std::memory_order_relaxed);
    if (limit != 0 && size > limit) return true;
    int left = g_successesLeft.load(std::memory_order_relaxed);
    while (left >= 0 && !g_successesLeft.compare_exchange_weak(left, left - 1)) {
    }
    return left == 0;
}
} // namespace

Ptr Allocate(uint64_t size) {
    if (size == 0) return nullptr;
    if (InjectedFailure(size) || size > std::numeric_limits<size_t>::max() / 2)
        throw std::bad_alloc();
    return Ptr(new uint8_t[static_cast<size_t>(size)]);
}

void SetAllocationLimitForTesting(uint64_t limit) {
    g_limit.store(limit, std::memory_order_relaxed);
}

void FailAllocationAfterForTesting(int successes) {
    g_successesLeft.store(successes, std::memory_order_relaxed);
}

} // namespace block
