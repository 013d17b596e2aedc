#pragma once
// Printed pages as pictures, and how they compare with the drawing that should
// be on them.

#include <QImage>
#include <QPoint>

#include <string>

namespace pelto {

// Page resolution of the comparisons: one page pixel per picture pixel.
inline constexpr int kPageDpi = 96;

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

// Where the PDF's page, at kPageDpi, is not colour inside area (page pixels)
// and white outside it, a pixel's width of rounding allowed at its edges; or
// why it could not be rendered; empty when it shows exactly that.
std::string FilledAreaDifferences(const std::string& pdf, const QRectF& area, QRgb colour,
                                  int tolerance);

// The PDF cups-pdf made of the job titled title, in the PDF folder of the
// job's user (this process's); empty when there is none.
std::string CupsPdfOutput(const std::string& title);

} // namespace pelto
