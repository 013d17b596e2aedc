#include "image/PngFile.h"
#include "platform/ArchiveException.h"
#include "support/PngBuilder.h"

#include <gtest/gtest.h>

#include <functional>

namespace pelto {

namespace {

const PngImage kSmall{4, 4, 8, 2, false, [](int x, int y, int c) { return uint16_t(x + y + c); }};
const Bytes kRows = PngScanlines(kSmall);
const Bytes kGood = MakePng(kSmall);
const Bytes kText = PngChunk("tEXt", {'a', 0, 'b'});

Bytes Idat(const Bytes& rows = kRows) {
    return PngChunk("IDAT", Deflate(rows));
}
// The small picture's file with these chunks between IHDR and IEND.
Bytes Between(const std::vector<Bytes>& chunks) {
    return Concat(
        {PngSignature(), PngChunk("IHDR", PngIhdr(kSmall)), Concat(chunks), PngChunk("IEND", {})});
}
// The small picture's rows under another IHDR.
Bytes Claiming(uint32_t width, uint32_t height, uint8_t depth, uint8_t type, uint8_t interlace) {
    Bytes ihdr = PngIhdr({width, height, depth, type, false, {}});
    ihdr[12] = interlace;
    return Concat({PngSignature(), PngChunk("IHDR", ihdr), Idat(), PngChunk("IEND", {})});
}
Bytes Flip(Bytes b, size_t at) {
    b.at(at) ^= 0x40;
    return b;
}
Bytes Cut(Bytes b, size_t size) {
    b.resize(size);
    return b;
}
// An ancillary chunk whose 3-byte head is followed by size bytes compressed.
Bytes Inflating(const char* type, uint64_t size) {
    return PngChunk(type, Concat({{'k', 0, 0}, Deflate(Bytes(size, 'a'))}));
}

// 4x4 indices into kPlte's three entries, but the last pixel's.
PngImage Indices(uint8_t depth, bool interlaced, uint16_t last) {
    auto index = [=](int x, int y, int) { return uint16_t(x == 3 && y == 3 ? last : (x + y) % 3); };
    return {4, 4, depth, 3, interlaced, index};
}
const Bytes kPlte = PngChunk("PLTE", Bytes(9, 50));
// The small picture's size in grey (colour type 0) or grey with alpha (4).
Bytes Grey(uint8_t type, const std::vector<Bytes>& chunks) {
    return MakePng({4, 4, 8, type, false, [](int x, int y, int) { return uint16_t(x * y); }},
                   chunks);
}
// An animation's frame control for frame sequence of the whole picture.
Bytes FrameControl(uint8_t sequence) {
    return PngChunk(
        "fcTL",
        Concat({{0, 0, 0, sequence, 0, 0, 0, 4, 0, 0, 0, 4}, Bytes(8, 0), {0, 1, 0, 1, 0, 0}}));
}
// Frame data that is not the image data's picture.
Bytes FrameData(uint8_t sequence) {
    return PngChunk("fdAT", Concat({{0, 0, 0, sequence}, Deflate(Bytes(kRows.size(), 0))}));
}
const Bytes kActl = PngChunk("acTL", {0, 0, 0, 2, 0, 0, 0, 0});

// Each file is made when its test runs: some inflate to tens of megabytes.
struct PngCase {
    const char* name;
    std::function<Bytes()> make;
    const char* message; // none: the file opens as its image data alone, as kGood
};

const PngCase kPngCases[] = {
    {"Bmp", [] { return MakeBmp24(2, 2, RGB(0, 0, 0)); }, CDIB::kMsgWrongFormat},
    {"SignatureOnly", [] { return PngSignature(); }, png::kMsgDamaged},
    {"IhdrCrc", [] { return Flip(kGood, 32); }, png::kMsgDamaged},
    {"IdatCrc", [] { return Flip(kGood, kGood.size() - 16); }, png::kMsgDamaged},
    {"AncillaryCrc",
     [] {
         return Between({Flip(kText, 10), Idat()});
     },
     png::kMsgDamaged},
    {"CutInIdat", [] { return Cut(kGood, kGood.size() - 20); }, png::kMsgDamaged},
    {"NoIend", [] { return Cut(kGood, kGood.size() - 12); }, png::kMsgDamaged},
    {"TextBeforeIhdr",
     [] {
         return Concat({PngSignature(), kText, Bytes(kGood.begin() + 8, kGood.end())});
     },
     png::kMsgDamaged},
    {"PaletteMissing", [] { return Claiming(4, 4, 8, 3, 0); }, png::kMsgDamaged},
    {"IdatSplitByText",
     [] {
         const Bytes s = Deflate(kRows);
         return Between({PngChunk("IDAT", Bytes(s.begin(), s.begin() + 10)), kText,
                         PngChunk("IDAT", Bytes(s.begin() + 10, s.end()))});
     },
     png::kMsgDamaged},
    {"RowsMissing", [] { return Between({Idat(Cut(kRows, kRows.size() - 13))}); },
     png::kMsgDamaged},
    {"FilterType5", [] { return Between({Idat(Flip(kRows, 0))}); }, png::kMsgDamaged},
    {"DeflateBlockType3",
     [] {
         Bytes s = Deflate(kRows);
         s[2] |= 0x06;
         return Between({PngChunk("IDAT", s)});
     },
     png::kMsgDamaged},
    {"WidthZero", [] { return Claiming(0, 4, 8, 2, 0); }, png::kMsgDamaged},
    // Gigapixels over a few bytes of data: refused before anything is allocated.
    {"IdatTooShortForTheHeader", [] { return Claiming(30000, 30000, 8, 2, 0); }, png::kMsgDamaged},
    {"BitDepth3", [] { return Claiming(4, 4, 3, 2, 0); }, png::kMsgUnsupported},
    {"InterlaceMethod2", [] { return Claiming(4, 4, 8, 2, 2); }, png::kMsgUnsupported},
    {"UnknownCriticalChunk",
     [] {
         return Between({PngChunk("ABCD", {1}), Idat()});
     },
     png::kMsgUnsupported},
    {"PaletteIndexPastTheEnd", [] { return MakePng(Indices(8, false, 3), {kPlte}); },
     png::kMsgDamaged},
    {"PackedPaletteIndexPastTheEndInterlaced", [] { return MakePng(Indices(2, true, 3), {kPlte}); },
     png::kMsgDamaged},
    {"TransparencyBeforePalette",
     [] {
         return MakePng(Indices(8, false, 2), {PngChunk("tRNS", {0}), kPlte});
     },
     png::kMsgDamaged},
    {"TransparencyAfterIdat",
     [] {
         return Between({Idat(), PngChunk("tRNS", {0, 1, 0, 2, 0, 3})});
     },
     png::kMsgDamaged},
    {"PaletteAfterIdat",
     [] {
         return Between({Idat(), kPlte});
     },
     png::kMsgDamaged},
    {"CutInIendCrc", [] { return Cut(kGood, kGood.size() - 2); }, png::kMsgDamaged},
    {"NoCrcAfterIend", [] { return Cut(kGood, kGood.size() - 4); }, png::kMsgDamaged},
    {"GreyTransparencyOfThreeBytes",
     [] {
         return Grey(0, {PngChunk("tRNS", {0, 1, 2})});
     },
     png::kMsgDamaged},
    {"RgbTransparencyOfTwoBytes",
     [] {
         return Between({PngChunk("tRNS", {0, 1}), Idat()});
     },
     png::kMsgDamaged},
    {"PaletteTransparencyPastThePalette",
     [] {
         return MakePng(Indices(8, false, 2), {kPlte, PngChunk("tRNS", {1, 2, 3, 4})});
     },
     png::kMsgDamaged},
    {"TwoTransparencies",
     [] {
         const Bytes trns = PngChunk("tRNS", {0, 1, 0, 2, 0, 3});
         return Between({trns, trns, Idat()});
     },
     png::kMsgDamaged},
    {"TwoPalettes",
     [] {
         return MakePng(Indices(8, false, 2), {kPlte, kPlte});
     },
     png::kMsgDamaged},
    {"PaletteInGrey", [] { return Grey(0, {kPlte}); }, png::kMsgDamaged},
    {"PaletteInGreyWithAlpha", [] { return Grey(4, {kPlte}); }, png::kMsgDamaged},
    {"TypeWithADigit",
     [] {
         return Between({PngChunk("tEX1", {'a', 0, 'b'}), Idat()});
     },
     png::kMsgDamaged},
    {"WiderThanABmp", [] { return Claiming(0x55555543, 1, 8, 2, 0); }, png::kMsgTooLarge},
    {"TallerThanABmp", [] { return Claiming(1, 0x3FFFFFF3, 8, 2, 0); }, png::kMsgTooLarge},
    {"AreaBeyondABmp", [] { return Claiming(70000, 70000, 8, 2, 0); }, png::kMsgTooLarge},
    {"ProfileBomb",
     [] {
         return Between({Inflating("iCCP", 64 << 20), Idat()});
     },
     png::kMsgTooMuchData},
    {"ProfileAndExifPastTheCache",
     [] {
         return Between({Inflating("iCCP", 2100 << 10),
                         PngChunk("eXIf", Concat({{'M', 'M', 0, 42}, Bytes(2100 << 10, 1)})),
                         Idat()});
     },
     png::kMsgTooMuchData},
    {"DataInflatingPastTheImage",
     [] {
         return Between({Idat(Concat({kRows, Bytes(16 << 20, 0)}))});
     },
     png::kMsgTooMuchData},
    {"EndlessIdat",
     [] {
         std::vector<Bytes> chunks(200, PngChunk("IDAT", Bytes(16, 0)));
         chunks.insert(chunks.begin(), Idat());
         return Between(chunks);
     },
     png::kMsgTooMuchData},
    // Chunks a button does not use are skipped, any number of them.
    {"TextBomb",
     [] {
         return Between({Inflating("zTXt", 64 << 20), Idat()});
     },
     nullptr},
    {"ManySmallTexts",
     [] {
         std::vector<Bytes> chunks(2000, PngChunk("tEXt", Concat({{'C', 0}, Bytes(6, 'x')})));
         chunks.push_back(Idat());
         return Between(chunks);
     },
     nullptr},
    {"ManySuggestedPalettes",
     [] {
         std::vector<Bytes> chunks;
         for (int i = 0; i < 1500; ++i)
             chunks.push_back(
                 PngChunk("sPLT", {'p', uint8_t('a' + i % 26), uint8_t('a' + i / 26 % 26),
                                   uint8_t('a' + i / 676), 0, 8, 1, 2, 3, 4, 0, 1}));
         chunks.push_back(Idat());
         return Between(chunks);
     },
     nullptr},
    // An animation opens as its image data, first frame or not.
    {"AnimationFromTheImageData",
     [] {
         return Between({kActl, FrameControl(0), Idat(), FrameControl(1), FrameData(2)});
     },
     nullptr},
    {"AnimationAfterTheImageData",
     [] {
         return Between(
             {kActl, Idat(), FrameControl(0), FrameData(1), FrameControl(2), FrameData(3)});
     },
     nullptr},
    {"TrailingBytesAfterIend",
     [] {
         return Concat({kGood, Bytes(100, 7)});
     },
     nullptr},
    {"ImageDataPastTheLastRow",
     [] {
         return Between({Idat(Concat({kRows, Bytes(200, 9)}))});
     },
     nullptr},
};

class PngRefusal : public ::testing::TestWithParam<PngCase> {};

TEST_P(PngRefusal, ThrowsItsMessageAndLeavesThePictureAsItWasOrOpensTheImageData) {
    const Bytes file = GetParam().make();
    CDIB picture;
    LoadBytes(picture, MakeBmp24(3, 2, RGB(7, 8, 9)));
    CAlphaPlane alpha(3, 2);
    if (!GetParam().message) {
        CDIB expected;
        png::Decode(kGood.data(), kGood.size(), expected, alpha);
        png::Decode(file.data(), file.size(), picture, alpha);
        EXPECT_EQ(BlockBytes(picture), BlockBytes(expected));
        EXPECT_FALSE(alpha.HasBlock());
        return;
    }
    try {
        png::Decode(file.data(), file.size(), picture, alpha);
        ADD_FAILURE() << "accepted";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.GetCause(), CArchiveException::badIndex);
        EXPECT_STREQ(e.what(), GetParam().message);
    }
    EXPECT_EQ(picture.GetPixel(2, 1), RGB(7, 8, 9));
    EXPECT_EQ(alpha.Width(), 3);
}

INSTANTIATE_TEST_SUITE_P(HostileFiles, PngRefusal, ::testing::ValuesIn(kPngCases),
                         [](const auto& c) { return std::string(c.param.name); });

} // namespace

} // namespace pelto
