#include "image/Block.h"
#include "image/Dib.h"
#include "platform/Archive.h"
#include "platform/ArchiveException.h"
#include "platform/Dc.h"
#include "support/BmpBuilder.h"
#include "support/FaultControl.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <limits>

namespace pelto {

namespace {

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
    const struct {
        int width;
        uint64_t stride;
    } cases[] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}, {7, 24}};
    for (const auto& c : cases)
        EXPECT_EQ(CDIB::Stride24(c.width), c.stride) << c.width;
}

class CDIBRoundTrip : public ::testing::TestWithParam<std::tuple<int, BmpOptions>> {};

TEST_P(CDIBRoundTrip, StoresExactlyTheBytesItLoaded) {
    const auto [width, options] = GetParam();
    const Bytes file = MakeBmp24(width, 3, PatternColour, options);
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
        for (int x = 0; x < width; ++x)
            EXPECT_EQ(ShownPixel(dib, x, y), PatternColour(x, y));
    {
        CFile out(dir.File("out.bmp"), CFile::Mode::CreateWrite);
        CArchive ar(out, CArchive::store);
        dib.Serialize(ar);
    }
    EXPECT_EQ(ReadFileBytes(dir.File("out.bmp")), file);
}

INSTANTIATE_TEST_SUITE_P(WidthsAndExtras, CDIBRoundTrip,
                         ::testing::Combine(::testing::Values(1, 2, 3, 4, 5),
                                            ::testing::Values(BmpOptions{0, 0}, BmpOptions{1024, 0},
                                                              BmpOptions{7, 0}, BmpOptions{0, 9},
                                                              BmpOptions{12, 3})));

TEST(CDIB, BuildPictureMakesABlackPictureThatLoadsAsABmp) {
    CDIB dib;
    const uint8_t* pixels = dib.BuildPicture(5, 3);
    EXPECT_EQ(pixels, dib.Row(0));
    EXPECT_EQ(dib.m_nFileSize, 54u + 16 * 3);
    EXPECT_EQ(dib.GetPixel(4, 2), 0u);
    CDIB loaded;
    loaded.LoadFromBytes(dib.m_pFileImage.get(), dib.m_nFileSize);
    EXPECT_EQ(loaded.m_nWidth, 5);
    EXPECT_EQ(loaded.m_nHeight, 3);
    EXPECT_EQ(dib.BuildPicture(0, 3), nullptr);
    EXPECT_EQ(dib.m_nWidth, 5);
}

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
    const Bytes file = MakeBmp24(3, 2, PatternColour, {40, 0});
    CDIB dib;
    LoadBytes(dib, file);
    EXPECT_EQ(ShownPixel(dib, 2, 0), PatternColour(2, 0));
    EXPECT_EQ(ShownPixel(dib, 0, 1), PatternColour(0, 1));
}

TEST(CDIB, CopyIsIndependentAndCopyOfEmptyLeavesNoBlock) {
    CDIB source;
    LoadBytes(source, MakeBmp24(3, 3, PatternColour));
    CDIB copy;
    copy.Copy(source);
    EXPECT_EQ(copy.m_nFileSize, source.m_nFileSize);
    copy.SetPixel(1, 1, RGB(9, 9, 9));
    EXPECT_EQ(source.GetPixel(1, 1), PatternColour(1, 1));

    CDIB empty;
    copy.Copy(empty);
    EXPECT_FALSE(copy.HasBlock());
    EXPECT_EQ(copy.m_nFileSize, 0u);
    EXPECT_EQ(copy.m_nWidth, 1);
}

