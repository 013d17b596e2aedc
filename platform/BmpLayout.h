#pragma once
// Offsets of the BMP file header and information header fields inside a file
// image, access to them by offset, and the padding of pixel rows. All fields
// are little-endian.

#include "LittleEndian.h"

#include <cstdint>
#include <cstring>

namespace pelto {

namespace bmp {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kHeadersSize = kFileHeaderSize + kInfoHeaderSize; // 54

constexpr uint32_t bfType = 0;
constexpr uint32_t bfSize = 2;
constexpr uint32_t bfReserved1 = 6;
constexpr uint32_t bfReserved2 = 8;
constexpr uint32_t bfOffBits = 10;
constexpr uint32_t biSize = 14;
constexpr uint32_t biWidth = 18;
constexpr uint32_t biHeight = 22;
constexpr uint32_t biPlanes = 26;
constexpr uint32_t biBitCount = 28;
constexpr uint32_t biCompression = 30;
constexpr uint32_t biSizeImage = 34;
constexpr uint32_t biXPelsPerMeter = 38;
constexpr uint32_t biYPelsPerMeter = 42;
constexpr uint32_t biClrUsed = 46;
constexpr uint32_t biClrImportant = 50;

// The offset of a field from the start of the information header (a BITMAPINFO).
constexpr uint32_t InInfo(uint32_t fileOffset) {
    return fileOffset - kFileHeaderSize;
}

// Bytes per stored row of bitCount bits per pixel: rows are padded to 4 bytes.
constexpr uint64_t RowStride(int64_t width, unsigned bitCount) {
    return (uint64_t(width) * bitCount + 31) / 32 * 4;
}

inline uint16_t ReadU16(const uint8_t* block, uint32_t offset) {
    return ReadLE16(block + offset);
}
inline uint32_t ReadU32(const uint8_t* block, uint32_t offset) {
    return ReadLE32(block + offset);
}
inline int32_t ReadI32(const uint8_t* block, uint32_t offset) {
    return static_cast<int32_t>(ReadLE32(block + offset));
}
inline void WriteU16(uint8_t* block, uint32_t offset, uint16_t v) {
    WriteLE16(block + offset, v);
}
inline void WriteU32(uint8_t* block, uint32_t offset, uint32_t v) {
    WriteLE32(block + offset, v);
}

// Writes the 54 header bytes of a raster the program builds itself.
inline void WriteBuiltHeaders(uint8_t* block, uint32_t fileSize, uint32_t offBits, int32_t width,
                              int32_t height, uint16_t bitCount, uint32_t imageSize) {
    std::memset(block, 0, kHeadersSize);
    block[0] = 'B';
    block[1] = 'M';
    WriteU32(block, bfSize, fileSize);
    WriteU32(block, bfOffBits, offBits);
    WriteU32(block, biSize, kInfoHeaderSize);
    WriteU32(block, biWidth, static_cast<uint32_t>(width));
    WriteU32(block, biHeight, static_cast<uint32_t>(height));
    WriteU16(block, biPlanes, 1);
    WriteU16(block, biBitCount, bitCount);
    WriteU32(block, biSizeImage, imageSize);
}

} // namespace bmp

} // namespace pelto
