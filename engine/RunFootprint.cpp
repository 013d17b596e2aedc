#include "RunFootprint.h"

#include "NearestSearch.h"
#include "ParallelRows.h"
#include "TransparentRim.h"
#include "image/Block.h"
#include "image/MaskDib.h"
#include "platform/BmpLayout.h"
#include "system/MemoryLimit.h"

#include <algorithm>

namespace pelto {

namespace {

// A raster the program builds: rows padded to 4 bytes, after offBits bytes of headers.
uint64_t RasterBytes(int32_t width, int32_t height, unsigned bitCount, uint64_t offBits) {
    return bmp::RowStride(width, bitCount) * uint64_t(height) + offBits;
}

// Per worker's rows, plus the offset groups and the height table of the radius.
uint64_t SearchBytes(int32_t width, int32_t height, int radius, unsigned threads) {
    if (radius <= 0) return 0;
    const unsigned count = BandCount(height, threads);
    uint64_t bytes = 0;
    for (unsigned i = 0; i < count; ++i) {
        const RowBand band = BandOf(height, count, i);
        bytes += CNearestSearch::ScratchBytes(width, band.last - band.first, radius);
    }
    const uint64_t r = uint64_t(std::min(radius, CNearestSearch::kMaxFastRadius));
    const uint64_t window = (2 * r + 1) * (2 * r + 1);
    return bytes + window * (2 * sizeof(int16_t) + sizeof(int)) + (r * r + 2) * sizeof(uint32_t);
}

} // namespace

RunFootprint EstimateRunFootprint(int32_t width, int32_t height, uint64_t fileSize, int bevelWidth,
                                  bool snapshot, unsigned threads, bool softRim) {
    RunFootprint footprint;
    footprint.picture = fileSize;
    footprint.snapshot = snapshot ? fileSize : 0;
    if (width <= 0 || height <= 0) return footprint;
    footprint.mask = RasterBytes(width, height, 8, CMaskDIB::kOffBits);
    footprint.heights = RasterBytes(width, height, 16, bmp::kHeadersSize);
    footprint.search = SearchBytes(width, height, bevelWidth, threads);
    footprint.rimMarks = softRim ? CTransparentRim::SoftEdgeBytes(width, height, bevelWidth) : 0;
    // The caller's thread takes the first band itself.
    footprint.mapping = uint64_t(BandCount(height, threads) - 1) * memlimit::ThreadStackBytes();
    for (const uint64_t bytes :
         {footprint.picture, footprint.mask, footprint.heights, footprint.snapshot})
        footprint.mapping += block::MappedBytes(bytes) - bytes;
    return footprint;
}

} // namespace pelto
