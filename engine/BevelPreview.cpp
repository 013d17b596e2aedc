#include "BevelPreview.h"

#include "Bevel.h"
#include "SameSize.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace pelto {

CBevelPreview::CBevelPreview(const CDIB& picture, const CMaskDIB& mask, const CAlphaPlane* alpha)
    : m_mask(mask.m_nWidth, mask.m_nHeight),
      m_bSoftEdge(alpha && CTransparentRim::SoftEdged(*alpha)) {
    RequireSameSize(picture, mask, "the selection is not of the picture's size");
    m_picture.Copy(picture);
    if (alpha) m_alpha.Copy(*alpha);
    if (m_mask.m_pBits)
        std::memcpy(m_mask.m_pBits, mask.m_pBits, size_t(mask.m_nStride) * size_t(mask.m_nHeight));
}

void CBevelPreview::KeptHeights(const ButtonParams& params, unsigned threads) {
    if (!m_pHeights) m_pHeights = std::make_unique<CHeightDIB>(m_mask.m_nWidth, m_mask.m_nHeight);
    if (!m_pPoints || !m_pPoints->Serve(params)) {
        // The field holds the old points' heights and zeros elsewhere: clear them.
        if (m_pPoints) m_pPoints->ClearHeights(*m_pHeights);
        m_pPoints.reset();
        m_pPoints = std::make_unique<CBevelPoints>(m_mask, params.width, params.Outer(), threads);
    }
    m_pPoints->WriteHeights(params, *m_pHeights);
}

bool CBevelPreview::SameBlock(const CDIB& result) const {
    return result.HasBlock() && result.m_nFileSize == m_picture.m_nFileSize &&
           result.m_nWidth == m_picture.m_nWidth && result.m_nHeight == m_picture.m_nHeight;
}

void CBevelPreview::CopyPicture(CDIB& result) const {
    // A result of the picture's size from an earlier render takes the bytes in place.
    if (SameBlock(result))
        std::memcpy(result.m_pFileImage.get(), m_picture.m_pFileImage.get(), m_picture.m_nFileSize);
    else
        result.Copy(m_picture);
}

void CBevelPreview::Render(const ButtonParams& params, CDIB& result, unsigned threads,
                           CAlphaPlane* resultAlpha) {
    // The rim takes its colours from the picture, never from the result it writes.
    std::optional<CTransparentRim> rim;
    if (resultAlpha && m_alpha.HasBlock()) {
        resultAlpha->Copy(m_alpha);
        rim.emplace(result, *resultAlpha, &m_picture);
    }
    CTransparentRim* grow = rim ? &*rim : nullptr;
    if (params.width < 1 || params.width > CBevelPoints::kMaxWidth) {
        // No width the dialog offers, or none at all: the plain pass.
        CHeightDIB heights(m_mask.m_nWidth, m_mask.m_nHeight);
        CopyPicture(result);
        ComputeBevelHeights(m_mask, params, heights, threads, grow);
        ShadeBevel(result, heights, params.contrast, threads, grow);
        return;
    }
    KeptHeights(params, threads);
    if (grow && params.Outer()) grow->Prepare(m_mask, params.width);
    // Only the first render into result allocates; Shade copies the picture in.
    if (!SameBlock(result)) result.Copy(m_picture);
    m_pPoints->Shade(m_picture, result, *m_pHeights, params.contrast, grow);
}

void CBevelPreview::Restore(CPreviewCanvas& canvas) const {
    const PixelArea& t = canvas.touched;
    for (int y = t.y0; y < t.y1; ++y) {
        std::memcpy(canvas.picture.Row(y) + 3 * size_t(t.x0), m_picture.Row(y) + 3 * size_t(t.x0),
                    3 * size_t(t.x1 - t.x0));
        if (m_alpha.HasBlock())
            std::memcpy(canvas.alpha.Row(y) + t.x0, m_alpha.Row(y) + t.x0, size_t(t.x1 - t.x0));
    }
    canvas.touched = {};
    canvas.shaded.clear();
}

bool CBevelPreview::RendersWhole(const ButtonParams& params, const PixelArea& area) const {
    // The soft rim's edge spreads along the shape's soft pixels, as far as they go.
    return (m_bSoftEdge && params.Outer()) || params.width < 1 ||
           params.width > CBevelPoints::kMaxWidth ||
           area == PixelArea{0, 0, m_picture.m_nWidth, m_picture.m_nHeight};
}

void CBevelPreview::ShadeArea(const ButtonParams& params, const PixelArea& area,
                              CPreviewCanvas& canvas, unsigned threads) {
    if (!m_pRegion || !m_pRegion->Serve(params, area)) {
        m_pRegion.reset();
        m_pRegion =
            std::make_unique<CBevelRegion>(m_mask, area, params.width, params.Outer(), threads);
    }
    std::optional<CTransparentRim> rim;
    if (m_alpha.HasBlock()) {
        for (int y = area.y0; y < area.y1; ++y)
            std::memcpy(canvas.alpha.Row(y) + area.x0, m_alpha.Row(y) + area.x0,
                        size_t(area.x1 - area.x0));
        rim.emplace(canvas.picture, canvas.alpha, &m_picture);
    }
    m_pRegion->Shade(params, m_picture, area, canvas.picture, rim ? &*rim : nullptr);
}

void CBevelPreview::RenderArea(const ButtonParams& params, PixelArea area, CPreviewCanvas& canvas,
                               unsigned threads) {
    const PixelArea whole{0, 0, m_picture.m_nWidth, m_picture.m_nHeight};
    area = area.Within(whole.x1, whole.y1);
    if (!SameBlock(canvas.picture) || m_alpha.HasBlock() != canvas.alpha.HasBlock()) {
        CopyPicture(canvas.picture);
        if (m_alpha.HasBlock()) canvas.alpha.Copy(m_alpha);
        canvas.params.reset();
        canvas.shaded.clear();
        canvas.touched = {};
    }
    const auto covers = [&](const PixelArea& shaded) { return shaded.Contains(area); };
    if (canvas.params == params &&
        (area.Empty() || std::any_of(canvas.shaded.begin(), canvas.shaded.end(), covers)))
        return;
    const bool all = !area.Empty() && RendersWhole(params, area);
    // Render writes every pixel: nothing to put back first.
    if (canvas.params != params && !all) Restore(canvas);
    if (area.Empty()) {
        canvas.params = params;
        return;
    }
    // Until shaded the area may hold anything: a failure leaves it to be restored.
    canvas.params.reset();
    if (all) {
        area = whole;
        canvas.shaded.clear();
        canvas.touched = whole;
        Render(params, canvas.picture, threads, m_alpha.HasBlock() ? &canvas.alpha : nullptr);
    } else {
        canvas.touched = Enclosing(canvas.touched, area);
        ShadeArea(params, area, canvas, threads);
    }
    canvas.params = params;
    // A few are kept, enough for the view's last positions.
    constexpr size_t kKept = 8;
    if (canvas.shaded.size() == kKept) canvas.shaded.erase(canvas.shaded.begin());
    canvas.shaded.push_back(area);
}

} // namespace pelto
