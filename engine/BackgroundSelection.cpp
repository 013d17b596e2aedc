#include "BackgroundSelection.h"

#include "ParallelRows.h"
#include "SameSize.h"
#include "image/RasterIndex.h"

#include <cstdlib>
#include <stdexcept>

namespace pelto {

void SelectBackground(const CDIB& image, std::unique_ptr<CMaskDIB>& mask, int x, int yFromTop,
                      int tolerance, unsigned threads) {
    const int width = image.m_nWidth;
    const int height = image.m_nHeight;
    if (!image.HasBlock() || x < 0 || yFromTop < 0 || x >= width || yFromTop >= height) return;
    if (mask) RequireSameSize(image, *mask, "the selection is not of the picture's size");

    const COLORREF seed = image.GetPixel(x, height - 1 - yFromTop);
    const int seedRed = static_cast<int>(GetRValue(seed));
    const int seedGreen = static_cast<int>(GetGValue(seed));
    const int seedBlue = static_cast<int>(GetBValue(seed));
    if (!mask) mask = std::make_unique<CMaskDIB>(width, height);
    const int threshold = ToleranceThreshold(tolerance);

    CMaskDIB& marks = *mask;
    RunBands(height, BandCount(height, threads), [&](unsigned, RowBand band) {
        for (int r = band.first; r < band.last; ++r) {
            const uint8_t* pixel = image.Row(r);
            uint8_t* row = marks.m_pBits + raster::Offset(0, r, marks.m_nStride, 1);
            for (int c = 0; c < width; ++c, pixel += 3) {
                const int d = std::abs(pixel[2] - seedRed) + std::abs(pixel[1] - seedGreen) +
                              std::abs(pixel[0] - seedBlue);
                if (d <= threshold) row[c] = static_cast<uint8_t>(CheckerValue(c, r));
            }
        }
    });
}

void SelectTransparent(const CAlphaPlane& alpha, std::unique_ptr<CMaskDIB>& mask) {
    if (!alpha.HasBlock()) return;
    if (mask && (mask->m_nWidth != alpha.Width() || mask->m_nHeight != alpha.Height()))
        throw std::invalid_argument("the selection is not of the picture's size");
    if (!mask) mask = std::make_unique<CMaskDIB>(alpha.Width(), alpha.Height());
    for (int r = 0; r < alpha.Height(); ++r) {
        const uint8_t* opacity = alpha.Row(r);
        uint8_t* row = mask->m_pBits + raster::Offset(0, r, mask->m_nStride, 1);
        for (int c = 0; c < alpha.Width(); ++c)
            if (opacity[c] == 0) row[c] = static_cast<uint8_t>(CheckerValue(c, r));
    }
}

} // namespace pelto
