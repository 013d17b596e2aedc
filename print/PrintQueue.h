#pragma once
// The print system's side of printing: finding a CUPS queue and handing it a
// finished PDF, both over one link to the scheduler whose waits have a limit,
// so a scheduler that stops answering ends in a message, never in a wait.

#include <QPageLayout>
#include <QString>

#include <optional>

namespace pelto {

class CSchedulerLink;

struct QueueCheck {
    QString name;     // the queue found
    QString problem;  // empty when the queue can take a job, else the message for the user
    QPageLayout page; // its default media, the margins it cannot print in
    QString media;    // that media's name, for the job
};

// The named queue (a name is never empty), or the default one without a
// name, with its default media. A stopped queue or one refusing jobs is a
// problem: a job left waiting there would pass for printed.
QueueCheck CheckQueue(CSchedulerLink& link, const std::optional<QString>& name);

// Hands the PDF file at path to queue as one job on media. Empty when the
// scheduler took it, otherwise the reason it did not.
QString SubmitPdf(CSchedulerLink& link, const QString& queue, const QString& path,
                  const QString& title, const QString& media);

} // namespace pelto
