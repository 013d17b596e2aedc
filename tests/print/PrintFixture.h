#pragma once
// Pictures to print, the private scheduler they print through, and the check
// of a printed page: the picture drawn as the view draws it, one page pixel per
// picture pixel at kPageDpi, from the top-left corner of the printable area.

#include "PrintedPage.h"
#include "PrivateCups.h"

#include "document/PeltoDoc.h"

#include <QImage>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace pelto {

// Test pictures: a gradient shape on a coloured background, so a shift or a
// changed colour shows; odd and even widths, one tall enough to be printed in
// two bands, and the sample.
enum class Picture { Odd37x23, Wide300x41, Tall61x300, Badge };
// Plain as opened, with a background selection (its overlay printed), or
// after a bevel (the selection gone with it).
enum class Made { Plain, Selected, Bevelled };

std::string PictureName(Picture picture);
std::unique_ptr<CPeltoDoc> MakeDocument(Picture picture, Made made);
// What the view draws for the whole picture.
QImage Drawing(CPeltoDoc& doc);

// The printable area's corner in page pixels at kPageDpi: see PrivateCups;
// cups-pdf prints the whole page.
QPoint PrintableOrigin(const char* queue);

// Largest difference a channel may show: the PDF carries the picture's bytes
// losslessly, and cups-pdf's PostScript round trip keeps them too.
inline constexpr int kColourTolerance = 2;

// How a skip starts: the test command lists these lines.
inline constexpr const char* kPrintSkipped = "print tests skipped: ";
inline constexpr const char* kPdfQueueSkipped = "cups-pdf tests skipped: ";

class WithPrivateCups : public testing::Test {
protected:
    // Starts the scheduler; a test that needs a queue asks MissingQueue first.
    void SetUp() override;
    // Why queue is missing here, as the line a skip starts with; empty when it is there.
    std::string MissingQueue(const char* queue) const;
    // The PDF queue made of its last completed job (titled title), once the
    // queue is idle; empty, with the reason in error, when there is none.
    std::string PrintedPdf(const char* queue, const std::string& title, std::string* error);
    // Empty when the PDF's page shows drawing at the origin and white elsewhere.
    static std::string CheckPage(const std::string& pdf, const QImage& drawing, QPoint origin);

    std::unique_ptr<PrivateCups> m_cups;
};

} // namespace pelto
