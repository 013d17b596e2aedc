#include "PrintQueue.h"

#include "ViewMessages.h"

#include <QFile>

#include <cups/cups.h>

#include <memory>

namespace pelto {

namespace {

constexpr int kConnectMilliseconds = 10000;
constexpr double kAnswerSeconds = 30.0;

struct CloseHttp {
    void operator()(http_t* http) const { httpClose(http); }
};
using Connection = std::unique_ptr<http_t, CloseHttp>;

Connection Connect() {
    Connection http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                 kConnectMilliseconds, nullptr));
    // Without a callback, a wait longer than this fails the request.
    if (http) httpSetTimeout(http.get(), kAnswerSeconds, nullptr, nullptr);
    return http;
}

struct FreeDest {
    void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

QueueCheck CheckQueue(const std::optional<QString>& name) {
    QueueCheck check;
    if (name && name->isEmpty()) {
        check.problem = Text(kMsgNoPrinterNamed);
        return check;
    }
    const Connection http = Connect();
    if (!http) {
        check.problem = Text(kMsgNoPrintSystem);
        return check;
    }
    const QByteArray wanted = name ? name->toUtf8() : QByteArray();
    const std::unique_ptr<cups_dest_t, FreeDest> dest(
        cupsGetNamedDest(http.get(), name ? wanted.constData() : nullptr, nullptr));
    if (!dest) {
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

QString SubmitPdf(const QString& queue, const QString& path, const QString& title,
                  const QString& media) {
    const Connection http = Connect();
    if (!http) return Text(kMsgNoPrintSystem);
    cups_option_t* options = nullptr;
    int count = 0;
    if (!media.isEmpty()) count = cupsAddOption("media", media.toUtf8().constData(), 0, &options);
    const int job =
        cupsPrintFile2(http.get(), queue.toUtf8().constData(), QFile::encodeName(path).constData(),
                       title.toUtf8().constData(), count, options);
    cupsFreeOptions(count, options);
    return job > 0 ? QString() : QString::fromUtf8(cupsLastErrorString());
}

} // namespace pelto
