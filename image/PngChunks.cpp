#include "PngChunks.h"

#include <algorithm>
#include <cstring>
#include <zlib.h>

namespace pelto {

namespace png {

namespace {

uint32_t ReadBE32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

bool Is(const uint8_t* type, const char* name) {
    return std::memcmp(type, name, 4) == 0;
}

bool Letters(const uint8_t* type) {
    return std::all_of(type, type + 4,
                       [](uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
}

// A grey key takes 2 bytes and a colour key 6; a palette's opacities are
// at most one a PLTE entry. With an alpha channel libspng ignores a tRNS.
bool TransparencyFits(uint8_t colourType, uint32_t length, uint32_t paletteEntries) {
    switch (colourType) {
    case 0:
        return length == 2;
    case 2:
        return length == 6;
    case 3:
        return length <= paletteEntries;
    default:
        return true;
    }
}

bool Skipped(const uint8_t* type) {
    for (const char* name : {"tEXt", "zTXt", "iTXt", "sPLT", "acTL", "fcTL", "fdAT"})
        if (Is(type, name)) return true;
    return false;
}

} // namespace

ChunkWalk WalkChunks(const uint8_t* data, uint64_t size, const Header& header) {
    ChunkWalk walk;
    uint32_t paletteEntries = 0;
    bool plte = false, trns = false, idat = false, idatEnded = false;
    for (uint64_t at = 8;;) {
        if (at + 8 > size) {
            walk.damaged = true;
            return walk;
        }
        const uint32_t length = ReadBE32(data + at);
        const uint8_t* type = data + at + 4;
        const bool last = Is(type, "IEND");
        const bool plteHere = Is(type, "PLTE"), trnsHere = Is(type, "tRNS");
        const bool idatHere = Is(type, "IDAT");
        // Both before the image data, and a tRNS after the PLTE it applies to.
        if (((plteHere || trnsHere) && idat) || (plteHere && trns)) CDIB::Refuse(kMsgDamaged);
        // A chunk cut short still counts with the length it claims.
        if (idatHere) walk.idatBytes += length;
        if (length > 0x7FFFFFFF || length + uint64_t(12) > size - at) {
            walk.damaged = true;
            return walk;
        }
        const uint64_t next = at + length + 12;
        if (!Letters(type) || crc32(0, type, length + 4) != ReadBE32(data + next - 4))
            walk.damaged = true;
        if (last) return walk;
        if (plteHere && (plte || header.colourType == 0 || header.colourType == 4))
            walk.damaged = true;
        if (trnsHere && (trns || !TransparencyFits(header.colourType, length, paletteEntries)))
            walk.damaged = true;
        if (idatHere && idatEnded) walk.damaged = true;
        if (idat && !idatHere && !Skipped(type)) walk.readAfterImage = true;
        if (plteHere) paletteEntries = length / 3;
        plte = plte || plteHere;
        trns = trns || trnsHere;
        walk.transparency = trns;
        idatEnded = idatEnded || (idat && !idatHere);
        idat = idat || idatHere;
        at = next;
    }
}

std::optional<bool> TransparencyChunkAhead(const uint8_t* data, uint64_t size) {
    for (uint64_t at = sizeof kSignature; at + 8 <= size;
         at += uint64_t(ReadBE32(data + at)) + 12) {
        const uint8_t* type = data + at + 4;
        if (Is(type, "tRNS")) return true;
        if (Is(type, "IDAT") || Is(type, "IEND")) return false;
    }
    return std::nullopt;
}

int CChunkSource::Read(spng_ctx*, void* source, void* dest, size_t length) {
    CChunkSource& self = *static_cast<CChunkSource*>(source);
    auto* out = static_cast<uint8_t*>(dest);
    while (length > 0) {
        if (self.m_nAt == self.m_nChunkEnd) {
            // At the start of a chunk after IHDR: past those left out, then
            // the next one's end.
            auto chunkEnd = [&self] {
                if (self.m_nSize - self.m_nAt < 8) return self.m_nSize;
                const uint64_t end = self.m_nAt + ReadBE32(self.m_pData + self.m_nAt) + 12;
                return std::min(end, self.m_nSize);
            };
            while (self.m_nAt > 8 && self.m_nSize - self.m_nAt >= 8 &&
                   Skipped(self.m_pData + self.m_nAt + 4))
                self.m_nAt = chunkEnd();
            self.m_nChunkEnd = chunkEnd();
        }
        const uint64_t n = std::min<uint64_t>(length, self.m_nChunkEnd - self.m_nAt);
        if (n == 0) return SPNG_IO_EOF;
        std::memcpy(out, self.m_pData + self.m_nAt, n);
        self.m_nAt += n;
        out += n;
        length -= n;
    }
    return 0;
}

} // namespace png

} // namespace pelto
