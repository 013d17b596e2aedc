#pragma once
// The common PNG read in one piece: 8-bit RGB or RGBA, not interlaced. The
// image data is inflated whole with libdeflate and unfiltered straight into
// the picture's rows, several times faster than libspng and zlib row by row.
// It takes only image data libspng reads the same way: one complete zlib
// stream that fills the rows exactly, with its checksum right and every
// filter type known. Anything else is left to libspng, which decides what
// the file is (the same pixels for what both read, its own refusals).

#include "AlphaPlane.h"
#include "Dib.h"
#include "PngFile.h"
#include "PngMemory.h"

#include <cstdint>

namespace pelto {

namespace png {

// Whether a file of this header, with no tRNS, may be read here.
bool WholeReadable(const Header& header);
// The most ReadWhole holds, the picture and its opacity included, for at
// most imageDataBytes of image data.
uint64_t WholeFootprint(const Header& header, uint64_t imageDataBytes);

// The image data of the file's IDAT chunks (the walk passed them) into
// picture, with alpha when the header has an alpha channel, the blocks
// counted in memory. False, with nothing kept, when the data is not as above.
bool ReadWhole(const uint8_t* data, uint64_t size, const Header& header, CPngMemory& memory,
               CDIB& picture, CAlphaPlane& alpha);

} // namespace png

} // namespace pelto
