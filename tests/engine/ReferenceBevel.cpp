#include "ReferenceBevel.h"

#include "engine/Bevel.h"
#include "engine/LightnessColor.h"
#include "engine/NearestSearch.h"

#include <span>
#include <vector>

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
            if (!ReferenceFind(mask, CPoint(j, i), params.width, params.Outer(), point)) continue;
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

std::string FoundPointsDiffer(const CMaskDIB& mask, const ButtonParams& params, int segmentColumns,
                              CHeightDIB& heights) {
    std::vector<std::pair<CPoint, CPoint>> plain; // pixel and point, row by row
    ReferenceBevelHeights(mask, params, heights, [&](CPoint pixel, CPoint found) {
        plain.push_back({pixel, found});
    });
    const CNearestSearch search(mask, params.width, params.Outer(), segmentColumns);
    auto scratch = search.MakeScratch(0, mask.m_nHeight);
    // The brute force goes row by row, the search segment by segment.
    std::vector<std::vector<CFoundPoint>> rows(size_t(mask.m_nHeight));
    search.ForEachRow(scratch, [&](int y, std::span<const CFoundPoint> found) {
        rows[size_t(y)].insert(rows[size_t(y)].end(), found.begin(), found.end());
    });
    const auto at = [](int x, int y) {
        std::string point = "(";
        point.append(std::to_string(x)).append(", ").append(std::to_string(y)).append(")");
        return point;
    };
    size_t next = 0;
    for (int y = 0; y < mask.m_nHeight; ++y)
        for (const CFoundPoint& f : rows[size_t(y)]) {
            if (next == plain.size() || plain[next].first.y != y || plain[next].first.x != f.x)
                return "the search finds a point from " + at(f.x, y) +
                       (next == plain.size() ? std::string(", the brute force from no more pixels")
                                             : ", the brute force from " +
                                                   at(plain[next].first.x, plain[next].first.y));
            const CPoint expected = plain[next].second;
            if (f.x + f.dx != expected.x || y + f.dy != expected.y)
                return "from " + at(f.x, y) + " the search finds " + at(f.x + f.dx, y + f.dy) +
                       ", the brute force " + at(expected.x, expected.y);
            ++next;
        }
    if (next != plain.size())
        return "the search finds no point from " + at(plain[next].first.x, plain[next].first.y);
    return {};
}

} // namespace pelto
