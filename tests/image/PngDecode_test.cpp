#include "image/PngFile.h"
#include "support/FaultControl.h"
#include "support/PngBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace pelto {

namespace {

// Differs from pixel to pixel and channel to channel; at 16 bits it rounds up as often as down.
uint16_t Sample(int depth, int x, int y, int c) {
    const uint32_t v = uint32_t(x * 7 + y * 13 + c * 5 + 3) * (depth == 16 ? 40503u : 1u);
    return uint16_t(v % (1u << depth));
}
uint8_t Scale(uint16_t v, int depth) {
    return depth == 16 ? uint8_t(std::lround(v / 257.0)) : uint8_t(v * 255 / ((1 << depth) - 1));
}
// Red, green, blue of palette entry i, and (c = 3) its opacity in tRNS.
uint8_t Entry(int i, int c) {
    return uint8_t(i * (37 + 22 * c) + c + 1);
}

using DecodeCase = std::tuple<uint8_t, uint8_t, bool, bool>; // type, depth, tRNS, Adam7

std::vector<DecodeCase> AllCases() {
    const std::pair<uint8_t, std::vector<uint8_t>> depths[] = {
        {0, {1, 2, 4, 8, 16}}, {2, {8, 16}}, {3, {1, 2, 4, 8}}, {4, {8, 16}}, {6, {8, 16}}};
    std::vector<DecodeCase> cases;
    for (const auto& [type, list] : depths)
        for (uint8_t depth : list)
            for (bool trns : {false, true})
                for (bool adam7 : {false, true})
                    if (!trns || type < 4) cases.emplace_back(type, depth, trns, adam7);
    return cases;
}

class PngDecodes : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(PngDecodes, ToTheSamplesScaledToEightBitsWithTheirOpacity) {
    const auto [type, depth, trns, adam7] = GetParam();
    const int entries = 1 << std::min<int>(depth, 8), channels = PngChannels(type);
    PngImage image{11, 7, depth, type, adam7, [&](int x, int y, int c) {
                       return type == 3 ? uint16_t((x * 3 + y * 5) % entries)
                                        : Sample(depth, x, y, c);
                   }};
    std::vector<Bytes> chunks;
    Bytes key; // tRNS: pixel (0, 0)'s samples, or the palette's opacities but the last one's
    if (type == 3) {
        Bytes plte;
        for (int i = 0; i < entries; ++i)
            for (int c = 0; c < 4; ++c)
                (c < 3 ? plte : key).push_back(Entry(i, c));
        key.pop_back();
        chunks.push_back(PngChunk("PLTE", plte));
    } else {
        for (int c = 0; c < channels; ++c)
            key.insert(key.end(),
                       {uint8_t(image.sample(0, 0, c) >> 8), uint8_t(image.sample(0, 0, c))});
    }
    if (trns) chunks.push_back(PngChunk("tRNS", key));

    const Bytes file = MakePng(image, chunks);
    CDIB picture;
    CAlphaPlane alpha;
    png::Decode(file.data(), file.size(), picture, alpha);
    ASSERT_EQ(picture.m_nWidth, 11);
    ASSERT_EQ(picture.m_nHeight, 7);
    ASSERT_EQ(alpha.HasBlock(), trns || type >= 4);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 11; ++x) {
            uint8_t rgba[4];
            const int i = image.sample(x, y, 0);
            bool keyed = trns;
            for (int c = 0; c < 4; ++c) {
                const int channel = type == 0 || type == 4 ? c / 3 : c; // grey, grey, grey, alpha
                rgba[c] = type == 3 ? Entry(i, c) : Scale(image.sample(x, y, channel), depth);
                if (type != 3 && c < channels)
                    keyed &= image.sample(x, y, c) == image.sample(0, 0, c);
            }
            if (type == 3) rgba[3] = trns && i < entries - 1 ? Entry(i, 3) : 255;
            if (type < 3) rgba[3] = keyed ? 0 : 255;
            EXPECT_EQ(ShownPixel(picture, x, y), RGB(rgba[0], rgba[1], rgba[2])) << x << "," << y;
            if (alpha.HasBlock()) {
                EXPECT_EQ(alpha.GetAlpha(x, 6 - y), rgba[3]) << x << "," << y;
            }
        }
}

INSTANTIATE_TEST_SUITE_P(TypesDepthsTrnsAdam7, PngDecodes, ::testing::ValuesIn(AllCases()));

