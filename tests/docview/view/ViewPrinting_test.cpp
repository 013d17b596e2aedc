#include "docview/document/PeltoDoc.h"
#include "docview/view/ViewPrinting.h"
#include "docview/view/ViewRendering.h"
#include "support/BmpBuilder.h"
#include "support/TempDir.h"

#include <QPrinter>

#include <gtest/gtest.h>

namespace pelto {

namespace {

TEST(ViewPrinting, PrintsTheDrawingToAPage) {
    TempDir dir;
    CPeltoDoc doc;
    LoadBytes(doc.m_dib, MakeBmp24(600, 300, [](int x, int) { return RGB(x % 256, 0, 0); }));
    doc.SelectBackground(0, 0, 10);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir.File("page.pdf")));
    ASSERT_TRUE(PrintDocument(doc, printer));
    const Bytes pdf = ReadFileBytes(dir.File("page.pdf"));
    ASSERT_GT(pdf.size(), 1000u);
    EXPECT_EQ(std::string(pdf.begin(), pdf.begin() + 4), "%PDF");
}

TEST(ViewRendering, RendersOnlyTheAskedPartAndPadsBeyondThePicture) {
    CPeltoDoc doc;
    LoadBytes(doc.m_dib, MakeBmp24(10, 10, [](int x, int y) { return RGB(x * 20, y * 20, 5); }));
    const QImage part = RenderPicture(doc, QRect(8, 3, 4, 2), qRgb(1, 2, 3));
    ASSERT_EQ(part.size(), QSize(4, 2));
    EXPECT_EQ(part.pixel(0, 0) & 0xFFFFFF, qRgb(160, 60, 5) & 0xFFFFFF);
    EXPECT_EQ(part.pixel(1, 1) & 0xFFFFFF, qRgb(180, 80, 5) & 0xFFFFFF);
    EXPECT_EQ(part.pixel(2, 0) & 0xFFFFFF, qRgb(1, 2, 3) & 0xFFFFFF);
}

TEST(ViewRendering, EmptyPictureDrawsOnlyTheBackground) {
    CPeltoDoc empty;
    const QImage part = RenderPicture(empty, QRect(0, 0, 3, 3), qRgb(9, 8, 7));
    ASSERT_EQ(part.size(), QSize(3, 3));
    EXPECT_EQ(part.pixel(1, 1) & 0xFFFFFF, qRgb(9, 8, 7) & 0xFFFFFF);
}

} // namespace

} // namespace pelto
