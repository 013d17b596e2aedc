#include "PrivateCups.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <cups/cups.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace pelto {

namespace {

constexpr int kStartMilliseconds = 15000;
constexpr int kAdminMilliseconds = 30000;

// A4 with margins by default, US Letter with others, handing the PDF on
// through CUPS's pass-through filter: a raw queue writes nothing into a file
// device, a filter is needed.
constexpr const char* kFilePpd = R"PPD(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "PELTOFIL.PPD"
*Manufacturer: "Pelto"
*Product: "(PDF to file)"
*ModelName: "PDF to file"
*ShortNickName: "PDF to file"
*NickName: "PDF to file"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: True
*DefaultColorSpace: RGB
*FileSystem: False
*Throughput: "1"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*cupsFilter2: "application/pdf application/vnd.cups-pdf 0 gziptoany"
*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]/ImagingBBox null>>setpagedevice"
*PageSize Letter/US Letter: "<</PageSize[612 792]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: A4
*PageRegion A4/A4: "<</PageSize[595 842]/ImagingBBox null>>setpagedevice"
*PageRegion Letter/US Letter: "<</PageSize[612 792]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: A4
*ImageableArea A4/A4: "18 36 577 806"
*ImageableArea Letter/US Letter: "36 18 576 738"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
*PaperDimension Letter/US Letter: "612 792"
)PPD";

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
}

QString FindProgram(const QString& name) {
    const QString found = QStandardPaths::findExecutable(name);
    if (!found.isEmpty()) return found;
    return QStandardPaths::findExecutable(name, {"/usr/sbin", "/usr/local/sbin", "/sbin"});
}

struct Jobs {
    explicit Jobs(const char* queue, int which) {
        count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue, 0, which);
    }
    ~Jobs() { cupsFreeJobs(count, jobs); }
    cups_job_t* jobs = nullptr;
    int count = 0;
};

} // namespace

PrivateCups::PrivateCups() : m_oldServer(qgetenv("CUPS_SERVER")), m_oldHome(qgetenv("HOME")) {
    if (Start()) CreatePdfQueue();
}

PrivateCups::~PrivateCups() {
    if (m_scheduler.state() != QProcess::NotRunning) {
        m_scheduler.terminate();
        if (!m_scheduler.waitForFinished(10000)) {
            m_scheduler.kill();
            m_scheduler.waitForFinished(5000);
        }
    }
    cupsSetServer(nullptr);
    qputenv("CUPS_SERVER", m_oldServer);
    if (m_oldServer.isEmpty()) qunsetenv("CUPS_SERVER");
    qputenv("HOME", m_oldHome);
    if (m_oldHome.isEmpty()) qunsetenv("HOME");
}

