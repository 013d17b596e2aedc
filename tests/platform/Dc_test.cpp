#include "platform/Dc.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace pelto {

namespace {

// A bottom-up DIB in memory: 40-byte information header, palette, pixels.
struct TestDib {
    std::vector<uint8_t> info;
    std::vector<uint8_t> bits;

    TestDib(int width, int height, uint16_t bitCount) : info(40 + 1024, 0) {
        std::memcpy(&info[4], &width, 4);
        std::memcpy(&info[8], &height, 4);
        info[12] = 1;
        std::memcpy(&info[14], &bitCount, 2);
        const int stride = (width * bitCount + 31) / 32 * 4;
        bits.assign(size_t(stride) * height, 0);
        m_stride = stride;
    }
    uint8_t* At(int x, int storedRow, int bytesPerPixel) {
        return &bits[size_t(storedRow) * m_stride + size_t(x) * bytesPerPixel];
    }
    void SetEntry(int index, uint8_t b, uint8_t g, uint8_t r) {
        info[40 + 4 * index] = b;
        info[40 + 4 * index + 1] = g;
        info[40 + 4 * index + 2] = r;
    }
    int m_stride;
};

TEST(CDC, CopiesA24BitDibBottomUpWithItsChannelsInPlace) {
    TestDib dib(2, 2, 24);
    uint8_t* bottomLeft = dib.At(0, 0, 3);
    bottomLeft[0] = 0x10;      // blue
    bottomLeft[1] = 0x20;      // green
    bottomLeft[2] = 0x30;      // red
    dib.At(1, 1, 3)[2] = 0xFF; // top right: pure red

    CDC dc(2, 2, 0xFF000000u);
    dc.SetDIBitsToDevice(0, 0, 2, 2, dib.bits.data(), dib.info.data());
    EXPECT_EQ(dc.PixelAt(0, 1), 0xFF302010u);
    EXPECT_EQ(dc.PixelAt(1, 0), 0xFFFF0000u);
    EXPECT_EQ(dc.PixelAt(0, 0), 0xFF000000u);
}

TEST(CDC, ViewportOriginShiftsAndClipsTheCopy) {
    TestDib dib(4, 4, 24);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            dib.At(x, y, 3)[0] = uint8_t(16 * (3 - y) + x); // blue = row-from-top*16 + x

    CDC dc(2, 2, 0xFFFFFFFFu);
    dc.SetViewportOrg(CPoint(-1, -2)); // scrolled by (1, 2)
    dc.SetDIBitsToDevice(0, 0, 4, 4, dib.bits.data(), dib.info.data());
    EXPECT_EQ(dc.PixelAt(0, 0) & 0xFF, 16u * 2 + 1);
    EXPECT_EQ(dc.PixelAt(1, 1) & 0xFF, 16u * 3 + 2);

    CDC shifted(3, 3, 0xFFFFFFFFu);
    shifted.SetViewportOrg(CPoint(2, 2));
    shifted.SetDIBitsToDevice(0, 0, 4, 4, dib.bits.data(), dib.info.data());
    EXPECT_EQ(shifted.PixelAt(1, 1), 0xFFFFFFFFu);
    EXPECT_EQ(shifted.PixelAt(2, 2) & 0xFF, 0u);
}

struct RopCase {
    DWORD rop;
    uint32_t destination;
    uint32_t expected;
};

class CDCRasterOps : public ::testing::TestWithParam<RopCase> {};

TEST_P(CDCRasterOps, CombinesPaletteColourWithDestination) {
    TestDib dib(1, 1, 8);
    dib.bits[0] = 2;
    dib.SetEntry(2, 0x0F, 0xF0, 0x80); // blue 0x0F, green 0xF0, red 0x80
    CDC dc(1, 1, GetParam().destination);
    dc.StretchDIBits(0, 0, 1, 1, dib.bits.data(), dib.info.data(), GetParam().rop);
    EXPECT_EQ(dc.PixelAt(0, 0), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(All, CDCRasterOps,
                         ::testing::Values(RopCase{SRCCOPY, 0xFF123456u, 0xFF80F00Fu},
                                           RopCase{SRCPAINT, 0xFF0F0F0Fu, 0xFF8FFF0Fu},
                                           RopCase{SRCAND, 0xFFFFFFFFu, 0xFF80F00Fu},
                                           RopCase{SRCAND, 0xFF7F0F01u, 0xFF000001u}));

TEST(CDC, PalettedRowsArePaddedToFourBytes) {
    TestDib dib(3, 2, 8); // stride 4
    dib.SetEntry(1, 0, 0, 255);
    dib.At(2, 1, 1)[0] = 1; // top row, last column
    CDC dc(3, 2, 0xFF000000u);
    dc.StretchDIBits(0, 0, 3, 2, dib.bits.data(), dib.info.data(), SRCCOPY);
    EXPECT_EQ(dc.PixelAt(2, 0), 0xFFFF0000u);
    EXPECT_EQ(dc.PixelAt(2, 1), 0xFF000000u);
}

} // namespace

} // namespace pelto
