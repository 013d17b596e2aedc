#include "image/PngFile.h"
#include "platform/ArchiveException.h"
#include "platform/FaultInjection.h"
#include "support/PngBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace pelto {

namespace {

// A sample at the file's depth that differs from pixel to pixel and channel
// to channel, and at 16 bits rounds up as often as down.
uint16_t Sample(int depth, int x, int y, int c) {
    const uint32_t v = uint32_t(x * 7 + y * 13 + c * 5 + 3) * (depth == 16 ? 40503u : 1u);
    return uint16_t(v % (1u << depth));
}

uint8_t Scale(uint16_t v, int depth) {
    return depth == 16 ? uint8_t(std::lround(v / 257.0)) : uint8_t(v * 255 / ((1 << depth) - 1));
}

struct PaletteEntry {
    uint8_t r, g, b, a;
};
PaletteEntry Entry(int i, bool withAlpha) {
    return {uint8_t(i * 37 + 1), uint8_t(i * 59 + 2), uint8_t(i * 91 + 3),
            uint8_t(withAlpha && i % 3 != 2 ? i * 17 + 5 : 255)};
}

struct DecodeCase {
    uint8_t colourType;
    uint8_t depth;
    bool trns;
    bool interlaced;
};

std::string Name(const DecodeCase& c) {
    return "type" + std::to_string(c.colourType) + "_depth" + std::to_string(c.depth) +
           (c.trns ? "_trns" : "") + (c.interlaced ? "_adam7" : "");
}

std::vector<DecodeCase> AllCases() {
    const std::vector<std::pair<uint8_t, std::vector<uint8_t>>> depths = {
        {0, {1, 2, 4, 8, 16}}, {2, {8, 16}}, {3, {1, 2, 4, 8}}, {4, {8, 16}}, {6, {8, 16}}};
    std::vector<DecodeCase> cases;
    for (const auto& [type, list] : depths)
        for (uint8_t depth : list)
            for (bool trns : {false, true})
                for (bool interlaced : {false, true})
                    if (!trns || type < 4) cases.push_back({type, depth, trns, interlaced});
    return cases;
}

// Colour and opacity the file gives pixel (x, row from the top).
struct Expected {
    COLORREF colour;
    uint8_t alpha;
};

class PngDecodes : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(PngDecodes, ToTheSamplesScaledToEightBitsWithTheirOpacity) {
    const DecodeCase c = GetParam();
    PngSpec spec{11, 7, c.depth, c.colourType, c.interlaced, nullptr};
    const int entries = 1 << std::min<int>(c.depth, 8);
    spec.sample = [&](int x, int y, int ch) {
        return c.colourType == 3 ? uint16_t((x * 3 + y * 5) % entries) : Sample(c.depth, x, y, ch);
    };
    std::vector<Bytes> chunks;
    if (c.colourType == 3) {
        Bytes plte, trns;
        for (int i = 0; i < entries; ++i) {
            const PaletteEntry e = Entry(i, true);
            plte.insert(plte.end(), {e.r, e.g, e.b});
            if (i < entries - 1) trns.push_back(e.a); // the last entry stays opaque
        }
        chunks.push_back(PngChunk("PLTE", plte));
        if (c.trns) chunks.push_back(PngChunk("tRNS", trns));
    } else if (c.trns) {
        Bytes key; // pixel (0, 0)'s samples are transparent wherever they occur
        for (int ch = 0; ch < PngChannels(c.colourType); ++ch)
            key.insert(key.end(),
                       {uint8_t(spec.sample(0, 0, ch) >> 8), uint8_t(spec.sample(0, 0, ch))});
        chunks.push_back(PngChunk("tRNS", key));
    }
    auto expected = [&](int x, int y) -> Expected {
        auto s = [&](int ch) { return Scale(spec.sample(x, y, ch), c.depth); };
        bool keyed = c.trns && c.colourType != 3;
        for (int ch = 0; keyed && ch < PngChannels(c.colourType); ++ch)
            keyed = spec.sample(x, y, ch) == spec.sample(0, 0, ch);
        switch (c.colourType) {
        case 0:
            return {RGB(s(0), s(0), s(0)), uint8_t(keyed ? 0 : 255)};
        case 2:
            return {RGB(s(0), s(1), s(2)), uint8_t(keyed ? 0 : 255)};
        case 3: {
            const int i = spec.sample(x, y, 0);
            const PaletteEntry e = Entry(i, c.trns && i < entries - 1);
            return {RGB(e.r, e.g, e.b), e.a};
        }
        case 4:
            return {RGB(s(0), s(0), s(0)), s(1)};
        default:
            return {RGB(s(0), s(1), s(2)), s(3)};
        }
    };

