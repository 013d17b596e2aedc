#include "FlatBmp.h"

#include "AlphaPlane.h"
#include "Dib.h"
#include "system/File.h"

#include <algorithm>
#include <vector>

namespace pelto {

void WriteOverWhite(const CDIB& picture, const CAlphaPlane& alpha, CFile& file) {
    const uint8_t* block = picture.m_pFileImage.get();
    const uint64_t pixelsStart = uint64_t(picture.Row(0) - block);
    const uint64_t stride = CDIB::Stride24(picture.m_nWidth);
    const uint64_t pixelsEnd = pixelsStart + stride * uint64_t(picture.m_nHeight);
    file.Write(block, pixelsStart);

    // About a megabyte of rows a write.
    const int rowsPerBatch = int(std::clamp<uint64_t>((1u << 20) / stride, 1, 1024));
    std::vector<uint8_t> batch(stride * uint64_t(rowsPerBatch));
    for (int first = 0; first < picture.m_nHeight; first += rowsPerBatch) {
        const int rows = std::min(rowsPerBatch, picture.m_nHeight - first);
        for (int r = 0; r < rows; ++r) {
            const uint8_t* source = picture.Row(first + r);
            const uint8_t* opacity = alpha.Row(first + r);
            uint8_t* target = batch.data() + stride * uint64_t(r);
            std::copy(source, source + stride, target); // keeps the row's padding
            for (int x = 0; x < picture.m_nWidth; ++x)
                for (int channel = 0; channel < 3; ++channel)
                    target[3 * x + channel] =
                        CAlphaPlane::OverWhite(source[3 * x + channel], opacity[x]);
        }
        file.Write(batch.data(), stride * uint64_t(rows));
    }
    file.Write(block + pixelsEnd, picture.m_nFileSize - pixelsEnd);
}

} // namespace pelto
