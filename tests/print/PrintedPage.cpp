#include "PrintedPage.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

namespace pelto {

namespace {

constexpr int kRenderMilliseconds = 60000;
constexpr int kReportedPlaces = 5;
// pdftoppm smooths an image it enlarges less than four times, and rounds an
// image's edges outwards, stretching it by up to one pixel on either side.
// Pixels are checked at four times the page resolution, where it copies them
// unsmoothed, each at the middle of its block, which that stretch never
// reaches; and the one-pixel seam around the picture is left out of the check
// for white.
constexpr int kDetail = 4;

bool Near(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

class Places {
public:
    bool Full() const { return m_nFound >= kReportedPlaces; }
    void Add(const char* what, QPoint at, QRgb got, QRgb want) {
        ++m_nFound;
        m_text << what << " (" << at.x() << "," << at.y() << ") is " << std::hex << (got & 0xFFFFFF)
               << " not " << (want & 0xFFFFFF) << std::dec << "; ";
    }
    std::string Text() const { return m_text.str(); }

private:
    int m_nFound = 0;
    std::ostringstream m_text;
};

} // namespace

std::string MissingPdfRenderer() {
    if (!QStandardPaths::findExecutable("pdftoppm").isEmpty()) return {};
    return "no pdftoppm (Debian package poppler-utils)";
}

QImage RenderPdfPage(const std::string& pdf, int dpi, std::string* error, QRect crop) {
    *error = MissingPdfRenderer();
    if (!error->empty()) return {};
    const QString program = QStandardPaths::findExecutable("pdftoppm");
    QTemporaryDir folder;
    const QString base = folder.filePath("page");
    QStringList arguments{"-r", QString::number(dpi), "-f", "1", "-l", "1", "-singlefile"};
    if (!crop.isEmpty())
        arguments << "-x" << QString::number(crop.x()) << "-y" << QString::number(crop.y()) << "-W"
                  << QString::number(crop.width()) << "-H" << QString::number(crop.height());
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments << QString::fromStdString(pdf) << base);
    if (!process.waitForFinished(kRenderMilliseconds) || process.exitCode() != 0) {
        *error = "pdftoppm failed on " + pdf + ": " + process.readAll().toStdString();
        process.kill();
        process.waitForFinished(5000);
        return {};
    }
    const QImage page(base + ".ppm");
    if (page.isNull()) *error = "pdftoppm wrote no page for " + pdf;
    return page.convertToFormat(QImage::Format_RGB32);
}

std::string PrintedPageDifferences(const std::string& pdf, const QImage& drawing, QPoint origin,
                                   int tolerance) {
    std::string error;
    const QImage page = RenderPdfPage(pdf, kPageDpi, &error);
    const QRect placed(origin, drawing.size());
    const QImage detail = RenderPdfPage(pdf, kPageDpi * kDetail, &error,
                                        QRect(placed.topLeft() * kDetail, placed.size() * kDetail));
    if (page.isNull() || detail.isNull()) return error;
    if (!page.rect().contains(placed)) return "the drawing does not fit on the page";

    Places places;
    const QRect seam = placed.adjusted(-1, -1, 1, 1);
    for (int y = 0; y < page.height() && !places.Full(); ++y)
        for (int x = 0; x < page.width() && !places.Full(); ++x)
            if (!seam.contains(x, y) && !Near(page.pixel(x, y), qRgb(255, 255, 255), tolerance))
                places.Add("page", {x, y}, page.pixel(x, y), qRgb(255, 255, 255));
    for (int y = 0; y < drawing.height() && !places.Full(); ++y)
        for (int x = 0; x < drawing.width() && !places.Full(); ++x) {
            const QRgb got = detail.pixel(x * kDetail + kDetail / 2, y * kDetail + kDetail / 2);
            if (!Near(got, drawing.pixel(x, y), tolerance))
                places.Add("picture", {x, y}, got, drawing.pixel(x, y));
        }
    return places.Text();
}

std::string FilledAreaDifferences(const std::string& pdf, const std::vector<Fill>& fills,
                                  int tolerance) {
    std::string error;
    const QImage page = RenderPdfPage(pdf, kPageDpi, &error);
    if (page.isNull()) return error;
    Places places;
    for (int y = 0; y < page.height() && !places.Full(); ++y)
        for (int x = 0; x < page.width() && !places.Full(); ++x) {
            const QRectF pixel(x, y, 1, 1);
            const QRgb got = page.pixel(x, y);
            bool nearAFill = false;
            for (const Fill& fill : fills) {
                if (fill.area.adjusted(1, 1, -1, -1).contains(pixel)) {
                    if (!Near(got, fill.colour, tolerance))
                        places.Add("inside", {x, y}, got, fill.colour);
                    nearAFill = true;
                    break;
                }
                nearAFill = nearAFill || fill.area.adjusted(-1, -1, 1, 1).intersects(pixel);
            }
            if (!nearAFill && !Near(got, qRgb(255, 255, 255), tolerance))
                places.Add("outside", {x, y}, got, qRgb(255, 255, 255));
        }
    return places.Text();
}

std::string CupsPdfOutput(const std::string& title) {
    const passwd* user = getpwuid(geteuid());
    if (!user) return {};
    const QDir folder(QString::fromLocal8Bit(user->pw_dir) + "/PDF");
    // cups-pdf names the file after the title, with bits of its own after it.
    const QString stem = QString::fromStdString(title);
    for (const QString& name : folder.entryList({stem + "*.pdf"}, QDir::Files))
        if (name == stem + ".pdf" || name.startsWith(stem + "_") || name.startsWith(stem + "-"))
            return folder.filePath(name).toStdString();
    return {};
}

} // namespace pelto
