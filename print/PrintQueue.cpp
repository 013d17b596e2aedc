#include "PrintQueue.h"

#include "PrintMessages.h"
#include "SchedulerLink.h"

#include <QFile>
#include <QSizeF>

#include <cups/cups.h>

#include <cstring>
#include <memory>

namespace pelto {

namespace {

struct FreeDest {
    void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};

struct FreeInfo {
    void operator()(cups_dinfo_t* info) const { cupsFreeDestInfo(info); }
};

// Every page was A4 before queues were asked for theirs, so a queue that
// names no default media, or one libcups cannot measure, still gets A4.
constexpr const char* kFallbackMedia = "iso_a4_210x297mm";

// The user's choice for the queue (lpoptions), else the queue's default;
// cupsGetDestMediaDefault would guess US Letter where the user chose nothing.
cups_size_t DefaultMedia(http_t* http, cups_dest_t* dest) {
    const std::unique_ptr<cups_dinfo_t, FreeInfo> info(cupsCopyDestInfo(http, dest));
    const char* media = cupsGetOption("media", dest->num_options, dest->options);
    ipp_attribute_t* queueDefault =
        info && !media ? cupsFindDestDefault(http, dest, info.get(), "media") : nullptr;
    if (queueDefault) media = ippGetString(queueDefault, 0, nullptr);
    cups_size_t size{};
    if (info && cupsGetDestMediaByName(http, dest, info.get(), media ? media : kFallbackMedia,
                                       CUPS_MEDIA_FLAGS_DEFAULT, &size))
        return size;
    // Not even A4 listed: the whole A4 page, as for a queue without margins.
    const pwg_media_t* fallback = pwgMediaForPWG(kFallbackMedia);
    size = cups_size_t{};
    std::strncpy(size.media, fallback->pwg, sizeof(size.media) - 1);
    size.width = fallback->width;
    size.length = fallback->length;
    return size;
}

// libcups measures media in hundredths of a millimetre.
QPageLayout PageLayoutOf(const cups_size_t& size) {
    const auto mm = [](int hundredths) { return hundredths / 100.0; };
    return QPageLayout(QPageSize(QSizeF(mm(size.width), mm(size.length)), QPageSize::Millimeter, {},
                                 QPageSize::ExactMatch),
                       QPageLayout::Portrait,
                       QMarginsF(mm(size.left), mm(size.top), mm(size.right), mm(size.bottom)),
                       QPageLayout::Millimeter);
}

} // namespace

QueueCheck CheckQueue(CSchedulerLink& link, const std::optional<QString>& name) {
    QueueCheck check;
    if (!link.Http()) {
        check.problem = PrintText(kMsgNoPrintSystem);
        return check;
    }
    const QByteArray wanted = name ? name->toUtf8() : QByteArray();
    const std::unique_ptr<cups_dest_t, FreeDest> dest(
        cupsGetNamedDest(link.Http(), name ? wanted.constData() : nullptr, nullptr));
    if (!dest) {
        // libcups reports a request that timed out as a missing queue.
        if (link.GaveUp())
            check.problem = PrintText(kMsgNoPrintSystem);
        else
            check.problem =
                name ? PrintText(kMsgNoSuchPrinter).arg(*name) : PrintText(kMsgNoDefaultPrinter);
        return check;
    }
    check.name = QString::fromUtf8(dest->name);
    const auto option = [&](const char* key) {
        const char* value = cupsGetOption(key, dest->num_options, dest->options);
        return QByteArray(value ? value : "");
    };
    if (option("printer-state").toInt() == IPP_PSTATE_STOPPED)
        check.problem = PrintText(kMsgPrinterStopped).arg(check.name);
    else if (option("printer-is-accepting-jobs") == "false")
        check.problem = PrintText(kMsgPrinterRejecting).arg(check.name);
    if (!check.problem.isEmpty()) return check;
    const cups_size_t media = DefaultMedia(link.Http(), dest.get());
    check.page = PageLayoutOf(media);
    check.media = QString::fromUtf8(media.media);
    return check;
}

QString SubmitPdf(CSchedulerLink& link, const QString& queue, const QString& path,
                  const QString& title, const QString& media) {
    if (!link.Http()) return PrintText(kMsgNoPrintSystem);
    cups_option_t* options = nullptr;
    const int count = cupsAddOption("media", media.toUtf8().constData(), 0, &options);
    const int job =
        cupsPrintFile2(link.Http(), queue.toUtf8().constData(), QFile::encodeName(path).constData(),
                       title.toUtf8().constData(), count, options);
    cupsFreeOptions(count, options);
    if (job > 0) return {};
    return link.GaveUp() ? PrintText(kMsgNoPrintSystem) : QString::fromUtf8(cupsLastErrorString());
}

} // namespace pelto
