#pragma once
// Byte offsets inside a raster's pixel array. A legal 24-bit file can be more
// than 2^30 pixels wide, so every product is taken in size_t, never in int.

#include <cstddef>
#include <cstdint>

namespace pelto {

namespace raster {

// Offset of pixel (x, stored row y) of a raster with rows of stride bytes.
constexpr size_t Offset(int x, int y, uint64_t stride, unsigned bytesPerPixel) {
    return size_t(y) * size_t(stride) + size_t(bytesPerPixel) * size_t(x);
}

} // namespace raster

} // namespace pelto
