// Pages printed in the program's process through the private scheduler's
// queues, rendered with pdftoppm and compared pixel for pixel with what the
// view draws. ViewPrinting_test checks the page drawn into a PDF file alone.
#include "PrintFixture.h"

#include "print/ViewPrinting.h"
#include "support/BmpBuilder.h"
#include "support/SquareDoc.h"
#include "view/ViewRendering.h"

#include <QFile>

#include <unistd.h>

namespace pelto {

namespace {

enum class Into { FileQueue, LetterQueue, PdfQueue };

struct PageCase {
    Picture picture;
    Made made;
    Into into;
};

const char* Queue(Into into) {
    if (into == Into::LetterQueue) return PrivateCups::kLetterQueue;
    return into == Into::PdfQueue ? PrivateCups::kPdfQueue : PrivateCups::kFileQueue;
}

std::string CaseName(const testing::TestParamInfo<PageCase>& info) {
    static const char* const kMade[] = {"Plain", "Selected", "Bevelled"};
    static const char* const kInto[] = {"FileQueue", "LetterQueue", "PdfQueue"};
    return PictureName(info.param.picture) + kMade[int(info.param.made)] +
           kInto[int(info.param.into)];
}

class PrintedPageTest : public WithPrivateCups, public testing::WithParamInterface<PageCase> {};

TEST_P(PrintedPageTest, ShowsTheViewsDrawingAtTheCornerOfThePrintableArea) {
    const PageCase& c = GetParam();
    const std::string missing = MissingQueue(Queue(c.into));
    if (!missing.empty()) GTEST_SKIP() << missing;
    const std::unique_ptr<CPeltoDoc> doc = MakeDocument(c.picture, c.made);
    const QImage drawing = Drawing(*doc);
    // The page must show the overlay exactly when a selection is left.
    ASSERT_EQ(doc->HasSelection(), c.made == Made::Selected);
    if (c.made == Made::Selected) {
        ASSERT_NE(drawing, Drawing(*MakeDocument(c.picture, Made::Plain)));
    }

    const std::string title = CaseName({c, 0}) + "-" + std::to_string(getpid());
    const QString problem =
        PrintDocumentOn(*doc, QString::fromUtf8(Queue(c.into)), QString::fromStdString(title));
    ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
    std::string error;
    const std::string pdf = PrintedPdf(Queue(c.into), title, &error);
    ASSERT_TRUE(error.empty()) << error;
    EXPECT_EQ(CheckPage(pdf, drawing, PrintableOrigin(Queue(c.into))), "");
    if (c.into == Into::PdfQueue) QFile::remove(QString::fromStdString(pdf));
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, PrintedPageTest,
    testing::Values(PageCase{Picture::Odd37x23, Made::Selected, Into::FileQueue},
                    PageCase{Picture::Wide300x41, Made::Bevelled, Into::FileQueue},
                    PageCase{Picture::Tall61x300, Made::Plain, Into::FileQueue},
                    PageCase{Picture::Badge, Made::Selected, Into::FileQueue},
                    PageCase{Picture::Odd37x23, Made::Plain, Into::LetterQueue},
                    PageCase{Picture::Badge, Made::Selected, Into::LetterQueue},
                    PageCase{Picture::Odd37x23, Made::Plain, Into::PdfQueue},
                    PageCase{Picture::Wide300x41, Made::Selected, Into::PdfQueue},
                    PageCase{Picture::Badge, Made::Bevelled, Into::PdfQueue},
                    PageCase{Picture::Tall61x300, Made::Selected, Into::PdfQueue}),
    CaseName);

// A picture larger than the printable area fills its width or its height,
// pixels square. The areas follow from the queues' pages at 96 pixels to the
// inch: the file queue prints 559 x 770 pt from (18, 36) pt, the Letter
// queue 540 x 720 pt from (36, 54) pt, cups-pdf the whole 595 x 842 pt page.
struct ShrinkCase {
    Into into;
    QSize picture;
    QRectF area; // page pixels at kPageDpi
};

class ShrunkPageTest : public WithPrivateCups, public testing::WithParamInterface<ShrinkCase> {};

TEST_P(ShrunkPageTest, FillsThePrintableWidthOrHeight) {
    const ShrinkCase& c = GetParam();
    const std::string missing = MissingQueue(Queue(c.into));
    if (!missing.empty()) GTEST_SKIP() << missing;
    CPeltoDoc doc;
    LoadPicture(doc, MakeBmp24(c.picture.width(), c.picture.height(), RGB(200, 30, 90)));
    const std::string title = "shrunk-" + std::to_string(getpid());
    const QString problem =
        PrintDocumentOn(doc, QString::fromUtf8(Queue(c.into)), QString::fromStdString(title));
    ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
    std::string error;
    const std::string pdf = PrintedPdf(Queue(c.into), title, &error);
    ASSERT_TRUE(error.empty()) << error;
    EXPECT_EQ(FilledAreaDifferences(pdf, {{c.area, qRgb(200, 30, 90)}}, kColourTolerance), "");
    if (c.into == Into::PdfQueue) QFile::remove(QString::fromStdString(pdf));
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ShrunkPageTest,
    testing::Values(ShrinkCase{Into::FileQueue, {1200, 100}, {24, 48, 745.333, 62.111}},
                    ShrinkCase{Into::FileQueue, {100, 2000}, {24, 48, 51.333, 1026.667}},
                    ShrinkCase{Into::LetterQueue, {100, 2000}, {48, 72, 48, 960}},
                    ShrinkCase{Into::PdfQueue, {1200, 100}, {0, 0, 793.333, 66.111}}));

} // namespace

} // namespace pelto
