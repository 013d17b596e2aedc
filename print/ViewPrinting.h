#pragma once
// Printing draws what the view draws, the picture and, when the document has
// one, the selection overlay, on one page: from the top-left corner of the
// printable area at the size the picture has on screen (PrintTarget), every
// pixel sharp and its colour as it is.

#include <QString>

#include <optional>

class QPagedPaintDevice;

namespace pelto {

class CPeltoDoc;

// False when the page could not be started or finished.
bool PrintDocument(CPeltoDoc& doc, QPagedPaintDevice& page);

// Prints on a CUPS queue, the default one without a name, as the job title:
// the page is the queue's default media (A4 when it names none), its
// printable area that media less the margins the queue cannot print in; the
// page goes to the scheduler as a PDF, with that media. Returns once the scheduler has the job:
// empty then, otherwise the message for the user, and then no job was left behind.
QString PrintDocumentOn(CPeltoDoc& doc, const std::optional<QString>& queue, const QString& title);

} // namespace pelto