bool PrivateCups::Start() {
    const QString cupsd = FindProgram("cupsd");
    if (cupsd.isEmpty()) {
        m_skipReason =
            "no cupsd on this machine (Debian package cups; scripts/setup.sh installs it)";
        return false;
    }
    namespace fs = std::filesystem;
    // Filters run as the scheduler's own user, who must reach the spool.
    fs::permissions(m_dir.Path(),
                    fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    for (const char* sub : {"conf", "spool", "spool/tmp", "cache", "state", "log", "out"})
        fs::create_directories(m_dir.File(sub));
    fs::permissions(m_dir.File("out"), fs::perms::all);
    WriteText(m_dir.File("conf/cupsd.conf"), "LogLevel info\n"
                                             "Listen " +
                                                 Socket() +
                                                 "\n"
                                                 "Browsing Off\n"
                                                 "WebInterface No\n"
                                                 "DefaultAuthType None\n"
                                                 "<Location />\n  Order allow,deny\n  Allow all\n"
                                                 "</Location>\n"
                                                 "<Policy default>\n  <Limit All>\n"
                                                 "    Order deny,allow\n  </Limit>\n</Policy>\n");
    WriteText(m_dir.File("conf/cups-files.conf"),
              "ServerRoot " + m_dir.File("conf") + "\nRequestRoot " + m_dir.File("spool") +
                  "\nTempDir " + m_dir.File("spool/tmp") + "\nCacheDir " + m_dir.File("cache") +
                  "\nStateDir " + m_dir.File("state") + "\nErrorLog " +
                  m_dir.File("log/error_log") + "\nAccessLog " + m_dir.File("log/access_log") +
                  "\nPageLog " + m_dir.File("log/page_log") +
                  "\nFileDevice Yes\nSystemGroup root\n");
    WriteText(m_dir.File("file.ppd"), kFilePpd);

    qputenv("CUPS_SERVER", QByteArray::fromStdString(Socket()));
    qputenv("HOME", QByteArray::fromStdString(m_dir.Path()));
    qunsetenv("LPDEST");
    qunsetenv("PRINTER");
    cupsSetServer(Socket().c_str());

    m_scheduler.setProcessChannelMode(QProcess::MergedChannels);
    // Should the test die, its scheduler goes with it.
    m_scheduler.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_scheduler.start(cupsd, {"-f", "-c", QString::fromStdString(m_dir.File("conf/cupsd.conf")),
                              "-s", QString::fromStdString(m_dir.File("conf/cups-files.conf"))});
    if (!m_scheduler.waitForStarted(kStartMilliseconds)) {
        m_skipReason = "cupsd did not start: " + m_scheduler.errorString().toStdString();
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (http_t* http = httpConnect2(Socket().c_str(), ippPort(), nullptr, AF_UNSPEC,
                                        HTTP_ENCRYPTION_IF_REQUESTED, 1, 1000, nullptr)) {
            httpClose(http);
            break;
        }
        if (m_scheduler.state() == QProcess::NotRunning || clock.elapsed() > kStartMilliseconds) {
            m_skipReason = "the private cupsd never answered on " + Socket() + ": " +
                           m_scheduler.readAll().toStdString() + LogTail();
            return false;
        }
        QThread::msleep(50);
    }
    std::string error;
    const QString output = QString::fromStdString("file://" + FileOutput());
    const QString ppd = QString::fromStdString(m_dir.File("file.ppd"));
    if (!Admin("lpadmin", {"-p", kFileQueue, "-E", "-v", output, "-P", ppd}, &error) ||
        !Admin("lpadmin",
               {"-p", kLetterQueue, "-E", "-v", output, "-P", ppd, "-o", "PageSize=Letter"},
               &error) ||
        !Admin("lpadmin", {"-d", kFileQueue}, &error)) {
        m_skipReason = "the private cupsd refused the file queues: " + error;
        return false;
    }
    return true;
}

void PrivateCups::CreatePdfQueue() {
    const char* backend = "/usr/lib/cups/backend/cups-pdf";
    QString ppd;
    for (const char* candidate :
         {"/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd", "/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd"})
        if (QFile::exists(candidate)) ppd = candidate;
    if (!QFile::exists(backend) || ppd.isEmpty()) {
        m_pdfSkipReason = "no cups-pdf (Debian package printer-driver-cups-pdf)";
        return;
    }
    // CUPS runs a backend that only its owner may run as root, and only when
    // the scheduler itself is root.
    if (geteuid() != 0) {
        m_pdfSkipReason = "cups-pdf needs a scheduler running as root";
        return;
    }
    std::string error;
    if (!Admin("lpadmin", {"-p", kPdfQueue, "-E", "-v", "cups-pdf:/", "-P", ppd}, &error))
        m_pdfSkipReason = "the private cupsd refused the cups-pdf queue: " + error;
}

bool PrivateCups::Admin(const QString& program, const QStringList& arguments, std::string* error) {
    const QString path = FindProgram(program);
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (!path.isEmpty()) process.start(path, arguments);
    const bool ran = !path.isEmpty() && process.waitForFinished(kAdminMilliseconds) &&
                     process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!ran && error)
        *error = program.toStdString() + ": " +
                 (path.isEmpty() ? std::string("not found") : process.readAll().toStdString());
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(5000);
    }
    return ran;
}

int PrivateCups::JobCount(const char* queue) const {
    return Jobs(queue, CUPS_WHICHJOBS_ALL).count;
}

std::vector<int> PrivateCups::CompletedJobs(const char* queue) const {
    const Jobs jobs(queue, CUPS_WHICHJOBS_COMPLETED);
    std::vector<int> ids;
    for (int i = 0; i < jobs.count; ++i)
        if (jobs.jobs[i].state == IPP_JSTATE_COMPLETED) ids.push_back(jobs.jobs[i].id);
    return ids;
}

bool PrivateCups::WaitUntilIdle(const char* queue, int timeoutMs) const {
    QElapsedTimer clock;
    clock.start();
    while (Jobs(queue, CUPS_WHICHJOBS_ACTIVE).count > 0) {
        if (clock.elapsed() > timeoutMs) return false;
        QThread::msleep(50);
    }
    return true;
}

std::string PrivateCups::LogTail() const {
    QFile log(QString::fromStdString(m_dir.File("log/error_log")));
    if (!log.open(QIODevice::ReadOnly)) return {};
    return log.readAll().right(2000).toStdString();
}

} // namespace pelto
