#include "Bevel.h"

#include "LightnessColor.h"
#include "NearestSearch.h"

#include <cmath>

int BevelHeight(int dx, int dy, const ButtonParams& params) {
    const double fx = dx;
    const double fy = dy;
    const double phi = std::atan2(fx, fy); // bearing from straight up, clockwise
    double m = std::sin(params.angle * kRadiansPerDegree - phi);
    const bool outer = params.outline != 0;
    if (params.shape == 0) {
        if (outer) m = -m;
    } else {
        const double r = std::sqrt(fy * fy + fx * fx) / params.width;
        m = outer ? m * r * (-1.5) : m * (1 - r) * 1.5;
    }
    return static_cast<int>(params.contrast * m) + 2 * params.contrast;
}

void ComputeBevelHeights(const CMaskDIB& mask, const ButtonParams& params, CHeightDIB& heights) {
    const CNearestSearch search(mask, params.width, params.outline != 0);
    for (int i = 0; i < mask.m_nHeight; ++i) {
        for (int j = 0; j < mask.m_nWidth; ++j) {
            CPoint found;
            if (!search.Find(CPoint(j, i), found)) continue;
            heights.SetHeight(CPoint(j, i), BevelHeight(found.x - j, found.y - i, params));
        }
    }
}

void ShadeBevel(CDIB& image, const CHeightDIB& heights, int contrast) noexcept {
    CLightnessColor colour;
    for (int i = 0; i < image.m_nHeight; ++i) {
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
}
