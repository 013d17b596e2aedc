#include "AlphaPlane.h"

#include <cstring>

namespace pelto {

CAlphaPlane::CAlphaPlane(int width, int height) : CAlphaPlane(width, height, Unfilled{}) {
    if (m_pBits) std::memset(m_pBits.get(), 255, Size());
}

CAlphaPlane::CAlphaPlane(int width, int height, Unfilled) {
    if (width <= 0 || height <= 0) return;
    m_pBits = block::Allocate(uint64_t(width) * uint64_t(height));
    m_nWidth = width;
    m_nHeight = height;
}

CAlphaPlane& CAlphaPlane::Copy(const CAlphaPlane& other) {
    block::Ptr bits = block::Allocate(other.Size());
    if (bits) std::memcpy(bits.get(), other.m_pBits.get(), other.Size());
    m_pBits = std::move(bits);
    m_nWidth = other.m_nWidth;
    m_nHeight = other.m_nHeight;
    return *this;
}

bool CAlphaPlane::HasTransparency() const {
    const uint8_t* p = m_pBits.get();
    const uint64_t size = Size();
    uint64_t i = 0;
    // Eight pixels at a time: an opaque plane is read at memory speed.
    for (; i + 8 <= size; i += 8) {
        uint64_t word;
        std::memcpy(&word, p + i, 8);
        if (word != ~uint64_t(0)) return true;
    }
    for (; i < size; ++i)
        if (p[i] != 255) return true;
    return false;
}

} // namespace pelto
