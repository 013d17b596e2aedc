#include "BevelRegion.h"

#include "image/RasterIndex.h"

#include <cassert>
#include <cstring>

namespace pelto {

namespace {

std::unique_ptr<CMaskDIB> MaskWithin(const CMaskDIB& mask, const PixelArea& reach) {
    auto part = std::make_unique<CMaskDIB>(reach.x1 - reach.x0, reach.y1 - reach.y0);
    if (!part->m_pBits) return part;
    for (int y = reach.y0; y < reach.y1; ++y)
        std::memcpy(part->m_pBits + raster::Offset(0, y - reach.y0, part->m_nStride, 1),
                    mask.m_pBits + raster::Offset(reach.x0, y, mask.m_nStride, 1),
                    size_t(reach.x1 - reach.x0));
    return part;
}

} // namespace

CBevelRegion::CBevelRegion(const CMaskDIB& mask, PixelArea area, int width, bool outer,
                           unsigned threads)
    : m_area(area.Within(mask.m_nWidth, mask.m_nHeight)),
      m_reach(m_area.Grown(BevelReach(width)).Within(mask.m_nWidth, mask.m_nHeight)),
      m_mask(MaskWithin(mask, m_reach)), m_points(*m_mask, width, outer, threads),
      m_heights(m_mask->m_nWidth, m_mask->m_nHeight) {}

void CBevelRegion::Shade(const ButtonParams& params, const CDIB& picture, const PixelArea& area,
                         CDIB& image, CTransparentRim* rim) {
    assert(Serve(params, area));
    assert(image.m_nWidth == picture.m_nWidth && image.m_nHeight == picture.m_nHeight);
    if (area.Empty() || !image.HasBlock()) return;
    const size_t bytes = 3 * size_t(area.x1 - area.x0);
    for (int y = area.y0; y < area.y1 && &image != &picture; ++y)
        std::memcpy(image.Row(y) + 3 * size_t(area.x0), picture.Row(y) + 3 * size_t(area.x0),
                    bytes);
    m_points.WriteHeights(params, m_heights);
    const PixelArea local{area.x0 - m_reach.x0, area.y0 - m_reach.y0, area.x1 - m_reach.x0,
                          area.y1 - m_reach.y0};
    m_points.ShadeArea(image, CPoint(m_reach.x0, m_reach.y0), local, m_heights, params.contrast,
                       rim);
}

} // namespace pelto
