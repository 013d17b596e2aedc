// A style's background on an open picture: it becomes the selection whole,
// as a picture just opened would get it, or is refused with nothing changed.

#include "document/DocMessages.h"
#include "document/DocumentFile.h"
#include "document/StyleRun.h"
#include "image/PngFile.h"
#include "support/BmpBuilder.h"
#include "support/FaultControl.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <new>

namespace pelto {

namespace {

// Six pixels in a row: black, white, black, white, red, and (for a PNG) the
// second and last transparent.
constexpr COLORREF kRow[] = {RGB(0, 0, 0),       RGB(255, 255, 255), RGB(0, 0, 0),
                             RGB(255, 255, 255), RGB(255, 0, 0),     RGB(255, 0, 0)};

std::unique_ptr<CPeltoDoc> RowDoc(bool transparent) {
    CPeltoDoc picture;
    const Bytes bmp = MakeBmp24(6, 1, [](int x, int) { return kRow[x]; });
    picture.LoadBmp(bmp.data(), bmp.size());
    TempDir dir;
    CAlphaPlane alpha(6, 1);
    for (int x : {1, 5})
        alpha.SetAlpha(x, 0, transparent ? 0 : 255);
    {
        CFile out(dir.File("row.png"), CFile::Mode::CreateWrite);
        png::Encode(picture.Picture(), &alpha, out);
    }
    return OpenDocument(dir.File("row.png")).doc;
}

std::string Marks(const CPeltoDoc& doc) {
    std::string marks;
    for (int x = 0; x < 6; ++x)
        marks += doc.Selection() && doc.Selection()->GetValue({x, 0}) ? '#' : '.';
    return marks;
}

struct ApplyCase {
    const char* name;
    bool transparent;
    PickRecord background; // the style's
    std::string marks;     // the selection after it
    PickRecord picks;      // and the record of its picks
    StyleRefusal refusal = StyleRefusal::None;
};

class ApplyStyleCase : public ::testing::TestWithParam<ApplyCase> {};

// Each starts from a hand-made selection: the red pixels, picked.
TEST_P(ApplyStyleCase, ReplacesTheSelectionOrChangesNothing) {
    const ApplyCase& c = GetParam();
    const auto doc = RowDoc(c.transparent);
    ASSERT_TRUE(doc);
    doc->ClearSelection();
    doc->SelectBackground({4, 0, 0});
    ButtonStyle style;
    style.background = c.background;
    const StyleRunEnd end = ApplyStyle(*doc, style);
    EXPECT_EQ(end.refusal, c.refusal);
    EXPECT_EQ(Marks(*doc), c.marks);
    EXPECT_EQ(doc->SelectionPicks(), c.picks);
}

const std::vector<BackgroundPick> kRed = {{4, 0, 0}};
const std::vector<BackgroundPick> kBlack = {{0, 0, 0}};

INSTANTIATE_TEST_SUITE_P(
    Cases, ApplyStyleCase,
    ::testing::Values(ApplyCase{"NoBackgroundKeepsTheSelection", false, std::nullopt, "....##",
                                kRed},
                      ApplyCase{"PicksReplaceIt", false, kBlack, "#.#...", kBlack},
                      ApplyCase{"TransparencyAlone", true, std::vector<BackgroundPick>{}, ".#...#",
                                std::vector<BackgroundPick>{}},
                      ApplyCase{"PicksAddToTheTransparentPixels", true, kBlack, "###..#", kBlack},
                      ApplyCase{"TransparentOnAnOpaquePictureSelectsNothing", false,
                                std::vector<BackgroundPick>{}, "......", std::nullopt},
                      ApplyCase{"APickOutsideRefusesTheWhole", false,
                                std::vector<BackgroundPick>{{0, 0, 0}, {6, 0, 0}}, "....##", kRed,
                                StyleRefusal::PickOutside}),
    [](const auto& c) { return std::string(c.param.name); });

TEST(ApplyStyle, NamesThePickOutsideAndNoOption) {
    const auto doc = RowDoc(false);
    ButtonStyle style;
    style.background = {{2, -1, 0}};
    EXPECT_EQ(ApplyStyle(*doc, style).message,
              translation::Fill(translation::Fill(docmsg::kPickOutside, "2,-1"), "6 x 1", 2));
}

// Each allocation the picks make fails in turn: the selection and its record
// stay as they were.
TEST(ApplyStyle, RunningOutOfMemoryChangesNothing) {
    const auto doc = RowDoc(true);
    doc->SelectBackground({4, 0, 0});
    ButtonStyle style;
    style.background = {{0, 0, 0}, {3, 0, 0}};
    bool threw = true;
    int successes = 0;
    for (; threw; ++successes) {
        faults::FailAllocationAfter(successes);
        try {
            ApplyStyle(*doc, style);
            threw = false;
        } catch (const std::bad_alloc&) {
            EXPECT_EQ(Marks(*doc), ".#..##") << successes;
            EXPECT_EQ(doc->SelectionPicks(), (std::vector<BackgroundPick>{{4, 0, 0}})) << successes;
        }
        faults::FailAllocationAfter(-1);
    }
    EXPECT_GT(successes, 1) << "an allocation failed";
    EXPECT_EQ(Marks(*doc), "####.#");
}

} // namespace

} // namespace pelto
