// A PNG opens as the picture the BMP path works on, its fully transparent
// pixels selected; its button shades every shown pixel as the BMP path does;
// Undo brings colours and opacity back; it saves as the kind it came from.

#include "document/DocumentFile.h"
#include "image/PngFile.h"
#include "support/BmpBuilder.h"
#include "support/SquareDoc.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <thread>
#include <unistd.h>

namespace pelto {

namespace {

struct PngDocCase {
    const char* name;
    bool transparent; // the background is transparent, the disc's rim half so
    BevelOutline outline;
    bool throughPipe;
    uint8_t background = 0; // the background's opacity when transparent
};

class PngDocument : public ::testing::TestWithParam<PngDocCase> {};

std::unique_ptr<CPeltoDoc> Open(const std::string& path, bool throughPipe) {
    if (!throughPipe) return OpenDocument(path).doc;
    int ends[2];
    if (::pipe(ends) != 0) return nullptr;
    std::thread writer([&] {
        WriteFileBytes("/proc/self/fd/" + std::to_string(ends[1]), ReadFileBytes(path));
        ::close(ends[1]);
    });
    auto doc = OpenDocument("/proc/self/fd/" + std::to_string(ends[0])).doc;
    writer.join();
    ::close(ends[0]);
    return doc;
}

TEST_P(PngDocument, ShadesAsTheBmpPathAndGivesBackWhatItTook) {
    const PngDocCase& c = GetParam();
    CPeltoDoc bmp;
    LoadPicture(bmp, LogoBmp(41, 29));
    const COLORREF background = bmp.Picture().GetPixel(0, 0);
    CAlphaPlane alpha(41, 29);
    for (int y = 0; y < 29; ++y)
        for (int x = 0; x < 41; ++x)
            if (bmp.Picture().GetPixel(x, y) == background)
                alpha.SetAlpha(x, y, c.background);
            else if (x % 7 == 0)
                alpha.SetAlpha(x, y, 128); // half transparent is shape
    TempDir dir;
    {
        CFile out(dir.File("in.png"), CFile::Mode::CreateWrite);
        png::Encode(bmp.Picture(), c.transparent ? &alpha : nullptr, out);
    }
    auto doc = Open(dir.File("in.png"), c.throughPipe);
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->Format(), PictureFormat::Png);
    ASSERT_EQ(doc->HasTransparency(), c.transparent);
    // Fully transparent pixels start as the selection; a picture with none waits for a pick.
    const bool selected = c.transparent && c.background == 0;
    EXPECT_EQ(doc->HasSelection(), selected);
    if (!selected) doc->SelectBackground(0, 0, 0);
    bmp.SelectBackground(0, 0, 0); // the background's colour: the transparent pixels
    for (int y = 0; y < 29; ++y)
        for (int x = 0; x < 41; ++x)
            ASSERT_EQ(doc->Selection()->GetValue({x, y}), bmp.Selection()->GetValue({x, y}));
    const Bytes before = BlockBytes(doc->Picture());

    const ButtonParams params{135, 160, 6, BevelShape::Round, c.outline};
    doc->MakeButton(params);
    bmp.MakeButton(params);
    for (int y = 0; y < 29; ++y)
        for (int x = 0; x < 41; ++x) {
            const bool shown = !c.transparent || alpha.GetAlpha(x, y) != 0;
            // The shape's half-transparent edge is laid over an outer rim.
            const bool under = c.outline == BevelOutline::Outer && alpha.GetAlpha(x, y) == 128;
            if (shown && !under) {
                ASSERT_EQ(doc->Picture().GetPixel(x, y), bmp.Picture().GetPixel(x, y))
                    << x << "," << y;
            }
            if (c.transparent && shown && !under) {
                ASSERT_EQ(doc->Opacity()->GetAlpha(x, y), alpha.GetAlpha(x, y)) << x << "," << y;
            }
        }

    ASSERT_EQ(SaveDocument(*doc, dir.File("out.png")), "");
    const auto saved = OpenDocument(dir.File("out.png")).doc;
    ASSERT_TRUE(saved);
    EXPECT_EQ(BlockBytes(saved->Picture()), BlockBytes(doc->Picture()));
    EXPECT_EQ(saved->HasTransparency(), c.transparent);
    // A BMP holds what the window shows: transparent pixels white.
    ASSERT_EQ(SaveDocument(*doc, dir.File("out.bmp"), PictureFormat::Bmp), "");
    if (!c.transparent) {
        EXPECT_EQ(ReadFileBytes(dir.File("out.bmp")), BlockBytes(doc->Picture()));
    }
    const auto bmpSaved = OpenDocument(dir.File("out.bmp")).doc;
    ASSERT_TRUE(bmpSaved);
    for (int y = 0; y < 29; ++y)
        for (int x = 0; x < 41; ++x) {
            const uint8_t a = c.transparent ? doc->Opacity()->GetAlpha(x, y) : 255;
            const COLORREF shown = a == 0 ? RGB(255, 255, 255) : doc->Picture().GetPixel(x, y);
            if (a == 0 || a == 255) {
                ASSERT_EQ(bmpSaved->Picture().GetPixel(x, y), shown) << x << "," << y;
            }
        }

    doc->Undo();
    EXPECT_EQ(BlockBytes(doc->Picture()), before);
    for (int y = 0; c.transparent && y < 29; ++y)
        for (int x = 0; x < 41; ++x)
            ASSERT_EQ(doc->Opacity()->GetAlpha(x, y), alpha.GetAlpha(x, y));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PngDocument,
    ::testing::Values(PngDocCase{"OpaqueInner", false, BevelOutline::Inner, false},
                      PngDocCase{"TransparentInner", true, BevelOutline::Inner, false},
                      PngDocCase{"TransparentOuter", true, BevelOutline::Outer, false},
                      PngDocCase{"TransparentOuterThroughAPipe", true, BevelOutline::Outer, true},
                      PngDocCase{"HalfTransparentOnly", true, BevelOutline::Inner, false, 255}),
    [](const auto& c) { return std::string(c.param.name); });

// Transparent pixels that hold the shape's colour: picks tell them apart by
// their opacity, and a connected pick stops at the gap between them.
TEST(PngDocumentPick, RespectsTransparencyAndConnection) {
    CPeltoDoc picture;
    LoadPicture(picture, MakeBmp24(5, 1, RGB(0, 0, 0)));
    CAlphaPlane alpha(5, 1);
    for (int x : {0, 2})
        alpha.SetAlpha(x, 0, 0);
    TempDir dir;
    {
        CFile out(dir.File("in.png"), CFile::Mode::CreateWrite);
        png::Encode(picture.Picture(), &alpha, out);
    }
    const auto doc = OpenDocument(dir.File("in.png")).doc;
    ASSERT_TRUE(doc);
    const auto selected = [&] {
        std::string marks;
        for (int x = 0; x < 5; ++x)
            marks += doc->Selection()->GetValue({x, 0}) ? '#' : '.';
        return marks;
    };
    doc->ClearSelection();
    doc->SelectBackground({0, 0, 0});
    EXPECT_EQ(selected(), "#.#..");
    doc->ClearSelection();
    doc->SelectBackground({3, 0, 0, true});
    EXPECT_EQ(selected(), "...##");
}

} // namespace

} // namespace pelto
