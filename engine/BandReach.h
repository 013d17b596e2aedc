#pragma once
// The stored rows no band pixel can lie in, found from the mask alone before
// any search: a row without a pixel the band grows from, or without a pixel
// across the outline within `width` rows either side. The bevel leaves
// them as they are, so they are final from the start.

#include "image/MaskDib.h"

#include <cstdint>
#include <vector>

namespace pelto {

// One flag a row, 1 for a row beyond the band; none for a mask without rows.
std::vector<uint8_t> RowsBeyondBand(const CMaskDIB& mask, int width, bool outer,
                                    unsigned threads = 0);

} // namespace pelto
