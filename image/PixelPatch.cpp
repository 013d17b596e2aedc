#include "PixelPatch.h"

#include <algorithm>
#include <cstring>

namespace pelto {

CPixelPatch::CPixelPatch(uint64_t count)
    : m_nCount(count), m_pBytes(block::Allocate(count * kBytesPerPixel)) {}

void CPixelPatch::Keep(uint64_t index, const CDIB& picture, uint32_t offset) noexcept {
    Offsets()[index] = offset;
    std::memcpy(Colours() + 3 * index, picture.m_pFileImage.get() + offset, 3);
}

void CPixelPatch::Trade(CDIB& picture) noexcept {
    uint8_t* block = picture.m_pFileImage.get();
    for (uint64_t i = 0; i < m_nCount; ++i)
        std::swap_ranges(Colours() + 3 * i, Colours() + 3 * i + 3, block + Offsets()[i]);
}

} // namespace pelto
