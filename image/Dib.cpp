#include "Dib.h"

#include "platform/Archive.h"
#include "platform/ArchiveException.h"
#include "platform/BmpLayout.h"
#include "platform/Dc.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace pelto {

void CDIB::Refuse(const char* message) {
    throw CArchiveException(CArchiveException::badIndex,
                            translation::Translate(kTextContext, message));
}

const char* CDIB::HeaderRefusal(const uint8_t* headers) {
    if (headers[0] != 0x42 || headers[1] != 0x4D) return kMsgWrongFormat;
    if (bmp::ReadU16(headers, bmp::biBitCount) != 24) return kMsgNotFullColour;
    if (bmp::ReadU32(headers, bmp::biCompression) != 0) return kMsgUnsupported;
    const int32_t width = bmp::ReadI32(headers, bmp::biWidth);
    const int32_t height = bmp::ReadI32(headers, bmp::biHeight);
    if (width <= 0 || height <= 0) return kMsgUnsupported;
    // A BMP describes its pixel array with 32-bit sizes; anything larger is not a BMP we can hold.
    if (Stride24(width) * uint64_t(height) > std::numeric_limits<uint32_t>::max())
        return kMsgUnsupported;
    if (bmp::ReadU32(headers, bmp::bfOffBits) < bmp::kHeadersSize) return kMsgWrongFormat;
    return nullptr;
}

uint64_t CDIB::PixelArrayEnd(const uint8_t* headers) {
    return uint64_t(bmp::ReadU32(headers, bmp::bfOffBits)) +
           Stride24(bmp::ReadI32(headers, bmp::biWidth)) *
               uint64_t(bmp::ReadI32(headers, bmp::biHeight));
}

const char* CDIB::Refusal(const uint8_t* headers, uint64_t size) {
    // The block size is a 32-bit count; a longer file cannot be a picture we hold.
    if (size > kMaxFileSize) return kMsgWrongFormat;
    if (size < 2 || headers[0] != 0x42 || headers[1] != 0x4D) return kMsgWrongFormat;
    if (size < bmp::kHeadersSize) return kMsgWrongFormat;
    if (const char* refusal = HeaderRefusal(headers)) return refusal;
    // The declared size is only trusted once the pixel array is known to lie inside the file.
    if (PixelArrayEnd(headers) > size) return kMsgWrongFormat;
    return nullptr;
}

void CDIB::Serialize(CArchive& ar) {
    ar.Flush();
    CFile* file = ar.GetFile();
    if (ar.IsStoring()) {
        if (m_pFileImage) file->Write(m_pFileImage.get(), m_nFileSize);
        return;
    }
    // The headers are checked before the file's length is allocated, so a
    // hostile file is refused without costing its size in memory.
    const uint64_t length = file->GetLength();
    uint8_t headers[bmp::kHeadersSize];
    const uint64_t headerBytes = std::min<uint64_t>(length, sizeof headers);
    if (file->Read(headers, headerBytes) != headerBytes) Refuse(kMsgWrongFormat);
    if (const char* refusal = Refusal(headers, length)) Refuse(refusal);

    block::Ptr data = block::Allocate(length);
    std::memcpy(data.get(), headers, headerBytes);
    const uint64_t rest = length - headerBytes;
    if (file->Read(data.get() + headerBytes, rest) != rest) Refuse(kMsgWrongFormat);
    Adopt(std::move(data), length);
}

void CDIB::LoadFromBytes(const uint8_t* data, uint64_t size) {
    if (const char* refusal = Refusal(data, size)) Refuse(refusal);
    block::Ptr copy = block::Allocate(size);
    std::memcpy(copy.get(), data, size);
    Adopt(std::move(copy), size);
}

void CDIB::LoadFromBlock(block::Ptr data, uint64_t size) {
    if (const char* refusal = Refusal(data.get(), size)) Refuse(refusal);
    Adopt(std::move(data), size);
}

void CDIB::Adopt(block::Ptr data, uint64_t size) {
    m_pFileImage = std::move(data);
    m_nFileSize = static_cast<uint32_t>(size);
    m_nWidth = bmp::ReadI32(m_pFileImage.get(), bmp::biWidth);
    m_nHeight = bmp::ReadI32(m_pFileImage.get(), bmp::biHeight);
}

uint32_t CDIB::OffBits() const {
    return bmp::ReadU32(m_pFileImage.get(), bmp::bfOffBits);
}

COLORREF CDIB::GetPixel(int x, int y) const {
    if (!m_pFileImage) return 0;
    const uint8_t* p = Row(y) + raster::Offset(x, 0, 0, 3);
    return RGB(p[2], p[1], p[0]);
}

void CDIB::SetPixel(int x, int y, COLORREF colour) {
    if (!m_pFileImage) return;
    uint8_t* p = Row(y) + raster::Offset(x, 0, 0, 3);
    p[0] = static_cast<uint8_t>(GetBValue(colour));
    p[1] = static_cast<uint8_t>(GetGValue(colour));
    p[2] = static_cast<uint8_t>(GetRValue(colour));
}

void CDIB::Draw(CDC* dc) const {
    if (!m_pFileImage || !dc) return;
    const uint8_t* info = m_pFileImage.get() + bmp::kFileHeaderSize;
    // Full sizes rather than their low 16 bits: wide pictures draw whole.
    dc->SetDIBitsToDevice(0, 0, bmp::ReadU32(m_pFileImage.get(), bmp::biWidth),
                          bmp::ReadU32(m_pFileImage.get(), bmp::biHeight),
                          m_pFileImage.get() + OffBits(), info);
}

CDIB& CDIB::Copy(const CDIB& other) {
    block::Ptr data = block::Allocate(other.m_pFileImage ? other.m_nFileSize : 0);
    if (data) std::memcpy(data.get(), other.m_pFileImage.get(), other.m_nFileSize);
    m_pFileImage = std::move(data);
    m_nFileSize = other.m_nFileSize;
    m_nWidth = other.m_nWidth;
    m_nHeight = other.m_nHeight;
    return *this;
}

uint32_t CDIB::RasterStride(int32_t width, uint16_t bitCount) {
    return static_cast<uint32_t>(bmp::RowStride(width > 0 ? width : 0, bitCount));
}

uint8_t* CDIB::BuildRaster(int32_t width, int32_t height, uint16_t bitCount, uint32_t paletteBytes,
                           bool zeroed) {
    const uint64_t rowBytes = RasterStride(width, bitCount);
    const uint32_t offBits = bmp::kHeadersSize + paletteBytes;
    if (width <= 0 || height <= 0) return nullptr;
    const uint64_t imageSize = rowBytes * uint64_t(height);
    if (imageSize + offBits > std::numeric_limits<uint32_t>::max()) throw std::bad_alloc();

    block::Ptr data = block::Allocate(imageSize + offBits);
    bmp::WriteBuiltHeaders(data.get(), static_cast<uint32_t>(imageSize + offBits), offBits, width,
                           height, bitCount, static_cast<uint32_t>(imageSize));
    if (zeroed) std::memset(data.get() + offBits, 0, imageSize);
    m_pFileImage = std::move(data);
    m_nFileSize = static_cast<uint32_t>(imageSize + offBits);
    m_nWidth = width;
    m_nHeight = height;
    return m_pFileImage.get() + offBits;
}

} // namespace pelto
