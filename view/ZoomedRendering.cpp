#include "ZoomedRendering.h"

#include "ViewRendering.h"
#include "document/PeltoDoc.h"
#include "engine/ParallelRows.h"
#include "image/AlphaPlane.h"
#include "image/MaskDib.h"

#include <algorithm>
#include <vector>

namespace pelto {

namespace {

// Each screen pixel repeats the picture pixel under it; where that is not
// opaque (nor selected) it is laid over the backdrop under the screen pixel.
QImage Enlarged(const CDIB& picture, const CAlphaPlane* alpha, CMaskDIB* selection, QRect area,
                CZoom zoom, QRgb background, int checker) {
    const QRect source(
        QPoint(PictureCoordinate(area.left(), zoom), PictureCoordinate(area.top(), zoom)),
        QPoint(PictureCoordinate(area.right(), zoom), PictureCoordinate(area.bottom(), zoom)));
    const QImage drawn = RenderPicture(picture, nullptr, selection, source, background);
    const bool blend = alpha && alpha->HasBlock() && picture.HasBlock();
    QImage out(area.size(), QImage::Format_RGB32);
    std::vector<int> columns(size_t(area.width()));
    for (int x = 0; x < area.width(); ++x)
        columns[size_t(x)] = PictureCoordinate(area.left() + x, zoom) - source.left();
    const int shownColumns = std::max(0, picture.m_nWidth - source.left());
    for (int y = 0; y < area.height(); ++y) {
        const int row = PictureCoordinate(area.top() + y, zoom);
        const auto* from = reinterpret_cast<const QRgb*>(drawn.constScanLine(row - source.top()));
        auto* to = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < area.width(); ++x)
            to[x] = from[columns[size_t(x)]];
        if (!blend || row >= picture.m_nHeight || shownColumns == 0) continue;
        const int stored = picture.m_nHeight - 1 - row;
        const uint8_t* opacity = alpha->Row(stored) + source.left();
        const uint8_t* marks =
            selection ? selection->m_pBits + size_t(stored) * selection->m_nStride + source.left()
                      : nullptr;
        for (int x = 0; x < area.width(); ++x) {
            const int c = columns[size_t(x)];
            if (c >= shownColumns || opacity[c] == 255 || (marks && marks[c])) continue;
            const uint8_t level = BackdropLevel(area.left() + x, area.top() + y, checker);
            const QRgb p = to[x];
            to[x] = qRgb(OverLevel(uint8_t(qRed(p)), opacity[c], level),
                         OverLevel(uint8_t(qGreen(p)), opacity[c], level),
                         OverLevel(uint8_t(qBlue(p)), opacity[c], level));
        }
    }
    return out;
}

// The picture pixels [first, last) that one screen pixel covers along an axis,
// clipped to the picture; empty beyond it.
struct Span {
    int first;
    int last;
};

Span Covered(int screen, CZoom zoom, int length) {
    return {std::min(PictureCoordinate(screen, zoom), length),
            std::min(PictureCoordinate(screen + 1, zoom), length)};
}

// Adds one picture row to the sums of the screen columns, each picture pixel
// as the 1:1 drawing shows it: over the backdrop's level under the screen
// pixel where not opaque (opacity, when given), selected pixels in their
// overlay level.
template <bool Selection>
void AddRow(const uint8_t* pixel, const uint8_t* marks, const uint8_t* opacity,
            const std::vector<Span>& columns, const std::vector<uint8_t>& levels,
            std::vector<uint32_t>& sums) {
    for (size_t x = 0; x < columns.size(); ++x) {
        // Sums in registers: the pixel bytes could alias the array.
        uint32_t red = 0, green = 0, blue = 0;
        for (int c = columns[x].first; c < columns[x].last; ++c) {
            const uint8_t* p = pixel + 3 * size_t(c);
            uint8_t r = p[2], g = p[1], b = p[0];
            if (opacity && opacity[c] != 255) {
                r = OverLevel(r, opacity[c], levels[x]);
                g = OverLevel(g, opacity[c], levels[x]);
                b = OverLevel(b, opacity[c], levels[x]);
            }
            if constexpr (Selection) {
                const uint8_t value = marks[c];
                const uint32_t overlay = CMaskDIB::OverlayLevel(value);
                red += value ? overlay : r;
                green += value ? overlay : g;
                blue += value ? overlay : b;
            } else {
                red += r;
                green += g;
                blue += b;
            }
        }
        sums[3 * x] += red;
        sums[3 * x + 1] += green;
        sums[3 * x + 2] += blue;
    }
}

// Each screen pixel is the mean of the picture pixels it covers.
QImage Reduced(const CDIB& picture, const CAlphaPlane* alpha, const CMaskDIB* mask, QRect area,
               CZoom zoom, QRgb background, int checker) {
    QImage out(area.size(), QImage::Format_RGB32);
    out.fill(background | 0xFF000000u);
    if (!picture.HasBlock()) return out;
    const int width = picture.m_nWidth, height = picture.m_nHeight;
    std::vector<Span> columns(size_t(area.width()));
    for (int x = 0; x < area.width(); ++x)
        columns[size_t(x)] = Covered(area.left() + x, zoom, width);

    RunBands(area.height(), BandCount(area.height(), 0), [&](unsigned, RowBand band) {
        std::vector<uint32_t> sums(3 * size_t(area.width()));
        std::vector<uint8_t> levels(size_t(area.width()));
        for (int y = band.first; y < band.last; ++y) {
            const Span rows = Covered(area.top() + y, zoom, height);
            if (rows.first >= rows.last) continue;
            std::fill(sums.begin(), sums.end(), 0u);
            for (int x = 0; x < area.width(); ++x)
                levels[size_t(x)] = BackdropLevel(area.left() + x, area.top() + y, checker);
            for (int row = rows.first; row < rows.last; ++row) {
                const int stored = height - 1 - row;
                const uint8_t* pixel = picture.Row(stored);
                const uint8_t* marks =
                    mask ? mask->m_pBits + size_t(stored) * mask->m_nStride : nullptr;
                const uint8_t* opacity = alpha && alpha->HasBlock() ? alpha->Row(stored) : nullptr;
                if (marks)
                    AddRow<true>(pixel, marks, opacity, columns, levels, sums);
                else
                    AddRow<false>(pixel, nullptr, opacity, columns, levels, sums);
            }
            auto* to = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (size_t x = 0; x < columns.size(); ++x) {
                const uint32_t count =
                    uint32_t(columns[x].last - columns[x].first) * uint32_t(rows.last - rows.first);
                if (count == 0) continue;
                const uint32_t* sum = &sums[3 * x];
                to[x] = qRgb(int(sum[0] / count), int(sum[1] / count), int(sum[2] / count));
            }
        }
    });
    return out;
}

} // namespace

QImage RenderZoomed(CPeltoDoc& doc, QRect area, CZoom zoom, QRgb background, int checker) {
    return RenderZoomed(doc.Picture(), doc.Opacity(), doc.Selection(), area, zoom, background,
                        checker);
}

QImage RenderZoomed(const CDIB& picture, const CAlphaPlane* alpha, CMaskDIB* selection, QRect area,
                    CZoom zoom, QRgb background, int checker) {
    if (area.isEmpty()) return {};
    if (zoom.IsActualSize())
        return RenderPicture(picture, alpha, selection, area, background, checker);
    if (zoom.num > zoom.den)
        return Enlarged(picture, alpha, selection, area, zoom, background, checker);
    return Reduced(picture, alpha, selection, area, zoom, background, checker);
}

} // namespace pelto
