#pragma once
// Some of a picture's pixels kept apart, each with its place in the block:
// trading them with the picture's own takes a change of those pixels alone
// back, and trading again brings it forward. Far smaller than a copy of the
// picture when a change touches few pixels.

#include "Block.h"
#include "Dib.h"

#include <cstdint>
#include <utility>

namespace pelto {

class CPixelPatch {
public:
    static constexpr uint64_t kBytesPerPixel = 7; // its place in the block, and its colour

    // Room for count pixels; throws std::bad_alloc when memory runs out.
    explicit CPixelPatch(uint64_t count = 0);
    CPixelPatch(CPixelPatch&& other) noexcept
        : m_nCount(std::exchange(other.m_nCount, 0)), m_pBytes(std::move(other.m_pBytes)) {}
    CPixelPatch& operator=(CPixelPatch&& other) noexcept {
        m_nCount = std::exchange(other.m_nCount, 0);
        m_pBytes = std::move(other.m_pBytes);
        return *this;
    }

    uint64_t Count() const { return m_nCount; }
    uint64_t Bytes() const { return m_nCount * kBytesPerPixel; }
    // Pixel index keeps the colour of the 24-bit pixel at offset in picture's block.
    void Keep(uint64_t index, const CDIB& picture, uint32_t offset) noexcept;
    // The kept colours and the picture's trade places.
    void Trade(CDIB& picture) noexcept;

private:
    uint32_t* Offsets() const { return reinterpret_cast<uint32_t*>(m_pBytes.get()); }
    uint8_t* Colours() const { return m_pBytes.get() + 4 * m_nCount; }

    uint64_t m_nCount = 0;
    block::Ptr m_pBytes; // the offsets, then the colours
};

} // namespace pelto
