#pragma once
// Printed pages as pictures, and how they compare with the drawing that should
// be on them.

#include <QImage>
#include <QPoint>

#include <string>
#include <vector>

namespace pelto {

// Page resolution of the comparisons: one page pixel per picture pixel.
inline constexpr int kPageDpi = 96;

// Why PDF pages cannot be rendered here; empty when pdftoppm is there.
std::string MissingPdfRenderer();

// The first page of the PDF, or the part of it in crop (page pixels at dpi),
// as pdftoppm (poppler-utils) draws it at dpi; null, with the reason in error,
// when it could not.
QImage RenderPdfPage(const std::string& pdf, int dpi, std::string* error, QRect crop = {});

// Where the PDF's page differs, by more than tolerance in a channel, from
// drawing put one page pixel per picture pixel at kPageDpi with its top-left
// pixel at origin, and white everywhere else: the first few places, or why it
// could not be rendered; empty when it shows exactly that.
std::string PrintedPageDifferences(const std::string& pdf, const QImage& drawing, QPoint origin,
                                   int tolerance);

// A solid area of a page, in page pixels at kPageDpi.
struct Fill {
    QRectF area;
    QRgb colour;
};

// Where the PDF's page, at kPageDpi, is not each fill's colour inside its area
// and white outside them all, a pixel's width of rounding allowed at their
// edges; or why it could not be rendered; empty when it shows exactly that.
std::string FilledAreaDifferences(const std::string& pdf, const std::vector<Fill>& fills,
                                  int tolerance);

// The PDF cups-pdf made of the job titled title, in the PDF folder of the
// job's user (this process's); empty when there is none.
std::string CupsPdfOutput(const std::string& title);

} // namespace pelto
