// The program as a user runs it to print, "/p FILE" and "/pt FILE PRINTER
// DRIVER PORT", against the private scheduler: it ends with exit 0 without
// showing its window, with or without a display, and the queue's page shows
// the picture. Every failure ends with its message on standard error and a
// non-zero exit, within a limit.
#include "AppFixture.h"
#include "PrintFixture.h"

#include "app/AppStrings.h"
#include "document/DocMessages.h"
#include "document/DocumentFile.h"
#include "print/PrintMessages.h"

#include <QFile>
#include <QProcess>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace pelto {

namespace {

constexpr int kProgramMilliseconds = 120000;

struct ProgramRun {
    bool finished = false;
    int exitCode = -1;
    QString errors;
};

// None: no display at all, and no platform chosen for the program.
enum class Screen { Offscreen, None };

ProgramRun RunPeltoTool(const QStringList& arguments, const QString& cupsServer = {},
                        Screen screen = Screen::Offscreen) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (screen == Screen::Offscreen)
        environment.insert("QT_QPA_PLATFORM", "offscreen");
    else
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(name);
    if (!cupsServer.isEmpty()) environment.insert("CUPS_SERVER", cupsServer);
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(PELTO_PROGRAM, arguments);
    ProgramRun run;
    run.finished = program.waitForFinished(kProgramMilliseconds);
    if (!run.finished) {
        program.kill();
        program.waitForFinished(5000);
    }
    run.exitCode = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    run.errors = QString::fromUtf8(program.readAllStandardError());
    return run;
}

// A picture file named for this process, so cups-pdf's files never clash.
std::string WritePictureFile(const TempDir& dir, CPeltoDoc& doc, Picture picture) {
    const std::string path =
        dir.File(PictureName(picture) + "-" + std::to_string(getpid()) + ".bmp");
    EXPECT_EQ(SaveDocument(doc, path), "");
    return path;
}

enum class Command { Print, PrintHyphen, PrintToFileQueue, PrintToPdfQueue };

struct CommandCase {
    Command command;
    Picture picture;
    Made made;
    Screen screen = Screen::Offscreen;
};

const char* QueueOf(Command command) {
    return command == Command::PrintToPdfQueue ? PrivateCups::kPdfQueue : PrivateCups::kFileQueue;
}

QStringList Arguments(Command command, const QString& file) {
    switch (command) {
    case Command::Print:
        return {"/p", file};
    case Command::PrintHyphen:
        return {"-p", file};
    case Command::PrintToFileQueue:
        return {"/pt", file, PrivateCups::kFileQueue, "driver", "port"};
    case Command::PrintToPdfQueue:
        break;
    }
    return {"/pt", file, PrivateCups::kPdfQueue, "driver", "port"};
}

class PrintCommandTest : public WithPrivateCups, public testing::WithParamInterface<CommandCase> {};

TEST_P(PrintCommandTest, EndsWithExitZeroAndThePageShowsThePicture) {
    const CommandCase& c = GetParam();
    const std::string missing = MissingQueue(QueueOf(c.command));
    if (!missing.empty()) GTEST_SKIP() << missing;
    const std::unique_ptr<CPeltoDoc> doc = MakeDocument(c.picture, c.made);
    TempDir dir;
    const std::string file = WritePictureFile(dir, *doc, c.picture);

    const ProgramRun run =
        RunPeltoTool(Arguments(c.command, QString::fromStdString(file)), {}, c.screen);
    ASSERT_TRUE(run.finished);
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_FALSE(run.errors.contains(QString::fromUtf8(kAppCaption) + ":"))
        << run.errors.toStdString();

    std::string error;
    const std::string title = file.substr(file.rfind('/') + 1);
    const std::string pdf = PrintedPdf(QueueOf(c.command), title, &error);
    ASSERT_TRUE(error.empty()) << error;
    EXPECT_EQ(m_cups->CompletedJobs(QueueOf(c.command)).size(), 1u);
    // Opened just now, the document has no selection: the page is the picture.
    EXPECT_EQ(CheckPage(pdf, Drawing(*doc), PrintableOrigin(QueueOf(c.command))), "");
    if (c.command == Command::PrintToPdfQueue) QFile::remove(QString::fromStdString(pdf));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, PrintCommandTest,
    testing::Values(CommandCase{Command::Print, Picture::Odd37x23, Made::Plain},
                    CommandCase{Command::PrintHyphen, Picture::Wide300x41, Made::Bevelled},
                    CommandCase{Command::PrintToFileQueue, Picture::Tall61x300, Made::Plain},
                    CommandCase{Command::PrintToPdfQueue, Picture::Badge, Made::Plain},
                    CommandCase{Command::PrintToPdfQueue, Picture::Odd37x23, Made::Bevelled},
                    CommandCase{Command::Print, Picture::Odd37x23, Made::Plain, Screen::None},
                    CommandCase{Command::PrintToFileQueue, Picture::Wide300x41, Made::Plain,
                                Screen::None}));

