#include "Program.h"

#include "CommandLine.h"
#include "PeltoApp.h"
#include "ProgramUsage.h"

#include <QApplication>

#include <cstdio>

namespace pelto {

namespace {

// Printing shows no window, so it must not need a display: without one the
// usual platform would end the program before it could print.
void PrintWithoutDisplay(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CCommandLineInfo::Shell command = ParseCommandLine(arguments).m_nShellCommand;
    if (command == CCommandLineInfo::FilePrint || command == CCommandLineInfo::FilePrintTo)
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace

int RunProgram(int argc, char** argv, const std::function<void(CPeltoApp&)>& started) {
    if (const std::optional<std::string> answer = ProgramAnswer({argv + 1, argv + argc})) {
        std::fputs(answer->c_str(), stdout);
        return 0;
    }
    PrintWithoutDisplay(argc, argv);
    QApplication application(argc, argv);
    CPeltoApp app;
    if (!app.InitInstance(QApplication::arguments().mid(1))) return app.ExitCode();
    if (started) started(app);
    return application.exec();
}

} // namespace pelto
