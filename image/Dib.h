#pragma once
// CDIB: a 24-bit colour picture held as the complete bytes of its BMP file in
// one block (headers, any gap or colour table, bottom-up pixel rows padded to
// 4 bytes, any trailing bytes), exactly as read. Pixels are addressed by
// (column, stored row); stored row 0 is the bottom row as shown. Colours are
// COLORREF values (0x00BBGGRR); in the file a pixel is blue, green, red.
// A refused load throws CArchiveException(badIndex) carrying the user-facing
// message; file errors surface as CFileException; no memory as std::bad_alloc.

#include "Block.h"
#include "RasterIndex.h"
#include "platform/BmpLayout.h"
#include "platform/ColorRef.h"
#include "platform/Translation.h"

#include <cstdint>

namespace pelto {

class CArchive;
class CDC;

class CDIB {
public:
    // The picture's messages; a refusal carries them translated (platform/Translation.h).
    static constexpr const char* kTextContext = "pelto::image";
    static constexpr const char* kMsgWrongFormat =
        PELTO_TR_NOOP("pelto::image", "フォーマットが違います");
    static constexpr const char* kMsgNotFullColour =
        PELTO_TR_NOOP("pelto::image", "フルカラービットマップではありません");
    static constexpr const char* kMsgUnsupported =
        PELTO_TR_NOOP("pelto::image", "ビットマップのフォーマットがサポートされていない形式です");

    CDIB() = default;
    virtual ~CDIB() = default;
    CDIB(const CDIB&) = delete;
    CDIB& operator=(const CDIB&) = delete;

    // Loads the whole file into a new block, or writes the block back unchanged.
    virtual void Serialize(CArchive& ar);
    // Same checks as a load, on bytes already in memory.
    void LoadFromBytes(const uint8_t* data, uint64_t size);
    // Same checks as a load, taking over a block of size bytes without copying it.
    void LoadFromBlock(block::Ptr data, uint64_t size);

    // The longest file a picture can be: its block size is a 32-bit count.
    static constexpr uint64_t kMaxFileSize = 0xFFFFFFFFu;
    // The message that refuses a file of size bytes whose first min(size, 54)
    // bytes are headers (the first failing check decides), or nullptr when it loads.
    static const char* Refusal(const uint8_t* headers, uint64_t size);
    // With the first 54 bytes: the message that refuses the file whatever its
    // length (within kMaxFileSize), or nullptr when its length still decides.
    static const char* HeaderRefusal(const uint8_t* headers);
    // Throws the refusal with message, translated.
    [[noreturn]] static void Refuse(const char* message);
    // Where the pixel array ends, for headers HeaderRefusal accepts.
    static uint64_t PixelArrayEnd(const uint8_t* headers);

    // Makes this image a fresh 24-bit picture of width x height, every pixel
    // black, built as the program builds its own BMP files; returns the pixel
    // array. A width or height of 0 or less leaves the image as it was and
    // gives nullptr; a picture whose file would not fit 32 bits throws std::bad_alloc.
    uint8_t* BuildPicture(int32_t width, int32_t height) {
        return BuildRaster(width, height, 24, 0);
    }

    COLORREF GetPixel(int x, int y) const;
    void SetPixel(int x, int y, COLORREF colour);
    void Draw(CDC* dc) const;
    CDIB& Copy(const CDIB& other);

    bool HasBlock() const { return m_pFileImage != nullptr; }
    // Bytes per stored row of a 24-bit picture of this width.
    static uint64_t Stride24(int64_t width) { return bmp::RowStride(width, 24); }
    // Bytes of the file block the program builds for a picture of this size.
    static uint64_t BuiltFileSize(int64_t width, int64_t height) {
        return bmp::kHeadersSize + Stride24(width) * uint64_t(height);
    }
    // Start of stored row y of the pixel array (block required).
    uint8_t* Row(int y) {
        return m_pFileImage.get() + OffBits() + raster::Offset(0, y, Stride24(m_nWidth), 3);
    }
    const uint8_t* Row(int y) const {
        return m_pFileImage.get() + OffBits() + raster::Offset(0, y, Stride24(m_nWidth), 3);
    }

    block::Ptr m_pFileImage;
    uint32_t m_nFileSize = 0;
    int32_t m_nWidth = 1;
    int32_t m_nHeight = 1;

protected:
    uint32_t OffBits() const;
    // Makes this image a freshly built raster of bitCount bits per pixel with
    // paletteBytes of colour table, all pixels 0 (unless not zeroed: left as
    // allocated, for a caller that writes them all); returns the pixel array.
    // A width or height of 0 or less leaves the image without a block.
    uint8_t* BuildRaster(int32_t width, int32_t height, uint16_t bitCount, uint32_t paletteBytes,
                         bool zeroed = true);
    // Bytes per stored row of such a raster.
    static uint32_t RasterStride(int32_t width, uint16_t bitCount);

private:
    // Takes a file image that passed the load checks.
    void Adopt(block::Ptr block, uint64_t size);
};

} // namespace pelto
