#pragma once
// PNG files for the picture model: the header probe, the memory a decode
// needs, the decode into a 24-bit CDIB (rows bottom-up, blue green red, as
// every raster of the program) with an alpha plane, and the encode back.
// Decoded colours are the file's samples as they are, no gamma or colour
// profile applied; 16-bit samples round to the nearest 8-bit value,
// round(v / 257), and smaller depths scale up exactly (v * 255 / (2^depth - 1)).
// A refused file throws CArchiveException(badIndex) with one of the messages
// below (or CDIB::kMsgWrongFormat when it is no PNG at all); no memory throws
// std::bad_alloc; write errors surface as CFileException.

#include "AlphaPlane.h"
#include "Dib.h"

#include <cstdint>
#include <optional>

namespace pelto {

class CFile;

namespace png {

// A refusal carries these translated (platform/Translation.h).
inline constexpr const char* kTextContext = CDIB::kTextContext;
inline constexpr const char* kMsgDamaged =
    PELTO_TR_NOOP("pelto::image", "PNG ファイルが壊れています");
inline constexpr const char* kMsgUnsupported =
    PELTO_TR_NOOP("pelto::image", "PNG ファイルのフォーマットがサポートされていない形式です");
inline constexpr const char* kMsgTooLarge =
    PELTO_TR_NOOP("pelto::image", "PNG ファイルの画像が大きすぎます");
inline constexpr const char* kMsgTooMuchData =
    PELTO_TR_NOOP("pelto::image", "PNG ファイルのデータが多すぎます");

// The bytes every PNG file starts with.
inline constexpr uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
// The bytes a decode's header probe needs: signature and IHDR.
inline constexpr uint64_t kHeaderBytes = 33;

struct Header {
    uint32_t width;
    uint32_t height;
    uint8_t bitDepth;   // 1, 2, 4, 8 or 16
    uint8_t colourType; // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
    bool interlaced;    // Adam7
};

// Whether the first size bytes start with the PNG signature.
bool HasSignature(const uint8_t* data, uint64_t size);
// The IHDR of a file from its first bytes (kHeaderBytes suffice), checked as a
// decode checks it, including that the picture fits a BMP; throws the refusal.
Header ReadHeader(const uint8_t* data, uint64_t size);
// Whether the chunks ahead of the image data, in a file's first size bytes,
// hold a tRNS; nothing when those bytes end before the first IDAT.
std::optional<bool> TransparencyChunkAhead(const uint8_t* data, uint64_t size);
// Whether a decode gives a picture of this header an opacity, with or without
// a tRNS, and whether that opacity may lie between 0 and 255 (a grey or colour
// key makes only the two).
bool HasOpacity(const Header& header, bool transparencyChunk);
bool MayBeSoftEdged(const Header& header, bool transparencyChunk);
// The most a decode of a file with this header allocates, with at most
// imageDataBytes of image data (the file's size will do) and a tRNS or not:
// the picture's block, an alpha plane, its own rows and everything libspng
// and zlib use. A decode never passes it: a file that would make it refuses
// instead.
uint64_t DecodeFootprint(const Header& header, uint64_t imageDataBytes, bool transparencyChunk);

// Decodes the whole file in data. On success picture holds it and alpha its
// opacity when the file has an alpha channel or a tRNS chunk (otherwise no
// block); on failure both are as they were. Every chunk up to IEND has its
// length, type and CRC checked, and what follows IEND is ignored; image data
// after the last row is never inflated, and more of it than any encoder would
// write refuses the file. Text, suggested palettes and an animation's frames
// are skipped unread, so that an animation opens as its image data. A palette
// index past the PLTE, a PLTE or tRNS after the image data, a tRNS before the
// PLTE or of the wrong length, a second PLTE or tRNS and a PLTE in grey are
// refused as damage. peak, when given, receives the most memory the decode
// held at once (never more than its footprint).
void Decode(const uint8_t* data, uint64_t size, CDIB& picture, CAlphaPlane& alpha,
            uint64_t* peak = nullptr);

// Writes picture (which must have a block) as an 8-bit RGB file, or RGBA when
// alpha is given, is the picture's size and has a pixel below 255. A big
// picture is compressed on up to threads threads (0: one per processor the
// process may use); the file is the same whatever their number.
void Encode(const CDIB& picture, const CAlphaPlane* alpha, CFile& file, unsigned threads = 0);

} // namespace png

} // namespace pelto
