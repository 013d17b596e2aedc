#include "PrintQueue.h"

#include "SchedulerLink.h"
#include "ViewMessages.h"

#include <QFile>

#include <cups/cups.h>

#include <memory>

namespace pelto {

namespace {

struct FreeDest {
    void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

QueueCheck CheckQueue(CSchedulerLink& link, const std::optional<QString>& name) {
    QueueCheck check;
    if (name && name->isEmpty()) {
        check.problem = Text(kMsgNoPrinterNamed);
        return check;
    }
    if (!link.Http()) {
        check.problem = Text(kMsgNoPrintSystem);
        return check;
    }
    const QByteArray wanted = name ? name->toUtf8() : QByteArray();
    const std::unique_ptr<cups_dest_t, FreeDest> dest(
        cupsGetNamedDest(link.Http(), name ? wanted.constData() : nullptr, nullptr));
    if (!dest) {
        // libcups reports a request that timed out as a missing queue.
        if (link.GaveUp())
            check.problem = Text(kMsgNoPrintSystem);
        else
            check.problem = name ? Text(kMsgNoSuchPrinter).arg(*name) : Text(kMsgNoDefaultPrinter);
        return check;
    }
    check.name = QString::fromUtf8(dest->name);
    const auto option = [&](const char* key) {
        const char* value = cupsGetOption(key, dest->num_options, dest->options);
        return QByteArray(value ? value : "");
    };
    if (option("printer-state").toInt() == IPP_PSTATE_STOPPED)
        check.problem = Text(kMsgPrinterStopped).arg(check.name);
    else if (option("printer-is-accepting-jobs") == "false")
        check.problem = Text(kMsgPrinterRejecting).arg(check.name);
    return check;
}

QString SubmitPdf(CSchedulerLink& link, const QString& queue, const QString& path,
                  const QString& title, const QString& media) {
    if (!link.Http()) return Text(kMsgNoPrintSystem);
    cups_option_t* options = nullptr;
    int count = 0;
    if (!media.isEmpty()) count = cupsAddOption("media", media.toUtf8().constData(), 0, &options);
    const int job =
        cupsPrintFile2(link.Http(), queue.toUtf8().constData(), QFile::encodeName(path).constData(),
                       title.toUtf8().constData(), count, options);
    cupsFreeOptions(count, options);
    if (job > 0) return {};
    return link.GaveUp() ? Text(kMsgNoPrintSystem) : QString::fromUtf8(cupsLastErrorString());
}

} // namespace pelto
