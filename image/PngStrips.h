#pragma once
// The PNG encode of big pictures: the rows, filtered Paeth, are compressed
// in horizontal strips side by side, one thread a strip, each strip a run of
// zlib's deflate (level 1, run-length matches) ended by a sync flush, so that
// the strips joined make the one zlib stream a PNG holds; its checksum is
// the strips' combined. The file is the signature, IHDR, the IDAT chunks and
// IEND. Write errors surface as CFileException, no memory as std::bad_alloc.

#include "AlphaPlane.h"
#include "Dib.h"

namespace pelto {

class CFile;

namespace png {

// picture (with a block) as 8-bit RGB, or RGBA with alpha's opacity when
// alpha is given (the picture's size), on up to threads threads (0: one per
// processor the process may use).
void EncodeInStrips(const CDIB& picture, const CAlphaPlane* alpha, CFile& file, unsigned threads);

} // namespace png

} // namespace pelto
