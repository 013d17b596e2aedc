#include "image/PngFile.h"
#include "platform/File.h"
#include "support/BmpBuilder.h"
#include "support/FaultControl.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <tuple>

namespace pelto {

namespace {

enum Opacity { kNone, kOpaque, kTransparent };
using RoundTrip = std::tuple<int, int, Opacity, uint8_t>; // width, height, alpha, colour type

class PngRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(PngRoundTrip, DecodesToThePixelsAndOpacityItWrote) {
    const auto [width, height, opacity, colourType] = GetParam();
    CDIB picture;
    LoadBytes(picture, MakeBmp24(width, height, PatternColour));
    CAlphaPlane alpha(width, height);
    for (int i = 0; opacity == kTransparent && i < width * height; ++i)
        alpha.SetAlpha(i % width, i / width, uint8_t(i * 7));
    TempDir dir;
    {
        CFile out(dir.File("a.png"), CFile::Mode::CreateWrite);
        png::Encode(picture, opacity == kNone ? nullptr : &alpha, out);
    }
    const Bytes file = ReadFileBytes(dir.File("a.png"));
    EXPECT_EQ(png::ReadHeader(file.data(), file.size()).colourType, colourType);
    CDIB decoded;
    CAlphaPlane decodedAlpha;
    png::Decode(file.data(), file.size(), decoded, decodedAlpha);
    ASSERT_EQ(decoded.m_nFileSize, picture.m_nFileSize);
    ASSERT_EQ(decodedAlpha.HasBlock(), opacity == kTransparent);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            EXPECT_EQ(decoded.GetPixel(x, y), picture.GetPixel(x, y));
            if (decodedAlpha.HasBlock()) {
                EXPECT_EQ(decodedAlpha.GetAlpha(x, y), alpha.GetAlpha(x, y));
            }
        }
}

INSTANTIATE_TEST_SUITE_P(SizesAndOpacity, PngRoundTrip,
                         ::testing::Values(RoundTrip{1, 1, kNone, 2}, RoundTrip{5, 3, kOpaque, 2},
                                           RoundTrip{5, 3, kTransparent, 6},
                                           RoundTrip{130, 67, kNone, 2},
                                           RoundTrip{130, 67, kTransparent, 6}));

TEST(PngEncode, AWriteErrorReachesTheCaller) {
    CDIB picture;
    LoadBytes(picture, MakeBmp24(300, 300, PatternColour));
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
