#include "Program.h"

#include "PeltoApp.h"

#include <QApplication>

namespace pelto {

int RunProgram(int argc, char** argv, const std::function<void(CPeltoApp&)>& started) {
    QApplication application(argc, argv);
    CPeltoApp app;
    if (!app.InitInstance(QApplication::arguments().mid(1))) return app.ExitCode();
    if (started) started(app);
    return application.exec();
}

} // namespace pelto
