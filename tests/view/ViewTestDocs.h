#pragma once
// Documents the view tests draw and pick on.

#include "document/PeltoDoc.h"
#include "support/BmpBuilder.h"
#include "support/SquareDoc.h"

#include <QPoint>

#include <memory>

namespace pelto {

// Every pixel has its own colour, so tolerance 0 selects exactly the clicked one.
inline std::shared_ptr<CPeltoDoc> UniqueColourDoc(int width, int height) {
    auto doc = std::make_shared<CPeltoDoc>();
    LoadPicture(*doc, MakeBmp24(width, height, [](int x, int y) {
        return RGB(x % 256, y % 256, 7 + (x / 256) * 16 + (y / 256));
    }));
    return doc;
}

// The one selected pixel of a mask, as seen (y from the top); (-1, -1) unless exactly one.
inline QPoint OnlySelectedPixel(const CPeltoDoc& doc) {
    QPoint found(-1, -1);
    int count = 0;
    if (!doc.HasSelection()) return found;
    for (int y = 0; y < doc.Selection()->m_nHeight; ++y)
        for (int x = 0; x < doc.Selection()->m_nWidth; ++x)
            if (doc.Selection()->GetValue({x, y}) > 0) {
                found = QPoint(x, doc.Selection()->m_nHeight - 1 - y);
                ++count;
            }
    return count == 1 ? found : QPoint(-1, -1);
}

} // namespace pelto
