#include "image/Dib.h"
#include "platform/Archive.h"
#include "platform/ArchiveException.h"
#include "platform/Dc.h"
#include "support/BmpBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

COLORREF Pattern(int x, int y) { return RGB(x * 40 + 1, y * 30 + 2, (x + y) * 11 + 3); }

TEST(CDIB, NewImageIsEmptyOneByOneAndDrawsNothing) {
    CDIB dib;
    EXPECT_FALSE(dib.HasBlock());
    EXPECT_EQ(dib.m_nFileSize, 0u);
    EXPECT_EQ(dib.m_nWidth, 1);
    EXPECT_EQ(dib.m_nHeight, 1);
    EXPECT_EQ(dib.GetPixel(0, 0), 0u);
    dib.SetPixel(0, 0, RGB(1, 2, 3)); // nothing to write into
    CDC dc(2, 2, 0xFF010203u);
    dib.Draw(&dc);
    EXPECT_EQ(dc.PixelAt(0, 0), 0xFF010203u);
}

TEST(CDIB, Stride24RoundsRowsUpToFourBytes) {
    const struct { int width; uint64_t stride; } cases[] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}, {7, 24}};
    for (const auto& c : cases) EXPECT_EQ(CDIB::Stride24(c.width), c.stride) << c.width;
}

class CDIBRoundTrip : public ::testing::TestWithParam<std::tuple<int, BmpOptions>> {};

TEST_P(CDIBRoundTrip, StoresExactlyTheBytesItLoaded) {
    const auto [width, options] = GetParam();
    const Bytes file = MakeBmp24(width, 3, Pattern, options);
    TempDir dir;
    WriteFileBytes(dir.File("in.bmp"), file);

    CDIB dib;
    {
        CFile in(dir.File("in.bmp"), CFile::Mode::Read);
        CArchive ar(in, CArchive::load);
        dib.Serialize(ar);
    }
    EXPECT_EQ(dib.m_nWidth, width);
    EXPECT_EQ(dib.m_nHeight, 3);
    EXPECT_EQ(dib.m_nFileSize, file.size());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < width; ++x) EXPECT_EQ(ShownPixel(dib, x, y), Pattern(x, y));
    {
        CFile out(dir.File("out.bmp"), CFile::Mode::CreateWrite);
        CArchive ar(out, CArchive::store);
        dib.Serialize(ar);
    }
    EXPECT_EQ(ReadFileBytes(dir.File("out.bmp")), file);
}

INSTANTIATE_TEST_SUITE_P(
    WidthsAndExtras, CDIBRoundTrip,
    ::testing::Combine(::testing::Values(1, 2, 3, 4, 5),
                       ::testing::Values(BmpOptions{0, 0}, BmpOptions{1024, 0}, BmpOptions{7, 0},
                                         BmpOptions{0, 9}, BmpOptions{12, 3})));

TEST(CDIB, PixelBytesAreBlueGreenRedAndRowZeroIsTheBottom) {
    Bytes file = MakeBmp24(2, 2, RGB(0, 0, 0));
    file[54] = 0x10; // stored row 0, column 0: blue, green, red
    file[55] = 0x20;
    file[56] = 0x30;
    CDIB dib;
    LoadBytes(dib, file);
    EXPECT_EQ(dib.GetPixel(0, 0), 0x00102030u);
    EXPECT_EQ(ShownPixel(dib, 0, 1), 0x00102030u); // bottom-left as shown

    dib.SetPixel(1, 1, 0xFF102030u); // top byte ignored
    const uint8_t* p = dib.m_pFileImage.get() + 54 + 8 + 3;
    EXPECT_EQ(p[0], 0x10);
    EXPECT_EQ(p[1], 0x20);
    EXPECT_EQ(p[2], 0x30);
    EXPECT_EQ(dib.GetPixel(1, 1), 0x00102030u);
}

TEST(CDIB, PixelsAreReadAtBfOffBits) {
    const Bytes file = MakeBmp24(3, 2, Pattern, {40, 0});
    CDIB dib;
    LoadBytes(dib, file);
    EXPECT_EQ(ShownPixel(dib, 2, 0), Pattern(2, 0));
    EXPECT_EQ(ShownPixel(dib, 0, 1), Pattern(0, 1));
}

TEST(CDIB, CopyIsIndependentAndCopyOfEmptyLeavesNoBlock) {
    CDIB source;
    LoadBytes(source, MakeBmp24(3, 3, Pattern));
    CDIB copy;
    copy.Copy(source);
    EXPECT_EQ(copy.m_nFileSize, source.m_nFileSize);
    copy.SetPixel(1, 1, RGB(9, 9, 9));
    EXPECT_EQ(source.GetPixel(1, 1), Pattern(1, 1));

    CDIB empty;
    copy.Copy(empty);
    EXPECT_FALSE(copy.HasBlock());
    EXPECT_EQ(copy.m_nFileSize, 0u);
    EXPECT_EQ(copy.m_nWidth, 1);
}

TEST(CDIB, DrawPaintsThePictureOneToOneAtTheLogicalOrigin) {
    CDIB dib;
    LoadBytes(dib, MakeBmp24(3, 2, Pattern));
    CDC dc(4, 3, 0xFF000000u);
    dc.SetViewportOrg(CPoint(1, 1));
    dib.Draw(&dc);
    EXPECT_EQ(dc.PixelAt(0, 0), 0xFF000000u);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            const COLORREF c = Pattern(x, y);
            EXPECT_EQ(dc.PixelAt(x + 1, y + 1),
                      0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
        }
    dib.Draw(nullptr); // no device: nothing happens
}

