#include "PngMemory.h"

#include "Block.h"

#include <cstring>
#include <new>

namespace pelto {

namespace png {

namespace {

thread_local CPngMemory* t_current = nullptr;

// In front of each block: its size and the memory it counts in.
struct BlockHeader {
    uint64_t size;
    CPngMemory* memory;
};
constexpr size_t kHeader = 16;
static_assert(sizeof(BlockHeader) <= kHeader);

BlockHeader HeaderOf(void* p) {
    BlockHeader header;
    std::memcpy(&header, static_cast<uint8_t*>(p) - kHeader, sizeof header);
    return header;
}

} // namespace

// libspng's four functions; none of them lets an exception out into C.
struct CAllocation {
    static void* Resize(void* p, size_t size) {
        const BlockHeader old = p ? HeaderOf(p) : BlockHeader{0, t_current};
        CPngMemory* memory = old.memory;
        // A moving realloc holds both blocks for a moment.
        if (!memory || size > SIZE_MAX - kHeader || !memory->Admit(memory->m_nInUse + size))
            return nullptr;
        block::Ptr block(p ? static_cast<uint8_t*>(p) - kHeader : nullptr);
        try {
            if (block)
                block::Resize(block, size + kHeader);
            else
                block = block::Allocate(size + kHeader);
        } catch (const std::bad_alloc&) {
            (void)block.release(); // still libspng's, unchanged
            memory->m_bSystemFailed = true;
            return nullptr;
        }
        memory->m_nInUse = memory->m_nInUse - old.size + size;
        const BlockHeader header{size, memory};
        std::memcpy(block.get(), &header, sizeof header);
        return block.release() + kHeader;
    }

    static void* Malloc(size_t size) { return Resize(nullptr, size); }

    static void* Calloc(size_t count, size_t size) {
        if (size != 0 && count > SIZE_MAX / size) return nullptr;
        void* p = Resize(nullptr, count * size);
        if (p) std::memset(p, 0, count * size);
        return p;
    }

    static void Free(void* p) {
        if (!p) return;
        const BlockHeader header = HeaderOf(p);
        header.memory->m_nInUse -= header.size;
        block::Free()(static_cast<uint8_t*>(p) - kHeader);
    }
};

CPngMemory::CPngMemory(uint64_t cap) : m_nCap(cap), m_pOuter(t_current) {
    t_current = this;
}

CPngMemory::~CPngMemory() {
    t_current = m_pOuter;
}

void CPngMemory::Count(uint64_t bytes) {
    m_nInUse += bytes;
    if (m_nInUse > m_nPeak) m_nPeak = m_nInUse;
}

bool CPngMemory::Admit(uint64_t inUseDuring) {
    if (inUseDuring > m_nCap) {
        m_bCapReached = true;
        return false;
    }
    if (inUseDuring > m_nPeak) m_nPeak = inUseDuring;
    return true;
}

ContextPtr CPngMemory::NewContext(int flags) {
    static spng_alloc functions{CAllocation::Malloc, CAllocation::Resize, CAllocation::Calloc,
                                CAllocation::Free};
    ContextPtr ctx(spng_ctx_new2(&functions, flags));
    if (!ctx) throw std::bad_alloc();
    return ctx;
}

} // namespace png

} // namespace pelto
