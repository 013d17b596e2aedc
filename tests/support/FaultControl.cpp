#include "support/FaultControl.h"

#include <algorithm>
#include <atomic>

namespace pelto {

namespace faults {
namespace {
std::atomic<int> g_writeError{0};
std::atomic<uint64_t> g_writeBudget{0};
std::atomic<uint64_t> g_blockLimit{0};
std::atomic<int> g_allocationsLeft{-1};
std::atomic<bool> g_unnamedAllowed{true};
} // namespace

void FailWritesAfter(int error, uint64_t bytes) {
    g_writeBudget = bytes;
    g_writeError = error;
}

void LimitBlockSize(uint64_t limit) {
    g_blockLimit.store(limit, std::memory_order_relaxed);
}

void FailAllocationAfter(int successes) {
    g_allocationsLeft.store(successes, std::memory_order_relaxed);
}

void AllowUnnamedFiles(bool allowed) {
    g_unnamedAllowed = allowed;
}

uint64_t WritableBytes(uint64_t wanted) {
    return g_writeError.load() ? std::min(wanted, g_writeBudget.load()) : wanted;
}

void SpendWrite(uint64_t written) {
    if (g_writeError.load()) g_writeBudget -= std::min(written, g_writeBudget.load());
}

int WriteError() {
    return g_writeError.load();
}

bool AllocationFails(uint64_t size) {
    const uint64_t limit = g_blockLimit.load(std::memory_order_relaxed);
    if (limit != 0 && size > limit) return true;
    int left = g_allocationsLeft.load(std::memory_order_relaxed);
    while (left >= 0 && !g_allocationsLeft.compare_exchange_weak(left, left - 1)) {
    }
    return left == 0;
}

bool UnnamedFilesAllowed() {
    return g_unnamedAllowed;
}

} // namespace faults

} // namespace pelto
