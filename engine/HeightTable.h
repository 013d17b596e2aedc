#pragma once
// A band pixel's height depends only on the offset to its found point: each
// offset within the radius is worked out once, with BevelHeight.

#include "Bevel.h"
#include "NearestSearch.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace pelto {

class CHeightTable {
public:
    explicit CHeightTable(const ButtonParams& params)
        : m_params(params), m_nRadius(std::clamp(params.width, 0, CNearestSearch::kMaxFastRadius)),
          m_nSide(2 * m_nRadius + 1), m_heights(size_t(m_nSide) * m_nSide) {
        for (int dy = -m_nRadius; dy <= m_nRadius; ++dy)
            for (int dx = -m_nRadius; dx <= m_nRadius; ++dx)
                if (dx * dx + dy * dy <= m_nRadius * m_nRadius)
                    m_heights[Index(dx, dy)] = BevelHeight(dx, dy, params);
    }

    int At(int dx, int dy) const {
        if (std::abs(dx) > m_nRadius || std::abs(dy) > m_nRadius)
            return BevelHeight(dx, dy, m_params);
        return m_heights[Index(dx, dy)];
    }

private:
    size_t Index(int dx, int dy) const {
        return size_t(dy + m_nRadius) * m_nSide + (dx + m_nRadius);
    }

    ButtonParams m_params;
    int m_nRadius;
    int m_nSide;
    std::vector<int> m_heights;
};

} // namespace pelto
