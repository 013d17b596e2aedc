// The page PrintDocument draws into a PDF file, with no scheduler involved,
// rendered with pdftoppm and compared pixel for pixel with what the view draws.
#include "PrintFixture.h"

#include "document/DocumentFile.h"
#include "print/ViewPrinting.h"
#include "support/PngBuilder.h"
#include "support/SquareDoc.h"
#include "support/TempDir.h"

#include <QPdfWriter>

namespace pelto {

namespace {

// Opacity rising from left to right over a gradient, fully transparent in the
// top-left corner: opened, that corner is the selection.
std::unique_ptr<CPeltoDoc> TransparentPng() {
    TempDir dir;
    const std::string path = dir.File("faded.png");
    WriteFileBytes(path, MakePng({29, 19, 8, 6, false, [](int x, int y, int c) {
                                      if (c < 3) return uint16_t((x * 31 + y * 13 + c * 80) % 256);
                                      return uint16_t(x < 4 && y < 4 ? 0 : 20 + x * 8);
                                  }}));
    return OpenDocument(path).doc;
}

// Four solid quarters, 1200 x 200 pixels: wider than the printable area.
std::unique_ptr<CPeltoDoc> WideQuarters() {
    auto doc = std::make_unique<CPeltoDoc>();
    LoadPicture(*doc, MakeBmp24(1200, 200, [](int x, int y) {
        if (y < 100) return x < 600 ? RGB(200, 30, 90) : RGB(30, 90, 200);
        return x < 600 ? RGB(90, 200, 30) : RGB(240, 200, 40);
    }));
    return doc;
}

struct PdfCase {
    const char* name;
    std::unique_ptr<CPeltoDoc> (*make)();
    bool selected; // the page must show the selection's overlay
    // Empty: the page shows the whole drawing, pixel for pixel. Otherwise the
    // solid areas the shrunk picture covers.
    std::vector<Fill> fills = {};
};

// A failure names its case rather than its bytes.
void PrintTo(const PdfCase& c, std::ostream* out) {
    *out << c.name;
}

class PrintedPdfTest : public testing::TestWithParam<PdfCase> {};

TEST_P(PrintedPdfTest, ShowsTheViewsDrawingAtTheCornerOfThePrintableArea) {
    const PdfCase& c = GetParam();
    const std::unique_ptr<CPeltoDoc> doc = c.make();
    ASSERT_TRUE(doc);
    ASSERT_EQ(doc->HasSelection(), c.selected);
    TempDir out;
    const std::string pdf = out.File("page.pdf");
    {
        QPdfWriter page(QString::fromStdString(pdf));
        // The file queue's page: A4 less its imageable area's margins.
        page.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                       QMarginsF(18, 36, 18, 36), QPageLayout::Point));
        ASSERT_TRUE(PrintDocument(*doc, page));
    }
    const Bytes written = ReadFileBytes(pdf);
    ASSERT_GE(written.size(), 4u);
    ASSERT_EQ(std::string(written.begin(), written.begin() + 4), "%PDF");
    const std::string missing = MissingPdfRenderer();
    if (!missing.empty()) GTEST_SKIP() << kPrintSkipped << missing;

    if (c.fills.empty())
        EXPECT_EQ(PrintedPageDifferences(pdf, Drawing(*doc),
                                         PrintableOrigin(PrivateCups::kFileQueue),
                                         kColourTolerance),
                  "");
    else
        EXPECT_EQ(FilledAreaDifferences(pdf, c.fills, kColourTolerance), "");
}

// The quarters fill the printable width, 559 pt or 745.333 page pixels from
// (24, 48), and so are 372.667 x 62.111 each.
INSTANTIATE_TEST_SUITE_P(
    Pictures, PrintedPdfTest,
    testing::Values(
        PdfCase{"OddPlain", [] { return MakeDocument(Picture::Odd37x23, Made::Plain); }, false},
        PdfCase{"OddSelected", [] { return MakeDocument(Picture::Odd37x23, Made::Selected); },
                true},
        // Two bands of rows.
        PdfCase{"TallBevelled", [] { return MakeDocument(Picture::Tall61x300, Made::Bevelled); },
                false},
        PdfCase{"TransparentPng", TransparentPng, true},
        PdfCase{"ShrunkToTheWidth",
                WideQuarters,
                false,
                {{{24, 48, 372.667, 62.111}, qRgb(200, 30, 90)},
                 {{396.667, 48, 372.667, 62.111}, qRgb(30, 90, 200)},
                 {{24, 110.111, 372.667, 62.111}, qRgb(90, 200, 30)},
                 {{396.667, 110.111, 372.667, 62.111}, qRgb(240, 200, 40)}}}),
    [](const auto& c) { return std::string(c.param.name); });

} // namespace

} // namespace pelto
