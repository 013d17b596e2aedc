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

bool HasOpacity(const Header& header, bool transparencyChunk) {
    return header.colourType == SPNG_COLOR_TYPE_GRAYSCALE_ALPHA ||
           header.colourType == SPNG_COLOR_TYPE_TRUECOLOR_ALPHA || transparencyChunk;
}

bool MayBeSoftEdged(const Header& header, bool transparencyChunk) {
    return header.colourType == SPNG_COLOR_TYPE_GRAYSCALE_ALPHA ||
           header.colourType == SPNG_COLOR_TYPE_TRUECOLOR_ALPHA ||
           (header.colourType == SPNG_COLOR_TYPE_INDEXED && transparencyChunk);
}

uint64_t DecodeFootprint(const Header& header, uint64_t imageDataBytes, bool transparencyChunk) {
    const bool opacity = HasOpacity(header, transparencyChunk);
    const uint64_t opened = CDIB::BuiltFileSize(header.width, header.height) +
                            (opacity ? uint64_t(header.width) * header.height : 0);
    // libspng's read: the decode's row, and libspng's own when it gathers an interlaced pass.
    const uint64_t row = uint64_t(header.width) * DecodedPixelBytes(header, opacity);
    const uint64_t rows = header.interlaced ? 2 * row : row;
    const uint64_t scanlines = 2 * (ScanlineBytes(header, header.width) + 32);
    // Beside the cache's content, a chunk being inflated holds at most twice
    // the room left while libspng doubles its buffer: never more than two caches.
    const uint64_t chunks = 2 * kChunkCache;
    const uint64_t library = opened + rows + scanlines + chunks + kLibraryFixed;
    // The whole read follows libspng's look at the chunks, whose blocks are gone by then.
    if (!WholeReadable(header) || transparencyChunk) return library;
    return std::max(library, WholeFootprint(header, imageDataBytes));
}

} // namespace png

} // namespace pelto
