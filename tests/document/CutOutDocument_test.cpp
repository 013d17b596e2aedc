// A document's cut-out: one step of the history, which brings back the
// picture, its opacity and its selection; the transparent area is then the
// selection, so an outer band grows its rim with no see-through pixel.

#include "document/PeltoDoc.h"
#include "support/BmpBuilder.h"
#include "support/PngBuilder.h"
#include "support/SquareDoc.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pelto {

namespace {

constexpr int kSize = 64;

// A disk of radius 20 in orange on white, its edge anti-aliased: inside(x, y) its share.
double Inside(int x, int y) {
    int in = 0;
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i)
            in += std::hypot(x + (i + 0.5) / 4 - 32, y + (j + 0.5) / 4 - 32) < 20;
    return in / 16.0;
}

Bytes DiskOnWhite() {
    return MakeBmp24(kSize, kSize, [](int x, int y) {
        const double a = Inside(x, y);
        return RGB(int(std::lround(220 * a + 255 * (1 - a))),
                   int(std::lround(110 * a + 255 * (1 - a))),
                   int(std::lround(30 * a + 255 * (1 - a))));
    });
}

TEST(CutOutDocument, IsOneStepThatUndoBringsBackWhole) {
    CPeltoDoc doc;
    LoadPicture(doc, DiskOnWhite());
    const Bytes picture = BlockBytes(doc.Picture());
    doc.SelectBackground({0, 0, 10});
    const Bytes selection = BlockBytes(*doc.Selection());

    doc.CutOut();
    ASSERT_TRUE(doc.HasTransparency());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.CanUndo());
    EXPECT_EQ(doc.SelectionPicks(), std::vector<BackgroundPick>{}) << "the transparent area";
    const Bytes cut = BlockBytes(doc.Picture());
    const CMaskDIB& transparent = *doc.Selection();
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            ASSERT_EQ(transparent.GetValue({x, y}) != 0, doc.Opacity()->GetAlpha(x, y) == 0)
                << x << " " << y;

    doc.Undo();
    EXPECT_EQ(BlockBytes(doc.Picture()), picture);
    EXPECT_FALSE(doc.HasTransparency());
    ASSERT_TRUE(doc.HasSelection());
    EXPECT_EQ(BlockBytes(*doc.Selection()), selection);
    EXPECT_EQ(doc.SelectionPicks(), (std::vector<BackgroundPick>{{0, 0, 10}}));
    EXPECT_FALSE(doc.IsModified());

    doc.Redo();
    EXPECT_EQ(BlockBytes(doc.Picture()), cut);
    EXPECT_TRUE(doc.HasTransparency());
    EXPECT_EQ(doc.SelectionPicks(), std::vector<BackgroundPick>{});
}

// The disk, the picture over a see-through corner as PNG, and stripes whose
// every other pixel the cut-out recolours: the step keeps the pixels alone,
// the old opacity, or a copy of the whole picture when that is smaller.
struct History {
    const char* name;
    Bytes file;
    bool wholeCopy;
};

Bytes DiskWithClearCorner() {
    const Bytes disk = DiskOnWhite();
    CDIB picture;
    LoadBytes(picture, disk);
    return MakePng(
        {kSize, kSize, 8, 6, false, [&](int x, int y, int c) -> uint16_t {
             if (c == 3) return x < 8 && y < 8 ? 0 : 255;
             const COLORREF colour = ShownPixel(picture, x, y);
             return c == 0 ? GetRValue(colour) : c == 1 ? GetGValue(colour) : GetBValue(colour);
         }});
}

Bytes Stripes() {
    return MakeBmp24(kSize, kSize, [](int x, int) {
        const int share = (x % 4) * 255 / 3; // white, a third, two thirds, the shape's orange
        return RGB((220 * share + 255 * (255 - share)) / 255,
                   (110 * share + 255 * (255 - share)) / 255,
                   (30 * share + 255 * (255 - share)) / 255);
    });
}

class CutOutHistory : public ::testing::TestWithParam<History> {};

Bytes OpacityBytes(const CAlphaPlane& alpha) {
    return Bytes(alpha.Row(0), alpha.Row(0) + size_t(alpha.Width()) * size_t(alpha.Height()));
}

TEST_P(CutOutHistory, UndoesAndRedoesAroundAButton) {
    CPeltoDoc doc;
    const Bytes& file = GetParam().file;
    if (file[0] == 0x89)
        doc.LoadPng(file.data(), file.size());
    else
        LoadPicture(doc, file);
    const Bytes picture = BlockBytes(doc.Picture());
    const bool hadOpacity = doc.Opacity() != nullptr;
    const Bytes opacity = hadOpacity ? OpacityBytes(*doc.Opacity()) : Bytes();
    doc.SelectBackground({kSize - 4, kSize - 1, 10});
    doc.CutOut();
    const Bytes cut = BlockBytes(doc.Picture()), cutOpacity = OpacityBytes(*doc.Opacity());
    EXPECT_EQ(doc.History().Bytes() > picture.size(), GetParam().wholeCopy);
    doc.MakeButton({135, 128, 3, BevelShape::Round, BevelOutline::Outer});
    const Bytes button = BlockBytes(doc.Picture());

    doc.Undo();
    EXPECT_EQ(BlockBytes(doc.Picture()), cut);
    EXPECT_EQ(OpacityBytes(*doc.Opacity()), cutOpacity);
    doc.Undo();
    EXPECT_EQ(BlockBytes(doc.Picture()), picture);
    ASSERT_EQ(doc.Opacity() != nullptr, hadOpacity);
    if (hadOpacity) EXPECT_EQ(OpacityBytes(*doc.Opacity()), opacity);
    EXPECT_FALSE(doc.IsModified());
    doc.Redo();
    EXPECT_EQ(BlockBytes(doc.Picture()), cut);
    EXPECT_EQ(OpacityBytes(*doc.Opacity()), cutOpacity);
    doc.Redo();
    EXPECT_EQ(BlockBytes(doc.Picture()), button);
}

INSTANTIATE_TEST_SUITE_P(Pictures, CutOutHistory,
                         ::testing::Values(History{"Disk", DiskOnWhite(), false},
                                           History{"DiskWithClearCorner", DiskWithClearCorner(),
                                                   false},
                                           History{"Stripes", Stripes(), true}),
                         [](const auto& c) { return std::string(c.param.name); });

TEST(CutOutDocument, WithoutASelectionChangesNothing) {
    CPeltoDoc doc;
    LoadPicture(doc, DiskOnWhite());
    doc.CutOut();
    EXPECT_FALSE(doc.HasTransparency());
    EXPECT_FALSE(doc.CanUndo());
}

// Laid over any background, a pixel of the shape or its rim hides it wholly.
TEST(CutOutDocument, AnOuterBandThenLeavesNoSeeThroughPixelInsideTheRim) {
    for (const int width : {1, 3, 6}) {
        CPeltoDoc doc;
        LoadPicture(doc, DiskOnWhite());
        doc.SelectBackground({0, 0, 10});
        doc.CutOut();
        doc.MakeButton({135, 128, width, BevelShape::Round, BevelOutline::Outer});
        int seeThrough = 0;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                // Within the rim: the disk grown by the width, less the edge pixel itself.
                const bool underRim = std::hypot(x + 0.5 - 32, y + 0.5 - 32) < 20 + width - 1;
                seeThrough += underRim && doc.Opacity()->GetAlpha(x, kSize - 1 - y) < 255;
            }
        EXPECT_EQ(seeThrough, 0) << "width " << width;
    }
}

} // namespace

} // namespace pelto
