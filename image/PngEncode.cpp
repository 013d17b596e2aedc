#include "PngFile.h"
#include "PngMemory.h"
#include "PngStrips.h"

#include "system/File.h"

#include <exception>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>
#include <zlib.h>

namespace pelto {

namespace png {

namespace {

// Small pictures, up to kAdaptiveBytes of samples, go through libspng, which
// filters each row Up or Paeth, whichever it rates better: cheap there, and a
// few bytes count (the sample). Bigger ones are filtered Paeth and compressed
// in strips side by side (PngStrips.h). Both compress with zlib's level 1 and
// run-length matches, chosen on the benchmark pictures and the sample with
// bench/png-size.sh: they stay within 1.5 times the size ImageMagick writes.
// zlib's level 4, the fastest matching level that also does, takes half as
// long again on the noisy picture.
constexpr int kLevel = 1;
constexpr int kStrategy = Z_RLE;
constexpr uint64_t kAdaptiveBytes = uint64_t(1) << 20;

// Hands libspng's output to the file; a write's exception waits here while
// libspng returns through its own frames.
class CWriter {
public:
    explicit CWriter(CFile& file) : m_file(file) {}

    static int Write(spng_ctx*, void* user, void* data, size_t length) {
        auto* writer = static_cast<CWriter*>(user);
        try {
            writer->m_file.Write(data, length);
            return 0;
        } catch (...) {
            writer->m_error = std::current_exception();
            return SPNG_IO_ERROR;
        }
    }

    void Check(int error, const CPngMemory& memory) const {
        if (!error) return;
        if (m_error) std::rethrow_exception(m_error);
        if (memory.SystemFailed()) throw std::bad_alloc();
        throw std::logic_error(std::string("PNG encode: ") + spng_strerror(error));
    }

private:
    CFile& m_file;
    std::exception_ptr m_error;
};

} // namespace

void Encode(const CDIB& picture, const CAlphaPlane* alpha, CFile& file, unsigned threads) {
    if (!picture.HasBlock()) throw std::invalid_argument("PNG encode: no picture");
    const uint32_t width = uint32_t(picture.m_nWidth), height = uint32_t(picture.m_nHeight);
    if (alpha && alpha->HasBlock() &&
        (uint32_t(alpha->Width()) != width || uint32_t(alpha->Height()) != height))
        throw std::invalid_argument("PNG encode: the alpha plane is not the picture's size");
    const bool withAlpha = alpha && alpha->HasTransparency();
    const uint32_t pixelBytes = withAlpha ? 4 : 3;
    const uint64_t rowBytes = uint64_t(width) * pixelBytes;
    if (rowBytes * height > kAdaptiveBytes)
        return EncodeInStrips(picture, withAlpha ? alpha : nullptr, file, threads);

    CPngMemory memory(std::numeric_limits<uint64_t>::max());
    CWriter writer(file);
    ContextPtr ctx = memory.NewContext(SPNG_CTX_ENCODER);
    spng_ihdr ihdr{
        width, height,
        8,     uint8_t(withAlpha ? SPNG_COLOR_TYPE_TRUECOLOR_ALPHA : SPNG_COLOR_TYPE_TRUECOLOR),
        0,     0,
        0};
    writer.Check(spng_set_png_stream(ctx.get(), CWriter::Write, &writer), memory);
    writer.Check(spng_set_ihdr(ctx.get(), &ihdr), memory);
    writer.Check(spng_set_option(ctx.get(), SPNG_IMG_COMPRESSION_LEVEL, kLevel), memory);
    writer.Check(spng_set_option(ctx.get(), SPNG_IMG_COMPRESSION_STRATEGY, kStrategy), memory);
    writer.Check(spng_set_option(ctx.get(), SPNG_FILTER_CHOICE,
                                 SPNG_FILTER_CHOICE_UP | SPNG_FILTER_CHOICE_PAETH),
                 memory);
    writer.Check(spng_encode_image(ctx.get(), nullptr, 0, SPNG_FMT_PNG,
                                   SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE),
                 memory);

    block::Ptr row = block::Allocate(rowBytes);
    for (uint32_t yTop = 0; yTop < height; ++yTop) {
        const int y = int(height - 1 - yTop);
        const uint8_t* bgr = picture.Row(y);
        const uint8_t* opacity = withAlpha ? alpha->Row(y) : nullptr;
        uint8_t* out = row.get();
        for (uint32_t x = 0; x < width; ++x, bgr += 3, out += pixelBytes) {
            out[0] = bgr[2];
            out[1] = bgr[1];
            out[2] = bgr[0];
            if (opacity) out[3] = opacity[x];
        }
        const int error = spng_encode_row(ctx.get(), row.get(), rowBytes);
        if (error != SPNG_EOI) writer.Check(error, memory);
    }
}

} // namespace png

} // namespace pelto
