#pragma once
// The print system's side of printing: finding a CUPS queue and handing it a
// finished PDF. The scheduler is the one CUPS names (CUPS_SERVER, client.conf
// or its usual socket). Every exchange with it has a time limit, so a
// scheduler that stops answering ends in a message, never in a wait.

#include <QString>

#include <optional>

namespace pelto {

struct QueueCheck {
    QString name;    // the queue found
    QString problem; // empty when the queue can take a job, else the message for the user
};

// The named queue, or the default one without a name. A stopped queue or one
// refusing jobs is a problem: a job left waiting there would pass for printed.
QueueCheck CheckQueue(const std::optional<QString>& name);

// Hands the PDF file at path to queue as one job. Empty when the scheduler
// took it, otherwise the scheduler's reason.
QString SubmitPdf(const QString& queue, const QString& path, const QString& title,
                  const QString& media);

} // namespace pelto
