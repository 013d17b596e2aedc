#include "PeltoApp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    CPeltoApp app;
    if (!app.InitInstance(QApplication::arguments().mid(1))) return app.ExitCode();
    return application.exec();
}
