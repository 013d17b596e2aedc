#include "PrintFixture.h"

#include "support/BmpBuilder.h"
#include "support/SquareDoc.h"
#include "view/ViewRendering.h"

#include <QFile>

#include <cstdlib>

namespace pelto {

namespace {

struct PictureLook {
    const char* name;
    int width, height;
    COLORREF background;
};

PictureLook Look(Picture picture) {
    switch (picture) {
    case Picture::Odd37x23:
        return {"odd", 37, 23, RGB(200, 220, 240)};
    case Picture::Wide300x41:
        return {"wide", 300, 41, RGB(30, 120, 60)};
    case Picture::Tall61x300:
        return {"tall", 61, 300, RGB(240, 200, 40)};
    case Picture::Badge:
        break;
    }
    return {"badge", 0, 0, 0};
}

Bytes PictureBytes(Picture picture) {
    const PictureLook look = Look(picture);
    if (picture == Picture::Badge) {
        const char* samples = std::getenv("PELTO_SAMPLES");
        return ReadFileBytes(std::string(samples ? samples : "samples") + "/badge.bmp");
    }
    const int w = look.width, h = look.height;
    return MakeBmp24(w, h, [&](int x, int y) {
        const bool inside = x >= w / 4 && x < w * 3 / 4 && y >= h / 4 && y < h * 3 / 4;
        return inside ? RGB((x * 23) % 256, (y * 37) % 256, ((x + y) * 11) % 256) : look.background;
    });
}

} // namespace

std::string PictureName(Picture picture) {
    return Look(picture).name;
}

std::unique_ptr<CPeltoDoc> MakeDocument(Picture picture, Made made) {
    auto doc = std::make_unique<CPeltoDoc>();
    LoadPicture(*doc, PictureBytes(picture));
    if (made != Made::Plain) doc->SelectBackground(0, 0, 12);
    if (made == Made::Bevelled)
        doc->MakeButton(ButtonParams{135, 160, 4, BevelShape::Round, BevelOutline::Inner});
    return doc;
}

QImage Drawing(CPeltoDoc& doc) {
    return RenderPicture(doc, QRect(QPoint(0, 0), PictureSize(doc)), 0xFFFFFF);
}

QPoint PrintableOrigin(const char* queue) {
    if (std::string(queue) == PrivateCups::kFileQueue) return QPoint(18, 36) * kPageDpi / 72;
    if (std::string(queue) == PrivateCups::kLetterQueue) return QPoint(36, 54) * kPageDpi / 72;
    return {0, 0};
}

void WithPrivateCups::SetUp() {
    m_cups = std::make_unique<PrivateCups>();
}

std::string WithPrivateCups::MissingQueue(const char* queue) const {
    if (!m_cups->SkipReason().empty()) return kPrintSkipped + m_cups->SkipReason();
    if (std::string(queue) != PrivateCups::kPdfQueue || m_cups->PdfQueueSkipReason().empty())
        return {};
    return kPdfQueueSkipped + m_cups->PdfQueueSkipReason();
}

std::string WithPrivateCups::PrintedPdf(const char* queue, const std::string& title,
                                        std::string* error) {
    if (!m_cups->WaitUntilIdle(queue)) {
        *error = "the job never finished";
        return {};
    }
    const std::vector<int> done = m_cups->CompletedJobs(queue);
    if (done.empty()) {
        *error = "no job completed";
        return {};
    }
    const std::string pdf =
        std::string(queue) == PrivateCups::kPdfQueue ? CupsPdfOutput(title) : m_cups->FileOutput();
    if (pdf.empty() || !QFile::exists(QString::fromStdString(pdf)))
        *error = "the queue wrote no PDF";
    return pdf;
}

std::string WithPrivateCups::CheckPage(const std::string& pdf, const QImage& drawing,
                                       QPoint origin) {
    return PrintedPageDifferences(pdf, drawing, origin, kColourTolerance);
}

} // namespace pelto
