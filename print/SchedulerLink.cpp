#include "SchedulerLink.h"

#include <QElapsedTimer>

#include <cups/cups.h>

namespace pelto {

namespace {
// libcups asks whether to go on waiting after each such spell of silence.
constexpr double kWaitSeconds = 0.5;
} // namespace

CSchedulerLink::CSchedulerLink() {
    QElapsedTimer clock;
    clock.start();
    m_http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                          int(kSilenceSeconds * 1000), nullptr);
    if (!m_http) return;
    m_silentSeconds = clock.elapsed() / 1000.0;
    httpSetTimeout(m_http, kWaitSeconds, &CSchedulerLink::KeepWaiting, this);
    // A first answer proves the scheduler is there: cupsGetNamedDest looks a
    // queue it does not find up again over libcups' own connection, whose
    // waits nothing bounds.
    ipp_t* answer = cupsDoRequest(m_http, ippNewRequest(IPP_OP_CUPS_GET_DEFAULT), "/");
    if (answer) {
        ippDelete(answer);
        return;
    }
    httpClose(m_http);
    m_http = nullptr;
}

CSchedulerLink::~CSchedulerLink() {
    if (m_http) httpClose(m_http);
}

int CSchedulerLink::KeepWaiting(http_t*, void* data) {
    auto* link = static_cast<CSchedulerLink*>(data);
    link->m_silentSeconds += kWaitSeconds;
    link->m_bGaveUp = link->m_silentSeconds >= kSilenceSeconds;
    return link->m_bGaveUp ? 0 : 1;
}

} // namespace pelto
