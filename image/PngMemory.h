#pragma once
// The memory of one PNG decode or encode, libspng's and zlib's own blocks
// included: every block counts while it lives, the peak is kept, and a block
// of libspng's that would pass the cap is refused (libspng then fails with
// SPNG_EMEM or a zlib error, and the codec reports the cap). libspng's
// allocation functions take no context, so new blocks are drawn on the memory
// made last on the calling thread that still lives; each block remembers its
// memory, which must outlive it.

#include <spng.h>

#include <cstdint>
#include <memory>

namespace pelto {

namespace png {

struct FreeContext {
    void operator()(spng_ctx* ctx) const noexcept { spng_ctx_free(ctx); }
};
using ContextPtr = std::unique_ptr<spng_ctx, FreeContext>;

class CPngMemory {
public:
    explicit CPngMemory(uint64_t cap);
    ~CPngMemory();
    CPngMemory(const CPngMemory&) = delete;
    CPngMemory& operator=(const CPngMemory&) = delete;

    // Counts a block the codec allocates itself (through block::Allocate).
    void Count(uint64_t bytes);
    // Forgets such a block once it is freed.
    void Uncount(uint64_t bytes) { m_nInUse -= bytes; }

    uint64_t Peak() const { return m_nPeak; }
    // Whether a block of libspng's was refused for the cap, or because the
    // system (or the tests' fault injection) had no memory for it.
    bool CapReached() const { return m_bCapReached; }
    bool SystemFailed() const { return m_bSystemFailed; }

    // A libspng context drawing on this memory, which must be the thread's latest;
    // no memory for it throws std::bad_alloc.
    ContextPtr NewContext(int flags);

private:
    friend struct CAllocation;
    bool Admit(uint64_t inUseDuring);

    const uint64_t m_nCap;
    uint64_t m_nInUse = 0;
    uint64_t m_nPeak = 0;
    bool m_bCapReached = false;
    bool m_bSystemFailed = false;
    CPngMemory* const m_pOuter;
};

} // namespace png

} // namespace pelto