TEST(CDIB, DrawPaintsThePictureOneToOneAtTheLogicalOrigin) {
    CDIB dib;
    LoadBytes(dib, MakeBmp24(3, 2, PatternColour));
    CDC dc(4, 3, 0xFF000000u);
    dc.SetViewportOrg(CPoint(1, 1));
    dib.Draw(&dc);
    EXPECT_EQ(dc.PixelAt(0, 0), 0xFF000000u);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            const COLORREF c = PatternColour(x, y);
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

Bytes Valid() {
    return MakeBmp24(5, 4, PatternColour, {0, 0});
}
Bytes With(std::function<void(Bytes&)> change) {
    Bytes b = Valid();
    change(b);
    return b;
}
// The valid file with some header fields overwritten: {offset, value} pairs, 16 bits at
// biBitCount (28), 32 bits elsewhere.
std::function<Bytes()> Set(std::vector<std::pair<size_t, uint32_t>> fields) {
    return [fields] {
        return With([&](Bytes& b) {
            for (const auto& [offset, value] : fields) {
                if (offset == 28)
                    PutU16(b, offset, uint16_t(value));
                else
                    PutU32(b, offset, value);
            }
        });
    };
}
std::function<Bytes()> Cut(size_t size) {
    return [size] {
        Bytes b = Valid();
        b.resize(size);
        return b;
    };
}
constexpr size_t kOffBits = 10, kWidth = 18, kHeight = 22, kBitCount = 28, kCompression = 30;

const Refusal kRefusals[] = {
    {"Empty", Cut(0), CDIB::kMsgWrongFormat},
    {"OneByte", Cut(1), CDIB::kMsgWrongFormat},
    {"SignatureOnly", Cut(2), CDIB::kMsgWrongFormat},
    {"HeadersCutShort", Cut(40), CDIB::kMsgWrongFormat},
    {"HeadersOneByteShort", Cut(53), CDIB::kMsgWrongFormat},
    {"PixelArrayOneByteShort", Cut(54 + 4 * 16 - 1), CDIB::kMsgWrongFormat},
    {"WrongSignature", [] { return With([](Bytes& b) { b[1] = 'A'; }); }, CDIB::kMsgWrongFormat},
    {"WrongSignatureAndBitCount",
     [] {
         return With([](Bytes& b) {
             b[0] = 'X';
             PutU16(b, kBitCount, 8);
         });
     },
     CDIB::kMsgWrongFormat},
    {"ZeroBitCount", Set({{kBitCount, 0}}), CDIB::kMsgNotFullColour},
    {"OneBit", Set({{kBitCount, 1}}), CDIB::kMsgNotFullColour},
    {"FourBit", Set({{kBitCount, 4}}), CDIB::kMsgNotFullColour},
    {"EightBit", Set({{kBitCount, 8}}), CDIB::kMsgNotFullColour},
    {"SixteenBit", Set({{kBitCount, 16}}), CDIB::kMsgNotFullColour},
    {"ThirtyTwoBit", Set({{kBitCount, 32}}), CDIB::kMsgNotFullColour},
    {"BitCount0xFFFF", Set({{kBitCount, 0xFFFF}}), CDIB::kMsgNotFullColour},
    {"BitCountBeforeCompression", Set({{kBitCount, 32}, {kCompression, 3}}),
     CDIB::kMsgNotFullColour},
    {"Rle8", Set({{kCompression, 1}}), CDIB::kMsgUnsupported},
    {"Rle4", Set({{kCompression, 2}}), CDIB::kMsgUnsupported},
    {"Bitfields", Set({{kCompression, 3}}), CDIB::kMsgUnsupported},
    {"Jpeg", Set({{kCompression, 4}}), CDIB::kMsgUnsupported},
    {"Png", Set({{kCompression, 5}}), CDIB::kMsgUnsupported},
    {"AlphaBitfields", Set({{kCompression, 6}}), CDIB::kMsgUnsupported},
    {"Cmyk", Set({{kCompression, 11}}), CDIB::kMsgUnsupported},
    {"CmykRle8", Set({{kCompression, 12}}), CDIB::kMsgUnsupported},
    {"CmykRle4", Set({{kCompression, 13}}), CDIB::kMsgUnsupported},
    {"Compression0xFFFFFFFF", Set({{kCompression, 0xFFFFFFFFu}}), CDIB::kMsgUnsupported},
    {"CompressedAndZeroWidth", Set({{kCompression, 1}, {kWidth, 0}}), CDIB::kMsgUnsupported},
    {"WidthZero", Set({{kWidth, 0}}), CDIB::kMsgUnsupported},
    {"WidthNegative", Set({{kWidth, uint32_t(-5)}}), CDIB::kMsgUnsupported},
    {"HeightZero", Set({{kHeight, 0}}), CDIB::kMsgUnsupported},
    {"TopDown", Set({{kHeight, uint32_t(-4)}}), CDIB::kMsgUnsupported},
    {"HeightMostNegative", Set({{kWidth, 0}, {kHeight, 0x80000000u}}), CDIB::kMsgUnsupported},
    {"Overflows32Bits", Set({{kWidth, 70000}, {kHeight, 70000}}), CDIB::kMsgUnsupported},
    // 6 GB rows times 2^31 rows: past even a signed 64-bit product.
    {"Overflows64Bits", Set({{kWidth, 0x7FFFFFFF}, {kHeight, 0x7FFFFFFF}}), CDIB::kMsgUnsupported},
    // One row whose stride alone is 4 GB; and the widest row that still fits 32 bits.
    {"StrideOverflows32Bits", Set({{kWidth, 0x55555555}, {kHeight, 1}}), CDIB::kMsgUnsupported},
    {"WidestRowInASmallFile", Set({{kWidth, 0x55555554}, {kHeight, 1}}), CDIB::kMsgWrongFormat},
    // Width 1 pads each row to 4 bytes: 2^30 rows make exactly 4 GB, one row fewer still fits.
    {"ExactlyFourGigabytes", Set({{kWidth, 1}, {kHeight, 0x40000000}}), CDIB::kMsgUnsupported},
    {"JustUnderFourGigabytes", Set({{kWidth, 1}, {kHeight, 0x3FFFFFFF}}), CDIB::kMsgWrongFormat},
    {"DeclaredGigabytes", Set({{kWidth, 30000}, {kHeight, 30000}}), CDIB::kMsgWrongFormat},
    {"OffBitsPastEnd", Set({{kOffBits, 0xFFFFFFF0u}}), CDIB::kMsgWrongFormat},
    {"OffBitsInsideHeaders", Set({{kOffBits, 20}}), CDIB::kMsgWrongFormat},
    {"OffBitsOneInsideHeaders", Set({{kOffBits, 53}}), CDIB::kMsgWrongFormat},
    {"OffBitsAndPixelsPast4GB", Set({{kOffBits, 0xFFFFFFFFu}, {kWidth, 0x40000000}, {kHeight, 1}}),
     CDIB::kMsgWrongFormat},
};

class CDIBRefusal : public ::testing::TestWithParam<Refusal> {
protected:
    void TearDown() override { faults::FailAllocationAfter(-1); }

    // A refused file must not cost a single block: the headers decide before anything is allocated.
    void ExpectRefused(const std::function<void(CDIB&)>& load) {
        CDIB dib;
        faults::FailAllocationAfter(0);
        try {
            load(dib);
            ADD_FAILURE() << "accepted";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.GetCause(), CArchiveException::badIndex);
            EXPECT_STREQ(e.what(), GetParam().message);
        }
        faults::FailAllocationAfter(-1);
        EXPECT_FALSE(dib.HasBlock());
        EXPECT_EQ(dib.m_nWidth, 1);
    }
};

