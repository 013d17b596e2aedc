#include "image/PngFile.h"
#include "platform/ArchiveException.h"
#include "support/PngBuilder.h"

#include <gtest/gtest.h>

#include <functional>

namespace pelto {

namespace {

PngSpec Spec(uint32_t width = 4, uint32_t height = 4, uint8_t type = 2, uint8_t depth = 8) {
    return {width, height, depth,
            type,  false,  [](int x, int y, int c) { return uint16_t(x + y + c); }};
}
Bytes Ihdr(const PngSpec& spec) {
    return PngChunk("IHDR", PngIhdr(spec));
}
Bytes Idat(const Bytes& rows) {
    return PngChunk("IDAT", Deflate(rows));
}
const Bytes kIend = PngChunk("IEND", {});
// A file of the given chunks after the signature.
Bytes File(const std::vector<Bytes>& chunks) {
    return Concat({PngSignature(), Concat(chunks)});
}
Bytes Good() {
    return MakePng(Spec());
}
Bytes Flip(Bytes b, size_t offset) {
    b.at(offset) ^= 0x40;
    return b;
}
Bytes Cut(Bytes b, size_t size) {
    b.resize(size);
    return b;
}
Bytes WithIhdr(uint32_t width, uint32_t height, uint8_t depth, uint8_t type, uint8_t interlace) {
    PngSpec spec = Spec(width, height, type, depth);
    Bytes ihdr = PngIhdr(spec);
    ihdr[12] = interlace;
    return File({PngChunk("IHDR", ihdr), Idat(PngScanlines(Spec())), kIend});
}
// A compressed text chunk inflating to size bytes.
Bytes ZText(uint64_t size) {
    return PngChunk("zTXt", Concat({{'C', 0, 0}, Deflate(Bytes(size, ' '))}));
}

// Each file is made when its test runs: some inflate to tens of megabytes.
struct Refusal {
    const char* name;
    std::function<Bytes()> make;
    const char* message;
};

Bytes Rows() {
    return PngScanlines(Spec());
}
Bytes Stream() {
    return Deflate(Rows());
}
// A file whose chunks between IHDR and IEND are the given ones.
Bytes Between(const std::vector<Bytes>& chunks) {
    return File({Ihdr(Spec()), Concat(chunks), kIend});
}
const Bytes kText = PngChunk("tEXt", {'a', 0, 'b'});

const Refusal kRefusals[] = {
    {"Empty", [] { return Bytes(); }, CDIB::kMsgWrongFormat},
    {"Bmp", [] { return MakeBmp24(2, 2, RGB(0, 0, 0)); }, CDIB::kMsgWrongFormat},
    {"SignatureOnly", [] { return PngSignature(); }, png::kMsgDamaged},
    {"IhdrCutShort", [] { return Cut(Good(), 30); }, png::kMsgDamaged},
    {"IhdrCrc", [] { return Flip(Good(), 32); }, png::kMsgDamaged},
    {"IdatCrc", [] { return Flip(Good(), Good().size() - 12 - 4); }, png::kMsgDamaged},
    {"AncillaryCrc",
     [] {
         return Between({Flip(kText, 10), Idat(Rows())});
     },
     png::kMsgDamaged},
    {"CutInIdat", [] { return Cut(Good(), Good().size() - 20); }, png::kMsgDamaged},
    {"NoIend", [] { return Cut(Good(), Good().size() - 12); }, png::kMsgDamaged},
    {"TextBeforeIhdr",
     [] {
         return File({kText, Ihdr(Spec()), Idat(Rows()), kIend});
     },
     png::kMsgDamaged},
    {"PaletteMissing", [] { return MakePng(Spec(4, 4, 3)); }, png::kMsgDamaged},
    {"IdatSplitByText",
     [] {
         const Bytes s = Stream();
         return Between({PngChunk("IDAT", Bytes(s.begin(), s.begin() + 10)), kText,
                         PngChunk("IDAT", Bytes(s.begin() + 10, s.end()))});
     },
     png::kMsgDamaged},
    {"RowsMissing", [] { return Between({Idat(Cut(Rows(), Rows().size() - 13))}); },
     png::kMsgDamaged},
    {"FilterType5", [] { return Between({Idat(Flip(Rows(), 0))}); }, png::kMsgDamaged},
    {"DeflateBroken",
     [] {
         Bytes s = Stream();
         s[2] |= 0x06; // block type 3, which deflate reserves
         return Between({PngChunk("IDAT", s)});
     },
     png::kMsgDamaged},
    {"WidthZero", [] { return WithIhdr(0, 4, 8, 2, 0); }, png::kMsgDamaged},
    // A header of gigapixels over a few bytes of data: refused before anything is allocated.
    {"IdatTooShortForTheHeader", [] { return WithIhdr(30000, 30000, 8, 2, 0); }, png::kMsgDamaged},
    {"BitDepth3", [] { return WithIhdr(4, 4, 3, 2, 0); }, png::kMsgUnsupported},
    {"ColourType5", [] { return WithIhdr(4, 4, 8, 5, 0); }, png::kMsgUnsupported},
    {"InterlaceMethod2", [] { return WithIhdr(4, 4, 8, 2, 2); }, png::kMsgUnsupported},
    {"UnknownCriticalChunk",
     [] {
         return Between({PngChunk("ABCD", {1}), Idat(Rows())});
     },
     png::kMsgUnsupported},
    {"WiderThanABmp", [] { return WithIhdr(0x55555543, 1, 8, 2, 0); }, png::kMsgTooLarge},
    {"TallerThanABmp", [] { return WithIhdr(1, 0x3FFFFFF3, 8, 2, 0); }, png::kMsgTooLarge},
    {"AreaBeyondABmp", [] { return WithIhdr(70000, 70000, 8, 2, 0); }, png::kMsgTooLarge},
    {"TextBomb",
     [] {
         return Between({ZText(64 << 20), Idat(Rows())});
     },
     png::kMsgTooMuchData},
    {"TextsPastTheCache",
     [] {
         return Between({ZText(1500 << 10), ZText(1500 << 10), ZText(1500 << 10), Idat(Rows())});
     },
     png::kMsgTooMuchData},
    {"ProfileBomb",
     [] {
         return Between(
             {PngChunk("iCCP", Concat({{'p', 0, 0}, Deflate(Bytes(64 << 20, 0))})), Idat(Rows())});
     },
     png::kMsgTooMuchData},
    {"DataInflatingPastTheImage",
     [] {
         return Between({Idat(Concat({Rows(), Bytes(16 << 20, 0)}))});
     },
     png::kMsgTooMuchData},
    {"EndlessIdat",
     [] {
         std::vector<Bytes> chunks = {Idat(Rows())};
         chunks.insert(chunks.end(), 200, PngChunk("IDAT", Bytes(16, 0)));
         return Between(chunks);
     },
     png::kMsgTooMuchData},
};

class PngRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(PngRefusal, ThrowsItsMessageAndLeavesThePictureAsItWas) {
    const Bytes file = GetParam().make();
    CDIB picture;
    LoadBytes(picture, MakeBmp24(3, 2, RGB(7, 8, 9)));
    CAlphaPlane alpha(3, 2);
    try {
        png::Decode(file.data(), file.size(), picture, alpha);
        ADD_FAILURE() << "accepted";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.GetCause(), CArchiveException::badIndex);
        EXPECT_STREQ(e.what(), GetParam().message);
    }
    EXPECT_EQ(picture.m_nWidth, 3);
    EXPECT_EQ(picture.GetPixel(2, 1), RGB(7, 8, 9));
    EXPECT_EQ(alpha.Width(), 3);
}

INSTANTIATE_TEST_SUITE_P(HostileFiles, PngRefusal, ::testing::ValuesIn(kRefusals),
                         [](const auto& c) { return std::string(c.param.name); });

} // namespace

} // namespace pelto
