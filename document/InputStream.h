#pragma once
// Reading an input that has no length to ask for (a pipe, a FIFO, a
// terminal) to its end, into one block that grows as the bytes come. A PNG
// is kept whole, each growth handed to admit as below.
// Once the first 54 bytes are in, an input the loader refuses whatever its
// length is read on to its end without being kept (so its refusal names the
// same check a file of that length would fail), and the headers of one it
// may take are handed to admit, which may throw, before the block grows past
// them, and again, with the size it grows to, each time it grows past the
// pixel array, so an input that never ends meets the same memory check as a
// file that long. Reading stops one byte past limit, which the loader then refuses.

#include "image/Block.h"
#include "image/Dib.h"
#include "platform/File.h"

#include <functional>

namespace pelto {

struct StreamedInput {
    block::Ptr data;   // the input, or only its headers when !kept
    uint64_t size = 0; // bytes the input delivered
    bool kept = true;
};

// start: the input's first startBytes bytes (all 54 headers of a BMP).
using AdmitHeaders =
    std::function<void(const uint8_t* start, uint64_t startBytes, uint64_t leastFileSize)>;

StreamedInput ReadStream(CFile& input, const AdmitHeaders& admit,
                         uint64_t limit = CDIB::kMaxFileSize);

} // namespace pelto
