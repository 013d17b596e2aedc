#include "HelpWindow.h"

#include <QFileInfo>
#include <QUrl>

namespace pelto {

namespace {
constexpr QSize kHelpWindowSize(560, 480);
} // namespace

CHelpWindow::CHelpWindow(QWidget* parent) : QTextBrowser(parent) {
    setWindowFlag(Qt::Window);
    setOpenExternalLinks(true);
    resize(kHelpWindowSize);
}

bool CHelpWindow::ShowFile(const QString& path) {
    if (!QFileInfo(path).isReadable()) return false;
    // The ".HLP" name says nothing of the content, so the type is given.
    setSource(QUrl::fromLocalFile(path), QTextDocument::HtmlResource);
    setWindowTitle(documentTitle());
    show();
    raise();
    activateWindow();
    return true;
}

} // namespace pelto