    const Bytes file = MakePng(spec, chunks);
    CDIB picture;
    CAlphaPlane alpha;
    png::Decode(file.data(), file.size(), picture, alpha);
    ASSERT_EQ(picture.m_nWidth, 11);
    ASSERT_EQ(picture.m_nHeight, 7);
    const bool hasAlpha = c.trns || c.colourType >= 4;
    ASSERT_EQ(alpha.HasBlock(), hasAlpha);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 11; ++x) {
            const Expected e = expected(x, y);
            EXPECT_EQ(ShownPixel(picture, x, y), e.colour) << x << "," << y;
            if (hasAlpha) {
                EXPECT_EQ(alpha.GetAlpha(x, 6 - y), e.alpha) << x << "," << y;
            }
        }
}

INSTANTIATE_TEST_SUITE_P(ColourTypesDepthsInterlace, PngDecodes, ::testing::ValuesIn(AllCases()),
                         [](const auto& c) { return Name(c.param); });

PngSpec Rgb(uint32_t width, uint32_t height) {
    return {width, height, 8, 2, false, [](int x, int y, int c) { return Sample(8, x, y, c); }};
}

TEST(PngHeader, ReadsTheIhdrFromTheFirstBytesAlone) {
    PngSpec spec{300, 200, 16, 6, true, nullptr};
    const Bytes ihdr = Concat({PngSignature(), PngChunk("IHDR", PngIhdr(spec))});
    ASSERT_EQ(ihdr.size(), png::kHeaderBytes);
    EXPECT_TRUE(png::HasSignature(ihdr.data(), ihdr.size()));
    const png::Header h = png::ReadHeader(ihdr.data(), ihdr.size());
    EXPECT_EQ(h.width, 300u);
    EXPECT_EQ(h.height, 200u);
    EXPECT_EQ(h.bitDepth, 16);
    EXPECT_EQ(h.colourType, 6);
    EXPECT_TRUE(h.interlaced);
}

TEST(PngHeader, TakesTheWidestAndTallestPicturesABmpHolds) {
    // Each makes a BMP of 2^32 - 2 bytes; one pixel more does not fit (see the refusals).
    for (const auto& [width, height] : {std::pair{0x55555542u, 1u}, std::pair{1u, 0x3FFFFFF2u}}) {
        const Bytes ihdr =
            Concat({PngSignature(), PngChunk("IHDR", PngIhdr({width, height, 8, 2, false, {}}))});
        EXPECT_EQ(png::ReadHeader(ihdr.data(), ihdr.size()).width, width);
    }
}

// The heaviest files of each kind: 16-bit RGBA interlaced with its two rows,
// and a picture carrying two text chunks that nearly fill the chunk cache.
TEST(PngFootprint, BoundsTheMostTheDecodeHolds) {
    PngSpec rgba{1500, 9, 16, 6, true, [](int x, int y, int c) { return Sample(16, x, y, c); }};
    const Bytes text = Concat({{'C', 0, 0}, Deflate(Bytes(1900 << 10, 'a'))});
    const Bytes files[] = {MakePng(rgba),
                           MakePng(Rgb(64, 64), {PngChunk("zTXt", text), PngChunk("zTXt", text)})};
    for (const Bytes& file : files) {
        const png::Header header = png::ReadHeader(file.data(), file.size());
        CDIB picture;
        CAlphaPlane alpha;
        uint64_t peak = 0;
        png::Decode(file.data(), file.size(), picture, alpha, &peak);
        EXPECT_GE(peak, picture.m_nFileSize + uint64_t(alpha.Width()) * alpha.Height());
        EXPECT_LE(peak, png::DecodeFootprint(header));
    }
}

TEST(PngDecode, NoMemoryAnywhereThrowsBadAllocAndLeavesThePictureAsItWas) {
    const Bytes file =
        MakePng({9, 5, 8, 6, true, [](int x, int y, int c) { return Sample(8, x, y, c); }});
    CDIB picture;
    LoadBytes(picture, MakeBmp24(2, 2, RGB(1, 2, 3)));
    CAlphaPlane alpha(2, 2);
    for (int successes = 0;; ++successes) {
        faults::FailAllocationAfter(successes);
        try {
            png::Decode(file.data(), file.size(), picture, alpha);
            faults::FailAllocationAfter(-1);
            EXPECT_GT(successes, 3); // the context, zlib's state and window, the rows
            EXPECT_EQ(picture.m_nWidth, 9);
            return;
        } catch (const std::bad_alloc&) {
            faults::FailAllocationAfter(-1);
            EXPECT_EQ(picture.m_nWidth, 2);
            EXPECT_EQ(picture.GetPixel(0, 0), RGB(1, 2, 3));
            EXPECT_EQ(alpha.Width(), 2);
        }
    }
}

} // namespace

} // namespace pelto