TEST_P(CDIBRefusal, RefusesFromMemoryWithItsMessageAllocatingNothing) {
    const Bytes file = GetParam().make();
    ExpectRefused([&](CDIB& dib) { LoadBytes(dib, file); });
}

TEST_P(CDIBRefusal, RefusesFromAFileWithItsMessageAllocatingNothing) {
    TempDir dir;
    WriteFileBytes(dir.File("hostile.bmp"), GetParam().make());
    CFile in(dir.File("hostile.bmp"), CFile::Mode::Read);
    CArchive ar(in, CArchive::load);
    ExpectRefused([&](CDIB& dib) { dib.Serialize(ar); });
}

INSTANTIATE_TEST_SUITE_P(HostileFiles, CDIBRefusal, ::testing::ValuesIn(kRefusals),
                         [](const auto& c) { return std::string(c.param.name); });

TEST(CDIB, AcceptsUncheckedHeaderFieldsAsTheyAre) {
    const Bytes file = With([](Bytes& b) {
        PutU32(b, 2, 1);      // bfSize
        PutU32(b, 14, 124);   // biSize of a newer header
        PutU16(b, 26, 7);     // biPlanes
        PutU32(b, 34, 99999); // biSizeImage
        PutU32(b, 46, 3);     // biClrUsed
    });
    CDIB dib;
    LoadBytes(dib, file);
    EXPECT_EQ(dib.m_nWidth, 5);
    EXPECT_EQ(ShownPixel(dib, 4, 3), PatternColour(4, 3));
}

TEST(CDIB, AcceptsAPixelArrayEndingExactlyAtTheEndOfTheFile) {
    Bytes file = MakeBmp24(5, 4, PatternColour);
    CDIB dib;
    EXPECT_NO_THROW(LoadBytes(dib, file));
}

TEST(CDIB, LoadingAFileAllocatesOneBlockOfItsLength) {
    TempDir dir;
    const Bytes file = MakeBmp24(9, 7, PatternColour, {1024, 5});
    WriteFileBytes(dir.File("a.bmp"), file);
    faults::LimitBlockSize(file.size());
    faults::FailAllocationAfter(1);
    CDIB dib;
    CFile in(dir.File("a.bmp"), CFile::Mode::Read);
    CArchive ar(in, CArchive::load);
    EXPECT_NO_THROW(dib.Serialize(ar));
    faults::FailAllocationAfter(-1);
    faults::LimitBlockSize(0);
    EXPECT_EQ(dib.m_nFileSize, file.size());
    EXPECT_EQ(ShownPixel(dib, 8, 6), PatternColour(8, 6));
}

TEST(CDIB, NoMemoryForTheBlockThrowsAndLeavesTheImageEmpty) {
    TempDir dir;
    WriteFileBytes(dir.File("a.bmp"), MakeBmp24(4, 4, PatternColour));
    CDIB dib;
    CFile in(dir.File("a.bmp"), CFile::Mode::Read);
    CArchive ar(in, CArchive::load);
    faults::FailAllocationAfter(0);
    EXPECT_THROW(dib.Serialize(ar), std::bad_alloc);
    faults::FailAllocationAfter(-1);
    EXPECT_FALSE(dib.HasBlock());
}

} // namespace

} // namespace pelto
