#include "document/PeltoDoc.h"
#include "print/ViewPrinting.h"
#include "support/BmpBuilder.h"
#include "support/SquareDoc.h"
#include "support/TempDir.h"

#include <QPrinter>

#include <gtest/gtest.h>

namespace pelto {

namespace {

TEST(ViewPrinting, PrintsTheDrawingToAPage) {
    TempDir dir;
    CPeltoDoc doc;
    LoadPicture(doc, MakeBmp24(600, 300, [](int x, int) { return RGB(x % 256, 0, 0); }));
    doc.SelectBackground(0, 0, 10);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir.File("page.pdf")));
    ASSERT_TRUE(PrintDocument(doc, printer));
    const Bytes pdf = ReadFileBytes(dir.File("page.pdf"));
    ASSERT_GT(pdf.size(), 1000u);
    EXPECT_EQ(std::string(pdf.begin(), pdf.begin() + 4), "%PDF");
}

} // namespace

} // namespace pelto
