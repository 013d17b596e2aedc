#include "Block.h"

#include "system/FaultInjection.h"

#include <cstdlib>
#include <limits>
#include <new>
#include <sys/mman.h>

namespace pelto {

namespace block {

namespace {
// Blocks from a quarter of a huge page up sit on huge pages of their own where
// the system offers them, rounded up to whole ones: a first touch then costs a
// fault per huge page instead of one per small page, and on some virtual
// machines a small page's fault costs more than zeroing a huge page. The web
// build's memory has no pages to choose: aligning would only waste it.
constexpr size_t kHugePage = size_t(2) << 20;
bool OnHugePages(uint64_t size) {
#ifdef __EMSCRIPTEN__
    (void)size;
    return false;
#else
    return size >= kHugePage / 4;
#endif
}
uint64_t WholeHugePages(uint64_t size) {
    return (size + kHugePage - 1) / kHugePage * kHugePage;
}
} // namespace

uint64_t MappedBytes(uint64_t size) {
    return OnHugePages(size) ? WholeHugePages(size) + kHugePage : size;
}

Ptr Allocate(uint64_t size) {
    if (size == 0) return nullptr;
    if (faults::AllocationFails(size) || size > std::numeric_limits<size_t>::max() / 2)
        throw std::bad_alloc();
    const auto bytes = static_cast<size_t>(size);
    if (OnHugePages(size)) {
        void* p = nullptr;
        const auto whole = static_cast<size_t>(WholeHugePages(size));
        if (::posix_memalign(&p, kHugePage, whole) != 0) throw std::bad_alloc();
        ::madvise(p, whole, MADV_HUGEPAGE);
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
