#pragma once
// The one connection a print uses to talk to the CUPS scheduler (the one
// CUPS_SERVER, client.conf or the usual socket names). The scheduler may keep
// it waiting kSilenceSeconds in all, summed over every request: a scheduler
// that accepts the connection and never answers ends the print within that,
// however many requests and retries libcups makes.

typedef struct _http_s http_t;

namespace pelto {

class CSchedulerLink {
public:
    static constexpr double kSilenceSeconds = 5.0;

    CSchedulerLink();
    ~CSchedulerLink();
    CSchedulerLink(const CSchedulerLink&) = delete;
    CSchedulerLink& operator=(const CSchedulerLink&) = delete;

    // Null unless a scheduler took the connection and answered a first request.
    http_t* Http() const { return m_http; }
    // Whether a request failed because the scheduler stayed silent too long.
    bool GaveUp() const { return m_bGaveUp; }

private:
    static int KeepWaiting(http_t* http, void* link);

    http_t* m_http = nullptr;
    double m_silentSeconds = 0;
    bool m_bGaveUp = false;
};

} // namespace pelto
