#include "Block.h"

#include "system/FaultInjection.h"

#include <cstdlib>
#include <limits>
#include <new>
#include <sys/mman.h>

namespace pelto {

namespace block {

namespace {
// Big rasters sit on huge pages where the system offers them: a picture's
// first touch then costs a few hundred page faults instead of thousands.
constexpr size_t kHugePage = size_t(2) << 20;
bool OnHugePages(uint64_t size) {
    return size >= 2 * kHugePage;
}
} // namespace

uint64_t MappedBytes(uint64_t size) {
    return OnHugePages(size) ? size + kHugePage : size;
}

Ptr Allocate(uint64_t size) {
    if (size == 0) return nullptr;
    if (faults::AllocationFails(size) || size > std::numeric_limits<size_t>::max() / 2)
        throw std::bad_alloc();
    const auto bytes = static_cast<size_t>(size);
    if (OnHugePages(size)) {
        void* p = nullptr;
        if (::posix_memalign(&p, kHugePage, bytes) != 0) throw std::bad_alloc();
        ::madvise(p, bytes / kHugePage * kHugePage, MADV_HUGEPAGE);
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
