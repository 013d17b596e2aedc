// The main frame's Help commands and the About box.
#include "AboutDlg.h"
#include "HelpFile.h"
#include "HelpWindow.h"
#include "MainFrame.h"
#include "dialogs/MessageBox.h"
#include "document/DocMessages.h"

#include <QCoreApplication>
#include <QFile>
#include <QWhatsThis>

#include <cerrno>

namespace pelto {

void CMainFrame::OnHelp() {
    const QString path =
        HelpFilePath(QCoreApplication::applicationFilePath(), m_language.Current());
    if (!m_pHelpWindow) {
        m_pHelpWindow = new CHelpWindow(this);
        // Over the program, not wherever the window system starts new windows.
        m_pHelpWindow->move(frameGeometry().center() - m_pHelpWindow->rect().center());
    }
    if (!m_pHelpWindow->ShowFile(path))
        AfxMessageBox(QString::fromStdString(
                          docmsg::CannotOpen(QFile::encodeName(path).toStdString(), ENOENT)),
                      this);
}

void CMainFrame::OnContextHelp() {
    QWhatsThis::enterWhatsThisMode();
}

void CMainFrame::OnAppAbout() {
    CAboutDlg about;
    about.exec();
}

} // namespace pelto