// Hand-made broken files and the message each one gets.
struct Refusal {
    const char* name;
    std::function<Bytes()> make;
    const char* message;
};

Bytes Valid() { return MakeBmp24(5, 4, Pattern, {0, 0}); }
Bytes With(std::function<void(Bytes&)> change) {
    Bytes b = Valid();
    change(b);
    return b;
}

const Refusal kRefusals[] = {
    {"Empty", [] { return Bytes{}; }, CDIB::kMsgWrongFormat},
    {"OneByte", [] { return Bytes{'B'}; }, CDIB::kMsgWrongFormat},
    {"SignatureOnly", [] { return Bytes{'B', 'M'}; }, CDIB::kMsgWrongFormat},
    {"HeadersCutShort", [] { Bytes b = Valid(); b.resize(40); return b; }, CDIB::kMsgWrongFormat},
    {"WrongSignature", [] { return With([](Bytes& b) { b[1] = 'A'; }); }, CDIB::kMsgWrongFormat},
    {"WrongSignatureAndBitCount", [] { return With([](Bytes& b) { b[0] = 'X'; PutU16(b, 28, 8); }); },
     CDIB::kMsgWrongFormat},
    {"EightBit", [] { return With([](Bytes& b) { PutU16(b, 28, 8); }); }, CDIB::kMsgNotFullColour},
    {"SixteenBit", [] { return With([](Bytes& b) { PutU16(b, 28, 16); }); }, CDIB::kMsgNotFullColour},
    {"ThirtyTwoBit", [] { return With([](Bytes& b) { PutU16(b, 28, 32); }); }, CDIB::kMsgNotFullColour},
    {"BitCountBeforeCompression",
     [] { return With([](Bytes& b) { PutU16(b, 28, 32); PutU32(b, 30, 3); }); }, CDIB::kMsgNotFullColour},
    {"Rle8", [] { return With([](Bytes& b) { PutU32(b, 30, 1); }); }, CDIB::kMsgUnsupported},
    {"Rle4", [] { return With([](Bytes& b) { PutU32(b, 30, 2); }); }, CDIB::kMsgUnsupported},
    {"Bitfields", [] { return With([](Bytes& b) { PutU32(b, 30, 3); }); }, CDIB::kMsgUnsupported},
    {"WidthZero", [] { return With([](Bytes& b) { PutU32(b, 18, 0); }); }, CDIB::kMsgUnsupported},
    {"WidthNegative", [] { return With([](Bytes& b) { PutU32(b, 18, uint32_t(-5)); }); }, CDIB::kMsgUnsupported},
    {"HeightZero", [] { return With([](Bytes& b) { PutU32(b, 22, 0); }); }, CDIB::kMsgUnsupported},
    {"TopDown", [] { return With([](Bytes& b) { PutU32(b, 22, uint32_t(-4)); }); }, CDIB::kMsgUnsupported},
    {"Overflows32Bits", [] { return With([](Bytes& b) { PutU32(b, 18, 70000); PutU32(b, 22, 70000); }); },
     CDIB::kMsgUnsupported},
    {"Overflows64Bits",
     [] { return With([](Bytes& b) { PutU32(b, 18, 0x7FFFFFFF); PutU32(b, 22, 0x7FFFFFFF); }); },
     CDIB::kMsgUnsupported},
    {"DeclaredGigabytes", [] { return With([](Bytes& b) { PutU32(b, 18, 30000); PutU32(b, 22, 30000); }); },
     CDIB::kMsgWrongFormat},
    {"OffBitsPastEnd", [] { return With([](Bytes& b) { PutU32(b, 10, 0xFFFFFFF0u); }); }, CDIB::kMsgWrongFormat},
    {"OffBitsInsideHeaders", [] { return With([](Bytes& b) { PutU32(b, 10, 20); }); }, CDIB::kMsgWrongFormat},
    {"PixelArrayOneByteShort", [] { Bytes b = Valid(); b.pop_back(); return b; }, CDIB::kMsgWrongFormat},
};

class CDIBRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(CDIBRefusal, RefusesWithItsMessageAndStaysEmpty) {
    const Bytes file = GetParam().make();
    CDIB dib;
    try {
        LoadBytes(dib, file);
        FAIL() << "accepted";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.GetCause(), CArchiveException::badIndex);
        EXPECT_STREQ(e.what(), GetParam().message);
    }
    EXPECT_FALSE(dib.HasBlock());
}

INSTANTIATE_TEST_SUITE_P(HostileFiles, CDIBRefusal, ::testing::ValuesIn(kRefusals),
                         [](const auto& c) { return std::string(c.param.name); });

TEST(CDIB, AcceptsUncheckedHeaderFieldsAsTheyAre) {
    const Bytes file = With([](Bytes& b) {
        PutU32(b, 2, 1);       // bfSize
        PutU32(b, 14, 124);    // biSize of a newer header
        PutU16(b, 26, 7);      // biPlanes
        PutU32(b, 34, 99999);  // biSizeImage
        PutU32(b, 46, 3);      // biClrUsed
    });
    CDIB dib;
    LoadBytes(dib, file);
    EXPECT_EQ(dib.m_nWidth, 5);
    EXPECT_EQ(ShownPixel(dib, 4, 3), Pattern(4, 3));
}

TEST(CDIB, AcceptsAPixelArrayEndingExactlyAtTheEndOfTheFile) {
    Bytes file = MakeBmp24(5, 4, Pattern);
    CDIB dib;
    EXPECT_NO_THROW(LoadBytes(dib, file));
}

} // namespace
