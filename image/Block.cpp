#include "Block.h"

#include "system/FaultInjection.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <new>
#include <sys/mman.h>

namespace pelto {

namespace block {

namespace {
// Blocks from a quarter of a huge page up sit on huge pages of their own where
// the system offers them: a first touch then costs a fault per huge page
// instead of one per small page, and on some virtual machines a small page's
// fault costs more than zeroing a huge page. So does a tail past the whole
// huge pages when it is that big too; a smaller one stays on small pages. The
// web build's memory has no pages to choose: aligning would only waste it.
constexpr size_t kHugePage = size_t(2) << 20;
bool OnHugePages(uint64_t size) {
#ifdef __EMSCRIPTEN__
    (void)size;
    return false;
#else
    return size >= kHugePage / 4;
#endif
}
// The part of a block of size bytes on huge pages.
uint64_t OnHugePart(uint64_t size) {
    const uint64_t whole = size / kHugePage * kHugePage;
    return OnHugePages(size - whole) ? whole + kHugePage : whole;
}
} // namespace

uint64_t MappedBytes(uint64_t size) {
    return OnHugePages(size) ? std::max(size, OnHugePart(size)) + kHugePage : size;
}

Ptr Allocate(uint64_t size) {
    if (size == 0) return nullptr;
    if (faults::AllocationFails(size) || size > std::numeric_limits<size_t>::max() / 2)
        throw std::bad_alloc();
    const auto bytes = static_cast<size_t>(size);
    if (OnHugePages(size)) {
        void* p = nullptr;
        const auto huge = static_cast<size_t>(OnHugePart(size));
        if (::posix_memalign(&p, kHugePage, std::max(bytes, huge)) != 0) throw std::bad_alloc();
        ::madvise(p, huge, MADV_HUGEPAGE);
        return Ptr(static_cast<uint8_t*>(p));
    }
    void* p = std::malloc(bytes);
    if (!p) throw std::bad_alloc();
    return Ptr(static_cast<uint8_t*>(p));
}

void Resize(Ptr& block, uint64_t size) {
    if (size == 0) {
        block.reset();
        return;
    }
    if (faults::AllocationFails(size) || size > std::numeric_limits<size_t>::max() / 2)
        throw std::bad_alloc();
    void* p = std::realloc(block.get(), static_cast<size_t>(size));
    if (!p) throw std::bad_alloc();
    (void)block.release();
    block.reset(static_cast<uint8_t*>(p));
}

void Free::operator()(uint8_t* p) const noexcept {
    std::free(p);
}

} // namespace block

} // namespace pelto
