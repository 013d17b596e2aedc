#include "ViewPrinting.h"

#include "PrintMessages.h"
#include "PrintQueue.h"
#include "PrintTarget.h"
#include "SchedulerLink.h"
#include "view/ViewRendering.h"

#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <algorithm>

namespace pelto {

namespace {
// Rendered a band of rows at a time, so a huge picture never needs a second
// full-size raster.
constexpr int kBandRows = 256;
} // namespace

bool PrintDocument(CPeltoDoc& doc, QPagedPaintDevice& page) {
    QPainter painter;
    if (!painter.begin(&page)) return false;
    const QSize picture = PictureSize(doc);
    // The painter's origin is the top-left corner of the printable area.
    const int resolution = page.logicalDpiX();
    const QSize printable = page.pageLayout().paintRectPixels(resolution).size();
    const QRectF target = PrintTarget(picture, printable, resolution);
    if (!target.isEmpty()) {
        const double scale = target.width() / picture.width();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        // Otherwise the PDF output may store the picture as a JPEG.
        painter.setRenderHint(QPainter::LosslessImageRendering);
        for (int top = 0; top < picture.height(); top += kBandRows) {
            const int rows = std::min(kBandRows, picture.height() - top);
            const QImage band = RenderPicture(doc, QRect(0, top, picture.width(), rows), 0xFFFFFF);
            painter.drawImage(QRectF(0, top * scale, target.width(), rows * scale), band);
        }
    }
    return painter.end();
}

QString PrintDocumentOn(CPeltoDoc& doc, const std::optional<QString>& queue, const QString& title) {
    if (queue && queue->isEmpty()) return PrintText(kMsgNoPrinterNamed);
    CSchedulerLink link;
    const QueueCheck check = CheckQueue(link, queue);
    if (!check.problem.isEmpty()) return check.problem;

    // Qt's own hand-over to CUPS drops the scheduler's answer, so a refused
    // job would pass for printed, and its waits have no limit: the page is
    // made here as a PDF and handed over below.
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("page.pdf"));
    QPdfWriter page(file);
    page.setPageLayout(check.page);
    page.setTitle(title);
    if (!folder.isValid() || !PrintDocument(doc, page)) return PrintText(kMsgPrintFailed);

    const QString refused = SubmitPdf(link, check.name, file, title, check.media);
    if (refused.isEmpty()) return {};
    return PrintText(kMsgPrintFailed) + u'\n' + refused;
}

} // namespace pelto
