#pragma once
// What the PNG decode and its header probe share: a libspng context over a
// file in memory with the program's limits, what libspng's errors mean to
// the user, and the geometry of the Adam7 passes.

#include "PngChunks.h"
#include "PngFile.h"
#include "PngMemory.h"

#include <cstdint>

namespace pelto {

namespace png {

// The chunk cache libspng may fill with ancillary chunks (a colour profile,
// Exif data). As libspng doubles its buffer only within the room left, one
// compressed chunk inflates to at most half of it.
inline constexpr uint64_t kChunkCache = uint64_t(4) << 20;

// A decoding context over size bytes at data: pictures only as large as a BMP
// holds, ancillary chunks within kChunkCache, every chunk's CRC checked.
ContextPtr OpenForReading(CPngMemory& memory, const uint8_t* data, uint64_t size);
// The same reading through source, which must outlive the context.
ContextPtr OpenForReading(CPngMemory& memory, CChunkSource& source);

// Throws what a libspng error means: std::bad_alloc when the system had no
// memory, the refusal of the file otherwise.
[[noreturn]] void Fail(int error, const CPngMemory& memory);
inline void Check(int error, const CPngMemory& memory) {
    if (error) Fail(error, memory);
}

// Bytes of one filtered row of width pixels, filter byte included.
uint64_t ScanlineBytes(const Header& header, uint32_t width);
// Bytes per pixel of the rows a decode asks libspng for.
uint32_t DecodedPixelBytes(const Header& header, bool transparent);

struct Pass {
    uint32_t x0, y0, dx, dy;
};
inline constexpr Pass kAdam7[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                   {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
inline constexpr Pass kWhole = {0, 0, 1, 1};
// How many of size pixels a pass starting at start with step step holds.
constexpr uint32_t PassPixels(uint32_t size, uint32_t start, uint32_t step) {
    return size > start ? (size - start + step - 1) / step : 0;
}

// The bytes of the image data once inflated: every row of every pass filtered.
uint64_t FilteredBytes(const Header& header);
// The most image data deflate makes of filtered bytes: stored blocks add 5
// bytes in 65535, fixed codes at most 9 bits a byte. More is no encoding of
// them (a bomb, endless IDAT).
constexpr uint64_t MostImageData(uint64_t filtered) {
    return filtered + filtered / 8 + 1024;
}

} // namespace png

} // namespace pelto
