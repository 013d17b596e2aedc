#pragma once
// Pass 1's search: for a pixel, the nearest pixel on the other side of the
// outline within the band width, with the mask's tie rule (among equal
// distances the larger stored row wins, then the larger column).
// Inner outline: from a shape pixel to the nearest background pixel.
// Outer outline: from a background pixel to the nearest shape pixel.

#include "image/MaskDib.h"

class CNearestSearch {
public:
    CNearestSearch(const CMaskDIB& mask, int radius, bool outer)
        : m_mask(mask), m_nRadius(radius), m_bOuter(outer) {}

    bool Find(CPoint start, CPoint& found) const {
        return m_bOuter ? m_mask.FindNearestUnselected(start, found, m_nRadius)
                        : m_mask.FindNearestSelected(start, found, m_nRadius);
    }

private:
    const CMaskDIB& m_mask;
    int m_nRadius;
    bool m_bOuter;
};