enum class Trouble {
    NoSuchPrinter,
    NoPrinterNamed,
    Stopped,
    Rejecting,
    NoDefault,
    // From here on, no queue is needed.
    NoFile,
    NoFileNamed,
    NoScheduler,
    // A scheduler that takes connections and never answers.
    Silent,
    SilentForQueue
};

struct TroubleCase {
    Trouble trouble;
    const char* name;
};

void PrintTo(const TroubleCase& c, std::ostream* os) {
    *os << c.name;
}

class PrintTroubleTest : public WithPrivateCups, public testing::WithParamInterface<TroubleCase> {
protected:
    // Puts the scheduler in trouble; the arguments and the message expected.
    std::pair<QStringList, QString> Arrange(Trouble trouble, const QString& file) {
        const QString fileQueue = PrivateCups::kFileQueue;
        const auto text = [](const char* utf8) { return QString::fromUtf8(utf8); };
        switch (trouble) {
        case Trouble::NoSuchPrinter:
            return {{"/pt", file, "no-such-queue", "driver", "port"},
                    text(kMsgNoSuchPrinter).arg("no-such-queue")};
        case Trouble::NoPrinterNamed:
            return {{"/pt", file}, text(kMsgNoPrinterNamed)};
        case Trouble::NoFileNamed:
            return {{"/p"}, text(appstr::kMsgNoFileToPrint)};
        case Trouble::Stopped:
            EXPECT_TRUE(m_cups->Admin("cupsdisable", {fileQueue}));
            return {{"/pt", file, fileQueue, "driver", "port"},
                    text(kMsgPrinterStopped).arg(fileQueue)};
        case Trouble::Rejecting:
            EXPECT_TRUE(m_cups->Admin("cupsreject", {fileQueue}));
            return {{"/p", file}, text(kMsgPrinterRejecting).arg(fileQueue)};
        case Trouble::NoDefault:
            // The default queue goes, and no other takes its place.
            EXPECT_TRUE(m_cups->Admin("lpadmin", {"-p", "spare", "-E", "-v", "file:///dev/null"}));
            EXPECT_TRUE(m_cups->Admin("lpadmin", {"-d", "spare"}));
            EXPECT_TRUE(m_cups->Admin("lpadmin", {"-x", "spare"}));
            return {{"/p", file}, text(kMsgNoDefaultPrinter)};
        case Trouble::NoFile: {
            const QString gone = file + ".gone";
            return {{"/p", gone},
                    QString::fromStdString(docmsg::CannotOpen(gone.toStdString(), ENOENT))};
        }
        case Trouble::SilentForQueue:
            return {{"/pt", file, fileQueue, "driver", "port"}, text(kMsgNoPrintSystem)};
        case Trouble::NoScheduler:
        case Trouble::Silent:
            break;
        }
        return {{"/p", file}, text(kMsgNoPrintSystem)};
    }
    // The scheduler the program talks to, empty for the private one; a silent
    // one is a listening socket nobody reads.
    QString Server(Trouble trouble, const TempDir& dir) {
        if (trouble == Trouble::NoScheduler) return QString::fromStdString(dir.File("none.sock"));
        if (trouble < Trouble::Silent) return {};
        sockaddr_un address{AF_UNIX, {}};
        std::strncpy(address.sun_path, dir.File("silent.sock").c_str(),
                     sizeof(address.sun_path) - 1);
        m_silent = socket(AF_UNIX, SOCK_STREAM, 0);
        EXPECT_EQ(bind(m_silent, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        EXPECT_EQ(listen(m_silent, 16), 0);
        return QString::fromUtf8(address.sun_path);
    }
    void TearDown() override {
        if (m_silent >= 0) close(m_silent);
    }

    int m_silent = -1;
};

TEST_P(PrintTroubleTest, SaysWhyAndEndsWithAFailureLeavingNoJob) {
    const TroubleCase& c = GetParam();
    // Without a scheduler the file and the print system are still checked.
    const bool needsQueue = c.trouble < Trouble::NoFile;
    const std::string missing = MissingQueue(PrivateCups::kFileQueue);
    if (needsQueue && !missing.empty()) GTEST_SKIP() << missing;
    const std::unique_ptr<CPeltoDoc> doc = MakeDocument(Picture::Odd37x23, Made::Plain);
    TempDir dir;
    const QString file = QString::fromStdString(WritePictureFile(dir, *doc, Picture::Odd37x23));
    const auto [arguments, message] = Arrange(c.trouble, file);
    const QString server = Server(c.trouble, dir);

    const ProgramRun run = RunPeltoTool(arguments, server);
    ASSERT_TRUE(run.finished);
    EXPECT_GT(run.exitCode, 0);
    EXPECT_TRUE(run.errors.contains(QString::fromUtf8(kAppCaption) + ": " + message))
        << run.errors.toStdString();
    if (missing.empty()) {
        EXPECT_EQ(m_cups->JobCount(PrivateCups::kFileQueue), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Troubles, PrintTroubleTest,
                         testing::Values(TroubleCase{Trouble::NoSuchPrinter, "NoSuchPrinter"},
                                         TroubleCase{Trouble::NoPrinterNamed, "NoPrinterNamed"},
                                         TroubleCase{Trouble::Stopped, "Stopped"},
                                         TroubleCase{Trouble::Rejecting, "Rejecting"},
                                         TroubleCase{Trouble::NoDefault, "NoDefault"},
                                         TroubleCase{Trouble::NoFile, "NoFile"},
                                         TroubleCase{Trouble::NoFileNamed, "NoFileNamed"},
                                         TroubleCase{Trouble::NoScheduler, "NoScheduler"},
                                         TroubleCase{Trouble::Silent, "Silent"},
                                         TroubleCase{Trouble::SilentForQueue, "SilentForQueue"}),
                         [](const testing::TestParamInfo<TroubleCase>& trouble) {
                             return trouble.param.name;
                         });

// In the program's own process: the main window is never made, let alone shown.
struct InProcessCase {
    QStringList switches; // before the file
    QStringList after;    // after it
};

class PrintInProcessTest : public AppFixture, public testing::WithParamInterface<InProcessCase> {};

TEST_P(PrintInProcessTest, EndsWithoutEverMakingTheWindow) {
    PrivateCups cups;
    if (!cups.SkipReason().empty()) GTEST_SKIP() << kPrintSkipped << cups.SkipReason();
    const InProcessCase& c = GetParam();
    const QString path = WritePicture("inprocess.bmp");
    auto app = Start(c.switches + QStringList{path} + c.after);
    EXPECT_FALSE(m_bStarted);
    EXPECT_EQ(app->ExitCode(), 0);
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
    EXPECT_EQ(app->GetMainFrame()->windowHandle(), nullptr);
    EXPECT_FALSE(app->GetMainFrame()->isVisible());
    ASSERT_TRUE(cups.WaitUntilIdle(PrivateCups::kFileQueue));
    EXPECT_EQ(cups.CompletedJobs(PrivateCups::kFileQueue).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Switches, PrintInProcessTest,
    testing::Values(InProcessCase{{"/p"}, {}},
                    InProcessCase{{"/pt"}, {PrivateCups::kFileQueue, "driver", "port"}}));

} // namespace

} // namespace pelto
