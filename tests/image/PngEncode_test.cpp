#include "image/PngFile.h"
#include "support/BmpBuilder.h"
#include "support/FaultControl.h"
#include "support/PngBuilder.h"
#include "support/TempDir.h"
#include "system/File.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <tuple>
#include <zlib.h>

namespace pelto {

namespace {

enum Opacity { kNone, kOpaque, kTransparent };
// width, height, alpha, colour type, threads
using RoundTrip = std::tuple<int, int, Opacity, uint8_t, unsigned>;

uint32_t ReadBE32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// The file's IDAT data inflated by zlib, which checks the stream's checksum;
// empty when it is no complete zlib stream of filtered bytes.
Bytes Inflated(const Bytes& file, uint64_t filtered) {
    Bytes stream;
    for (size_t at = 8; at + 8 <= file.size(); at += ReadBE32(&file[at]) + 12)
        if (std::memcmp(&file[at + 4], "IDAT", 4) == 0)
            stream.insert(stream.end(), &file[at + 8], &file[at + 8 + ReadBE32(&file[at])]);
    Bytes rows(filtered + 1);
    uLongf size = uLongf(rows.size());
    if (uncompress(rows.data(), &size, stream.data(), uLong(stream.size())) != Z_OK) return {};
    rows.resize(size);
    return rows;
}

// The file with a chunk before IEND that only libspng reads, so that it decodes it.
Bytes ForLibspng(const Bytes& file) {
    return Concat({Bytes(file.begin(), file.end() - 12), PngChunk("tIME", {7, 234, 1, 2, 3, 4, 5}),
                   PngChunk("IEND", {})});
}

class PngRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(PngRoundTrip, DecodesToThePixelsAndOpacityItWrote) {
    const auto [width, height, opacity, colourType, threads] = GetParam();
    CDIB picture;
    // Noise meets every branch of the filters' predictions.
    LoadBytes(picture, MakeBmp24(width, height, [](int x, int y) {
                  uint32_t h = (uint32_t(x) * 0x9E3779B1u ^ uint32_t(y)) * 0x85EBCA77u;
                  h ^= h >> 13;
                  return RGB(h >> 24, h >> 16, h >> 8);
              }));
    CAlphaPlane alpha(width, height);
    for (int i = 0; opacity == kTransparent && i < width * height; ++i)
        alpha.SetAlpha(i % width, i / width, uint8_t(i * 7));
    TempDir dir;
    {
        CFile out(dir.File("a.png"), CFile::Mode::CreateWrite);
        png::Encode(picture, opacity == kNone ? nullptr : &alpha, out, threads);
    }
    const Bytes written = ReadFileBytes(dir.File("a.png"));
    {
        // Any number of threads writes the same file.
        CFile out(dir.File("one.png"), CFile::Mode::CreateWrite);
        png::Encode(picture, opacity == kNone ? nullptr : &alpha, out, 1);
    }
    EXPECT_EQ(ReadFileBytes(dir.File("one.png")), written);
    EXPECT_EQ(png::ReadHeader(written.data(), written.size()).colourType, colourType);
    const uint64_t filtered = uint64_t(height) * (width * (colourType == 6 ? 4 : 3) + 1);
    EXPECT_EQ(Inflated(written, filtered).size(), filtered);
    for (const Bytes& file : {written, ForLibspng(written)}) {
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
}

// From 1 MB of samples on, strips side by side on as many threads, or one a
// processor for 0.
INSTANTIATE_TEST_SUITE_P(
    SizesAndOpacity, PngRoundTrip,
    ::testing::Values(RoundTrip{1, 1, kNone, 2, 0}, RoundTrip{5, 3, kOpaque, 2, 0},
                      RoundTrip{5, 3, kTransparent, 6, 0}, RoundTrip{130, 67, kNone, 2, 0},
                      RoundTrip{130, 67, kTransparent, 6, 0}, RoundTrip{610, 580, kNone, 2, 1},
                      RoundTrip{610, 580, kNone, 2, 3}, RoundTrip{530, 499, kTransparent, 6, 2},
                      RoundTrip{530, 499, kTransparent, 6, 0}, RoundTrip{360000, 1, kNone, 2, 2}));

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
