#pragma once
// The document most tests work on: a grey square over the middle half of a
// white picture, so the background is everything at the edges.

#include "document/PeltoDoc.h"
#include "support/BmpBuilder.h"

#include <memory>

namespace pelto {

// The picture of a BMP file, as a document opens it.
inline void LoadPicture(CPeltoDoc& doc, const Bytes& file) {
    doc.LoadBmp(file.data(), file.size());
}

inline std::shared_ptr<CPeltoDoc> SquareDoc(int size) {
    auto doc = std::make_shared<CPeltoDoc>();
    LoadPicture(*doc, SquareBmp(size));
    return doc;
}

} // namespace pelto
