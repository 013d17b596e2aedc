#include "PngReading.h"

#include "Dib.h"
#include "PngFile.h"

#include <new>
#include <span>

namespace pelto {

namespace png {

namespace {

// The longest sides a BMP can hold at all, as one row or as one column of
// rows padded to 4 bytes; ReadHeader checks the two together.
constexpr uint32_t kMaxWidth = ((CDIB::kMaxFileSize - bmp::kHeadersSize) & ~uint64_t(3)) / 3;
constexpr uint32_t kMaxHeight = (CDIB::kMaxFileSize - bmp::kHeadersSize) / 4;

uint32_t Channels(uint8_t colourType) {
    switch (colourType) {
    case 2:
        return 3;
    case 4:
        return 2;
    case 6:
        return 4;
    default:
        return 1;
    }
}

ContextPtr WithLimits(CPngMemory& memory) {
    ContextPtr ctx = memory.NewContext(0);
    Check(spng_set_image_limits(ctx.get(), kMaxWidth, kMaxHeight), memory);
    // Ancillary chunks are bounded by the bytes they take, which the
    // footprint holds. libspng also counts the chunks it keeps a list of, up
    // to 1000 (a limit it lets no one raise): text and suggested palettes,
    // which CChunkSource leaves out, and one eXIf.
    Check(spng_set_chunk_limits(ctx.get(), kChunkCache, kChunkCache), memory);
    // A damaged ancillary chunk refuses the file as a damaged image chunk does.
    Check(spng_set_crc_action(ctx.get(), SPNG_CRC_ERROR, SPNG_CRC_ERROR), memory);
    return ctx;
}

} // namespace

uint64_t ScanlineBytes(const Header& header, uint32_t width) {
    return (uint64_t(width) * Channels(header.colourType) * header.bitDepth + 7) / 8 + 1;
}

ContextPtr OpenForReading(CPngMemory& memory, const uint8_t* data, uint64_t size) {
    ContextPtr ctx = WithLimits(memory);
    Check(spng_set_png_buffer(ctx.get(), data, size), memory);
    return ctx;
}

ContextPtr OpenForReading(CPngMemory& memory, CChunkSource& source) {
    ContextPtr ctx = WithLimits(memory);
    Check(spng_set_png_stream(ctx.get(), CChunkSource::Read, &source), memory);
    return ctx;
}

void Fail(int error, const CPngMemory& memory) {
    // zlib reports its own lack of memory as a stream error: the memory knows better.
    if (memory.SystemFailed()) throw std::bad_alloc();
    if (memory.CapReached()) CDIB::Refuse(kMsgTooMuchData);
    switch (error) {
    case SPNG_ESIGNATURE:
        CDIB::Refuse(CDIB::kMsgWrongFormat);
    case SPNG_EUSER_WIDTH:
    case SPNG_EUSER_HEIGHT:
    case SPNG_EOVERFLOW: // rows too long for libspng's sizes
        CDIB::Refuse(kMsgTooLarge);
    case SPNG_ECHUNK_LIMITS:
        CDIB::Refuse(kMsgTooMuchData);
    case SPNG_EBIT_DEPTH:
    case SPNG_ECOLOR_TYPE:
    case SPNG_ECOMPRESSION_METHOD:
    case SPNG_EFILTER_METHOD:
    case SPNG_EINTERLACE_METHOD:
    case SPNG_ECHUNK_UNKNOWN_CRITICAL:
        CDIB::Refuse(kMsgUnsupported);
    default:
        CDIB::Refuse(kMsgDamaged);
    }
}

uint32_t DecodedPixelBytes(const Header& header, bool transparent) {
    if (header.bitDepth == 16) return 8;
    return transparent ? 4 : 3;
}

uint64_t FilteredBytes(const Header& header) {
    uint64_t filtered = 0;
    for (const Pass& pass :
         header.interlaced ? std::span<const Pass>(kAdam7) : std::span<const Pass>(&kWhole, 1)) {
        const uint32_t width = PassPixels(header.width, pass.x0, pass.dx);
        const uint32_t height = PassPixels(header.height, pass.y0, pass.dy);
        if (width && height) filtered += height * ScanlineBytes(header, width);
    }
    return filtered;
}

} // namespace png

} // namespace pelto
