#include "InputStream.h"

#include "image/PngFile.h"
#include "platform/BmpLayout.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace pelto {

namespace {

constexpr uint64_t kFirstBlock = uint64_t(1) << 16;

// The rest of the input, counted but dropped.
uint64_t Drain(CFile& input, uint64_t size, uint64_t limit) {
    std::vector<uint8_t> buffer(static_cast<size_t>(kFirstBlock));
    while (size <= limit) {
        const uint64_t want = std::min<uint64_t>(buffer.size(), limit + 1 - size);
        const uint64_t got = input.Read(buffer.data(), want);
        size += got;
        if (got < want) break;
    }
    return size;
}

} // namespace

StreamedInput ReadStream(CFile& input, const AdmitHeaders& admit, uint64_t limit) {
    StreamedInput in;
    uint64_t capacity = bmp::kHeadersSize;
    in.data = block::Allocate(capacity);
    in.size = input.Read(in.data.get(), bmp::kHeadersSize);
    const bool png = png::HasSignature(in.data.get(), in.size);
    if (in.size < bmp::kHeadersSize && !png) return in;
    if (const char* refusal = png ? nullptr : CDIB::HeaderRefusal(in.data.get())) {
        in.kept = false;
        // No length changes this one: an endless input (random bytes, yes) is not read on.
        if (std::string_view(refusal) != CDIB::kMsgWrongFormat)
            in.size = Drain(input, in.size, limit);
        return in;
    }
    if (png) {
        capacity = std::max(in.size, std::min(kPngStartBytes, limit + 1));
        block::Resize(in.data, capacity);
        in.size += input.Read(in.data.get() + in.size, capacity - in.size);
    }
    const uint64_t end =
        png ? in.size : std::max<uint64_t>(CDIB::PixelArrayEnd(in.data.get()), in.size);
    admit(in.data.get(), in.size, end);

    while (in.size <= limit) {
        if (in.size == capacity) {
            // Doubling keeps the copies few; the end trims what was not needed. The
            // block stops at the pixel array's end once, so a picture that is exactly
            // that long is never held to a bigger size than its own.
            uint64_t next = std::max(2 * capacity, kFirstBlock);
            if (capacity <= end && next > end + 1) next = end + 1;
            capacity = std::min(next, limit + 1);
            // Bytes past the pixel array are kept too: each growth must fit as the first did.
            if (capacity > end) admit(in.data.get(), in.size, capacity);
            block::Resize(in.data, capacity);
        }
        const uint64_t want = capacity - in.size;
        const uint64_t got = input.Read(in.data.get() + in.size, want);
        in.size += got;
        if (got < want) break;
    }
    block::Resize(in.data, in.size);
    return in;
}

} // namespace pelto
