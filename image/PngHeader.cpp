#include "PngFile.h"
#include "PngReading.h"
#include "PngWhole.h"

#include <algorithm>
#include <cstring>

namespace pelto {

namespace png {

namespace {

// What libspng holds besides its rows and its chunk cache: its context,
// zlib's inflate state and window, the first buffer of a chunk it inflates
// and the size kept in front of each of its blocks.
constexpr uint64_t kLibraryFixed = uint64_t(128) << 10;

} // namespace

bool HasSignature(const uint8_t* data, uint64_t size) {
    return size >= sizeof kSignature && std::memcmp(data, kSignature, sizeof kSignature) == 0;
}

Header ReadHeader(const uint8_t* data, uint64_t size) {
    if (!HasSignature(data, size)) CDIB::Refuse(CDIB::kMsgWrongFormat);
    CPngMemory memory(kLibraryFixed);
    ContextPtr ctx = OpenForReading(memory, data, std::min(size, kHeaderBytes));
    spng_ihdr ihdr;
    Check(spng_get_ihdr(ctx.get(), &ihdr), memory);
    if (CDIB::BuiltFileSize(ihdr.width, ihdr.height) > CDIB::kMaxFileSize)
        CDIB::Refuse(kMsgTooLarge);
    return Header{ihdr.width, ihdr.height, ihdr.bit_depth, ihdr.color_type,
                  ihdr.interlace_method != 0};
}

uint64_t DecodeFootprint(const Header& header) {
    const uint64_t pixels = uint64_t(header.width) * header.height;
    const uint64_t picture = CDIB::BuiltFileSize(header.width, header.height);
    // The decode's row, and libspng's own when it gathers an interlaced pass.
    const uint64_t row = uint64_t(header.width) * DecodedPixelBytes(header, true);
    const uint64_t rows = header.interlaced ? 2 * row : row;
    const uint64_t scanlines = 2 * (ScanlineBytes(header, header.width) + 32);
    // Beside the cache's content, a chunk being inflated holds at most twice
    // the room left while libspng doubles its buffer: never more than two caches.
    const uint64_t chunks = 2 * kChunkCache;
    const uint64_t library = rows + scanlines + chunks + kLibraryFixed;
    return picture + pixels + std::max(library, WholeReadable(header) ? WholeFootprint(header) : 0);
}

} // namespace png

} // namespace pelto
