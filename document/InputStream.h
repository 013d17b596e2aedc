#pragma once
// Reading an input that has no length to ask for (a pipe, a FIFO, a
// terminal) to its end, into one block that grows as the bytes come.
// Once the first 54 bytes are in, an input that is neither a PNG nor a BMP
// (no "BM", or a BMP's headers that point inside themselves) is refused at
// once, with no more read; one whose BMP headers the loader refuses whatever
// its length is read on to its end without being kept (so its refusal names
// the same check a file of that length would fail). The headers of one it may
// take, and of a PNG its first kPngStartBytes, are handed to admit, which may
// throw, before the block grows past them, and again, with all the bytes in
// so far and the size it grows to, each time it grows past the pixel array,
// so an input that never ends meets the same memory check as a file that
// long. Reading stops one byte past limit, which the loader then refuses.

#include "image/Block.h"
#include "image/Dib.h"
#include "system/File.h"

#include <functional>

namespace pelto {

struct StreamedInput {
    block::Ptr data;   // the input, or only its headers when !kept
    uint64_t size = 0; // bytes the input delivered
    bool kept = true;
};

// A PNG's first bytes that its memory check sees: the chunks ahead of its
// image data, whose tRNS gives it an opacity, fit in them unless they carry
// a big colour profile or Exif data.
inline constexpr uint64_t kPngStartBytes = uint64_t(1) << 16;

// start: the input's first startBytes bytes (all 54 headers of a BMP).
using AdmitHeaders =
    std::function<void(const uint8_t* start, uint64_t startBytes, uint64_t leastFileSize)>;

StreamedInput ReadStream(CFile& input, const AdmitHeaders& admit,
                         uint64_t limit = CDIB::kMaxFileSize);

} // namespace pelto
