#include "ReferenceBevel.h"

#include "engine/Bevel.h"
#include "engine/LightnessColor.h"

namespace pelto {

bool ReferenceFind(const CMaskDIB& mask, CPoint start, int radius, bool outer, CPoint& found) {
    return outer ? mask.FindNearestUnselected(start, found, radius)
                 : mask.FindNearestSelected(start, found, radius);
}

void ReferenceBevelHeights(const CMaskDIB& mask, const ButtonParams& params, CHeightDIB& heights,
                           const std::function<void(CPoint pixel, CPoint found)>& found) {
    for (int i = 0; i < mask.m_nHeight; ++i)
        for (int j = 0; j < mask.m_nWidth; ++j) {
            CPoint point;
            if (!ReferenceFind(mask, CPoint(j, i), params.width, params.outline != 0, point))
                continue;
            heights.SetHeight(CPoint(j, i), BevelHeight(point.x - j, point.y - i, params));
            if (found) found(CPoint(j, i), point);
        }
}

void ReferenceShadeBevel(CDIB& image, const CHeightDIB& heights, int contrast) {
    CLightnessColor colour;
    for (int i = 0; i < image.m_nHeight; ++i)
        for (int j = 0; j < image.m_nWidth; ++j) {
            const CPoint p(j, i);
            if (heights.GetHeight(p) == 0) continue;
            COLORREF c = image.GetPixel(j, i);
            colour.Decompose(c);
            colour.AddLightness(heights.GetAverageHeight(p) - 2 * contrast);
            colour.Compose(c);
            image.SetPixel(j, i, c);
        }
}

} // namespace pelto
