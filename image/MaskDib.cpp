#include "MaskDib.h"

#include "platform/BmpLayout.h"
#include "platform/Dc.h"

#include <cstdint>
#include <cstring>

namespace pelto {

namespace {

template <typename IsCandidate>
bool FindNearest(CPoint start, CPoint& found, int radius, IsCandidate isCandidate) {
    // Integer squared distances make the same decisions as the square roots.
    int64_t best = int64_t(radius) * radius;
    bool result = false;
    for (int64_t py = int64_t(start.y) - radius; py <= int64_t(start.y) + radius; ++py) {
        for (int64_t px = int64_t(start.x) - radius; px <= int64_t(start.x) + radius; ++px) {
            const CPoint p(static_cast<int32_t>(px), static_cast<int32_t>(py));
            if (px != p.x || py != p.y || !isCandidate(p)) continue;
            const int64_t dx = px - start.x;
            const int64_t dy = py - start.y;
            const int64_t d = dx * dx + dy * dy;
            if (d <= best) {
                best = d;
                found = p;
                result = true;
            }
        }
    }
    return result;
}

} // namespace

CMaskDIB::CMaskDIB(int width, int height)
    : m_pBits(BuildRaster(width, height, 8, kOffBits - bmp::kHeadersSize)),
      m_nStride(RasterStride(width, 8)) {}

CMaskDIB::CMaskDIB(int width, int height, Unfilled)
    : m_pBits(BuildRaster(width, height, 8, kOffBits - bmp::kHeadersSize, false)),
      m_nStride(RasterStride(width, 8)) {}

bool CMaskDIB::FindNearestUnselected(CPoint start, CPoint& found, int radius) const {
    if (!m_pBits || GetValue(start) == 0) return false;
    return FindNearest(start, found, radius, [this](CPoint p) { return GetValue(p) == 0; });
}

std::unique_ptr<CMaskDIB> CMaskDIB::Clone() const {
    auto copy = std::make_unique<CMaskDIB>(m_nWidth, m_nHeight);
    // Same size, same layout: the whole file block, colour table included.
    if (HasBlock()) std::memcpy(copy->m_pFileImage.get(), m_pFileImage.get(), m_nFileSize);
    return copy;
}

bool CMaskDIB::FindNearestSelected(CPoint start, CPoint& found, int radius) const {
    if (!m_pBits || GetValue(start) != 0) return false;
    return FindNearest(start, found, radius, [this](CPoint p) { return GetValue(p) > 0; });
}

void CMaskDIB::DrawOverlay(CDC* dc) {
    if (!m_pBits) return;
    struct Pass {
        uint8_t entries[3];
        DWORD rop;
    };
    // Value 0 keeps the picture; the others turn white, then their own level.
    static constexpr Pass kPasses[] = {{{0, 255, 255}, SRCPAINT},
                                       {{255, OverlayLevel(1), OverlayLevel(2)}, SRCAND}};
    uint8_t* palette = m_pFileImage.get() + bmp::kHeadersSize;
    for (const Pass& pass : kPasses) {
        for (int entry = 0; entry < 3; ++entry)
            for (int channel = 0; channel < 3; ++channel)
                palette[4 * entry + channel] = pass.entries[entry];
        if (dc)
            dc->StretchDIBits(0, 0, bmp::ReadU32(m_pFileImage.get(), bmp::biWidth),
                              bmp::ReadU32(m_pFileImage.get(), bmp::biHeight), m_pBits,
                              m_pFileImage.get() + bmp::kFileHeaderSize, pass.rop);
    }
}

} // namespace pelto
