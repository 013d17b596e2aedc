#pragma once
// A PNG file's chunks as the decode sees them before libspng does: a walk
// that checks how every chunk is framed and where the image's own chunks
// stand, and a source that hands libspng the file without the chunks no
// picture needs. libspng drops a damaged ancillary chunk and reads what it
// finds as it comes; the walk refuses the file instead.

#include "PngFile.h"

#include <spng.h>

#include <cstdint>

namespace pelto {

namespace png {

struct ChunkWalk {
    // The length of all IDAT chunks, as their headers give it.
    uint64_t idatBytes = 0;
    // A chunk cut short or missing its CRC, a wrong CRC, a type that is not
    // four letters, no IEND, image data split, a second PLTE or tRNS, a PLTE
    // in grey, or a tRNS of the wrong length for the colour type.
    bool damaged = false;
    // A tRNS; a chunk libspng reads (not one CChunkSource leaves out) after
    // the image data.
    bool transparency = false;
    bool readAfterImage = false;
};

// Walks the chunks of a file whose header is header, up to IEND. A PLTE or
// tRNS after the image data, or a PLTE after a tRNS, refuses the file at
// once; other damage is reported for the caller to refuse it after its own
// checks of the image data's length.
ChunkWalk WalkChunks(const uint8_t* data, uint64_t size, const Header& header);

// libspng's stream over a file in memory that the walk passed, leaving out
// the chunks a button never uses: text, which can come by the thousand or
// inflate without end, suggested palettes, and an animation's frames, so
// that what libspng shows is the image data. The walk checked their CRCs.
class CChunkSource {
public:
    CChunkSource(const uint8_t* data, uint64_t size) : m_pData(data), m_nSize(size) {}

    static int Read(spng_ctx* ctx, void* source, void* dest, size_t length);

private:
    const uint8_t* const m_pData;
    const uint64_t m_nSize;
    uint64_t m_nAt = 0;
    uint64_t m_nChunkEnd = 8; // the signature's end, then each chunk's
};

} // namespace png

} // namespace pelto
