#pragma once
// A CUPS scheduler of the test's own: configuration, spool, logs and a local
// socket in a fresh folder, so the machine's own printing is never touched.
// CUPS_SERVER points this process and the programs it starts at it, HOME is
// the folder (no user's lpoptions apply). It has three queues:
//   kFileQueue  hands on the PDF it gets unchanged into FileOutput(); its page
//               is A4 with the imageable area "18 36 577 806" (points), so its
//               printable area starts 18 pt from the left and 36 pt from the top;
//   kLetterQueue the same with US Letter for its default, its imageable area
//               "36 18 576 738": 36 pt from the left, 54 pt from the top;
//   kPdfQueue   the cups-pdf printer a desktop user has (Debian's
//               printer-driver-cups-pdf): A4, the whole page printable; its PDF
//               lands in the PDF folder of the job's user.
// kFileQueue is the default. Only the scheduler started here is stopped, with
// this object. When it cannot run, SkipReason() says why.

#include "support/TempDir.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace pelto {

class PrivateCups {
public:
    static constexpr const char* kFileQueue = "pelto-file";
    static constexpr const char* kLetterQueue = "pelto-letter";
    static constexpr const char* kPdfQueue = "pelto-pdf";

    PrivateCups();
    ~PrivateCups();
    PrivateCups(const PrivateCups&) = delete;
    PrivateCups& operator=(const PrivateCups&) = delete;

    // Empty when the scheduler runs with kFileQueue and kLetterQueue.
    const std::string& SkipReason() const { return m_skipReason; }
    // Empty when kPdfQueue exists too.
    const std::string& PdfQueueSkipReason() const { return m_pdfSkipReason; }

    // Where both file queues write: a test prints on one of them.
    std::string FileOutput() const { return m_dir.File("out/page.pdf"); }
    std::string Socket() const { return m_dir.File("cups.sock"); }
    std::string Folder() const { return m_dir.Path(); }

    // Runs an administration program (lpadmin, cupsdisable, ...) against this
    // scheduler; false, with its output in error, when it failed or overran.
    bool Admin(const QString& program, const QStringList& arguments, std::string* error = nullptr);

    // Jobs the queue holds in any state, and the ids of those it completed.
    int JobCount(const char* queue) const;
    std::vector<int> CompletedJobs(const char* queue) const;
    // Waits, at most timeoutMs, until the queue has no job waiting or printing.
    bool WaitUntilIdle(const char* queue, int timeoutMs = 60000) const;

private:
    bool Start();
    void CreatePdfQueue();
    std::string LogTail() const;

    TempDir m_dir;
    QProcess m_scheduler;
    std::string m_skipReason;
    std::string m_pdfSkipReason;
    QByteArray m_oldServer, m_oldHome;
};

} // namespace pelto