// Arbitrary bytes under every filter type, the first row's given, read in one
// piece as libspng reads them; a chunk it reads after the image data hands
// the file to libspng.
using FilterCase = std::tuple<uint8_t, uint32_t, uint8_t>; // type, width, first row's filter

constexpr uint32_t kReadRows = 40;

class PngReadWhole : public ::testing::TestWithParam<FilterCase> {};

TEST_P(PngReadWhole, UnfiltersAsLibspngDoes) {
    const auto [type, width, first] = GetParam();
    const PngImage image{width, kReadRows, 8, type, false, [](int x, int y, int c) {
                             return uint16_t(uint32_t(x * 131 + y * 71 + c * 29) * 2654435761u >>
                                             24);
                         }};
    Bytes rows = PngScanlines(image);
    for (size_t y = 0, line = rows.size() / kReadRows; y < kReadRows; ++y)
        rows[y * line] = uint8_t((first + y) % 5);
    const Bytes head =
        Concat({PngSignature(), PngChunk("IHDR", PngIhdr(image)), PngChunk("IDAT", Deflate(rows))});
    const Bytes time = PngChunk("tIME", {7, 234, 1, 2, 3, 4, 5});
    CDIB whole, libspng;
    CAlphaPlane wholeAlpha, libspngAlpha;
    const Bytes a = Concat({head, PngChunk("IEND", {})}),
                b = Concat({head, time, PngChunk("IEND", {})});
    png::Decode(a.data(), a.size(), whole, wholeAlpha);
    png::Decode(b.data(), b.size(), libspng, libspngAlpha);
    EXPECT_EQ(BlockBytes(whole), BlockBytes(libspng));
    ASSERT_EQ(wholeAlpha.HasBlock(), type == 6);
    ASSERT_EQ(libspngAlpha.HasBlock(), type == 6);
    for (int y = 0; y < int(kReadRows) && type == 6; ++y)
        for (int x = 0; x < int(width); ++x)
            EXPECT_EQ(wholeAlpha.GetAlpha(x, y), libspngAlpha.GetAlpha(x, y)) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(TypesWidthsFilters, PngReadWhole,
                         ::testing::Combine(::testing::Values(uint8_t(2), uint8_t(6)),
                                            ::testing::Values(1u, 2u, 37u),
                                            ::testing::Range(uint8_t(0), uint8_t(5))));

// RGB at 8 bits, RGBA at 16.
PngImage Picture(uint32_t width, uint32_t height, uint8_t depth = 8, bool adam7 = false) {
    return {width, height,
            depth, uint8_t(depth == 16 ? 6 : 2),
            adam7, [=](int x, int y, int c) { return Sample(depth, x, y, c); }};
}

TEST(PngHeader, ReadsTheIhdrFromTheFirstBytesAloneUpToTheLargestBmp) {
    // The last two make a BMP of 2^32 - 2 bytes; one pixel more is refused.
    for (const PngImage& image :
         {Picture(300, 200, 16, true), Picture(0x55555542, 1), Picture(1, 0x3FFFFFF2)}) {
        const Bytes ihdr = Concat({PngSignature(), PngChunk("IHDR", PngIhdr(image))});
        ASSERT_EQ(ihdr.size(), png::kHeaderBytes);
        const png::Header h = png::ReadHeader(ihdr.data(), ihdr.size());
        EXPECT_EQ(std::make_tuple(h.width, h.height, h.bitDepth, h.colourType, h.interlaced),
                  std::make_tuple(image.width, image.height, image.bitDepth, image.colourType,
                                  image.interlaced));
    }
}

// The heaviest files of each kind: 16-bit RGBA interlaced with its two rows,
// and Exif data and a colour profile that nearly fill the chunk cache.
TEST(PngFootprint, BoundsTheMostTheDecodeHolds) {
    const Bytes exif = PngChunk("eXIf", Concat({{'M', 'M', 0, 42}, Bytes(1900 << 10, 'e')}));
    const Bytes profile = PngChunk("iCCP", Concat({{'C', 0, 0}, Deflate(Bytes(1900 << 10, 'a'))}));
    for (const Bytes& file :
         {MakePng(Picture(1500, 9, 16, true)), MakePng(Picture(64, 64), {exif, profile})}) {
        CDIB picture;
        CAlphaPlane alpha;
        uint64_t peak = 0;
        png::Decode(file.data(), file.size(), picture, alpha, &peak);
        EXPECT_GE(peak, picture.m_nFileSize + uint64_t(alpha.Width()) * alpha.Height());
        EXPECT_LE(peak, png::DecodeFootprint(png::ReadHeader(file.data(), file.size()), file.size(),
                                             false));
    }
}

// The footprint grows with the picture as the decode's peak does, whatever
// path the file takes: the whole read with its image data in one chunk or
// copied from several, libspng's for a tRNS or interlacing, 16 bits a sample.
// The growth from a smaller picture to a bigger one is compared: both hold
// libspng's few fixed blocks, and the footprint its fixed reserve for
// ancillary chunks besides, which an 8-bit whole read passes only from a few
// million pixels on.
struct FootprintCase {
    const char* name;
    uint8_t colourType, bitDepth;
    bool transparencyChunk, interlaced;
    int idatChunks;
    uint32_t side; // of the smaller square; the bigger one's is 4/3 of it
};

class PngFootprintFollows : public ::testing::TestWithParam<FootprintCase> {};

TEST_P(PngFootprintFollows, TheDecodesPeakWithinATenth) {
    const FootprintCase& k = GetParam();
    uint64_t footprint[2], peak[2];
    for (int i = 0; i < 2; ++i) {
        const uint32_t side = i ? k.side * 4 / 3 : k.side;
        const PngImage image{
            side, side, k.bitDepth, k.colourType, k.interlaced, [&](int x, int y, int c) {
                return uint16_t((x / 3 * 7 + y * 5 + c * 40) % (1 << k.bitDepth));
            }};
        const Bytes data = Deflate(PngScanlines(image));
        std::vector<Bytes> parts = {PngSignature(), PngChunk("IHDR", PngIhdr(image))};
        if (k.transparencyChunk) parts.push_back(PngChunk("tRNS", Bytes(6, 0)));
        const size_t piece = data.size() / size_t(k.idatChunks) + 1;
        for (size_t at = 0; at < data.size(); at += piece)
            parts.push_back(
                PngChunk("IDAT", Bytes(data.begin() + long(at),
                                       data.begin() + long(std::min(at + piece, data.size())))));
        parts.push_back(PngChunk("IEND", {}));
        const Bytes file = Concat(parts);

        CDIB picture;
        CAlphaPlane alpha;
        png::Decode(file.data(), file.size(), picture, alpha, &peak[i]);
        ASSERT_EQ(png::TransparencyChunkAhead(file.data(), file.size()), k.transparencyChunk);
        footprint[i] = png::DecodeFootprint(png::ReadHeader(file.data(), file.size()), file.size(),
                                            k.transparencyChunk);
        EXPECT_LE(peak[i], footprint[i]) << side;
    }
    const double grown = double(peak[1] - peak[0]);
    EXPECT_GE(double(footprint[1] - footprint[0]), grown);
    EXPECT_LE(double(footprint[1] - footprint[0]), 1.1 * grown);
}

void PrintTo(const FootprintCase& c, std::ostream* out) {
    *out << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, PngFootprintFollows,
    ::testing::Values(FootprintCase{"Rgb8", 2, 8, false, false, 1, 1800},
                      FootprintCase{"Rgb8InChunks", 2, 8, false, false, 3, 1800},
                      FootprintCase{"Rgba8InChunks", 6, 8, false, false, 3, 1800},
                      FootprintCase{"Rgb8Keyed", 2, 8, true, false, 1, 300},
                      FootprintCase{"Rgb8Interlaced", 2, 8, false, true, 1, 300},
                      FootprintCase{"Rgb16", 2, 16, false, false, 3, 300},
                      FootprintCase{"Rgba16", 6, 16, false, false, 3, 300}),
    [](const auto& c) { return std::string(c.param.name); });

TEST(PngDecode, NoMemoryAnywhereThrowsBadAllocAndLeavesThePictureAsItWas) {
    const Bytes file = MakePng(Picture(9, 5, 16, true));
    CDIB picture;
    LoadBytes(picture, MakeBmp24(2, 2, RGB(1, 2, 3)));
    CAlphaPlane alpha(2, 2);
    for (int successes = 0;; ++successes) {
        faults::FailAllocationAfter(successes);
        try {
            png::Decode(file.data(), file.size(), picture, alpha);
            faults::FailAllocationAfter(-1);
            EXPECT_GT(successes, 3); // the contexts, zlib's state and window, the rows
            EXPECT_EQ(alpha.Width(), 9);
            return;
        } catch (const std::bad_alloc&) {
            faults::FailAllocationAfter(-1);
            EXPECT_EQ(picture.GetPixel(1, 1), RGB(1, 2, 3));
            EXPECT_EQ(alpha.Width(), 2);
        }
    }
}

} // namespace

} // namespace pelto
