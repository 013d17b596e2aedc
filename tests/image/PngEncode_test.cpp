#include "image/PngFile.h"
#include "platform/FaultInjection.h"
#include "platform/File.h"
#include "support/BmpBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace pelto {

namespace {

COLORREF Pattern(int x, int y) {
    return RGB(x * 37 + y, y * 11 + 5, (x ^ y) * 3);
}

enum class Opacity { None, Opaque, Transparent };

struct RoundTrip {
    int width, height;
    Opacity opacity;
    uint8_t colourType; // what the file must be
};

class PngRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(PngRoundTrip, DecodesToThePixelsAndOpacityItWrote) {
    const RoundTrip c = GetParam();
    CDIB picture;
    LoadBytes(picture, MakeBmp24(c.width, c.height, Pattern));
    CAlphaPlane alpha(c.width, c.height);
    if (c.opacity == Opacity::Transparent)
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                alpha.SetAlpha(x, y, uint8_t(x * 7 + y * 3));
    TempDir dir;
    {
        CFile out(dir.File("a.png"), CFile::Mode::CreateWrite);
        png::Encode(picture, c.opacity == Opacity::None ? nullptr : &alpha, out);
    }
    const Bytes file = ReadFileBytes(dir.File("a.png"));
    EXPECT_EQ(png::ReadHeader(file.data(), file.size()).colourType, c.colourType);

    CDIB decoded;
    CAlphaPlane opacity;
    png::Decode(file.data(), file.size(), decoded, opacity);
    ASSERT_EQ(decoded.m_nWidth, c.width);
    ASSERT_EQ(decoded.m_nHeight, c.height);
    ASSERT_EQ(opacity.HasBlock(), c.opacity == Opacity::Transparent);
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            EXPECT_EQ(decoded.GetPixel(x, y), picture.GetPixel(x, y));
            if (opacity.HasBlock()) {
                EXPECT_EQ(opacity.GetAlpha(x, y), alpha.GetAlpha(x, y));
            }
        }
}

INSTANTIATE_TEST_SUITE_P(SizesAndOpacity, PngRoundTrip,
                         ::testing::Values(RoundTrip{1, 1, Opacity::None, 2},
                                           RoundTrip{5, 3, Opacity::Opaque, 2},
                                           RoundTrip{5, 3, Opacity::Transparent, 6},
                                           RoundTrip{130, 67, Opacity::None, 2},
                                           RoundTrip{130, 67, Opacity::Transparent, 6}));

TEST(PngEncode, AWriteErrorReachesTheCaller) {
    CDIB picture;
    LoadBytes(picture, MakeBmp24(300, 300, Pattern));
    TempDir dir;
    CFile out(dir.File("full.png"), CFile::Mode::CreateWrite);
    faults::FailWritesAfter(ENOSPC, 5000);
    try {
        png::Encode(picture, nullptr, out);
        ADD_FAILURE() << "no error";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.GetError(), ENOSPC);
    }
    faults::FailWritesAfter(0);
}

} // namespace

} // namespace pelto
