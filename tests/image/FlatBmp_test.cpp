#include "image/AlphaPlane.h"
#include "image/Dib.h"
#include "image/FlatBmp.h"
#include "support/BmpBuilder.h"
#include "support/TempDir.h"
#include "system/File.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace pelto {

namespace {

// Widths with padded rows, and one whose rows take a write each.
class WriteOverWhiteTest : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(WriteOverWhiteTest, LaysEveryPixelOverWhiteAndKeepsTheRestOfTheBlock) {
    const auto [width, height] = GetParam();
    CDIB picture;
    picture.BuildPicture(width, height);
    CAlphaPlane alpha(width, height);
    const uint8_t opacities[] = {0, 1, 127, 128, 254, 255};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int i = x * 7 + y * 13;
            picture.SetPixel(x, y, RGB(i % 256, (i * 3) % 256, 255 - i % 256));
            alpha.SetAlpha(x, y, opacities[(x + y) % 6]);
        }
    // Padding bytes are the block's own and must come through as they are.
    for (int y = 0; y < height; ++y)
        std::memset(picture.Row(y) + 3 * width, 0xAB, CDIB::Stride24(width) - 3 * uint64_t(width));

    TempDir dir;
    {
        CFile file(dir.File("flat.bmp"), CFile::Mode::CreateWrite);
        WriteOverWhite(picture, alpha, file);
    }
    const std::vector<uint8_t> written = ReadFileBytes(dir.File("flat.bmp"));
    ASSERT_EQ(written.size(), picture.m_nFileSize);
    const uint64_t pixels = uint64_t(picture.Row(0) - picture.m_pFileImage.get());
    const uint8_t* block = picture.m_pFileImage.get();
    for (uint64_t i = 0; i < written.size(); ++i) {
        const uint64_t inArray = i - pixels, stride = CDIB::Stride24(width);
        const bool isPixel = i >= pixels && inArray % stride < 3 * uint64_t(width);
        if (!isPixel) {
            ASSERT_EQ(written[i], block[i]) << i;
            continue;
        }
        const int x = int(inArray % stride / 3), y = int(inArray / stride);
        const double a = alpha.GetAlpha(x, y) / 255.0;
        const double shown = block[i] * a + 255 * (1 - a);
        ASSERT_LE(std::abs(written[i] - shown), 0.5) << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, WriteOverWhiteTest,
                         ::testing::Values(std::pair{1, 1}, std::pair{3, 2}, std::pair{6, 5},
                                           std::pair{400000, 3}));

} // namespace

} // namespace pelto
