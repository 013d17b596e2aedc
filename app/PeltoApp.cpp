#include "PeltoApp.h"

#include "AppStrings.h"
#include "CommandLine.h"
#include "MainFrame.h"
#include "dialogs/MessageBox.h"
#include "document/DocumentFile.h"
#include "platform/Translation.h"
#include "print/ViewPrinting.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace pelto {

CPeltoApp::CPeltoApp() = default;

CPeltoApp::~CPeltoApp() {
    m_pMainWnd.reset();
    m_recentFiles.WriteList();
}

namespace {

// The plain C++ layers' messages are shown here, so they translate as the windows do.
std::string TranslateAsShown(const char* context, const char* source) {
    return QCoreApplication::translate(context, source).toStdString();
}

// A box of a run without windows: a "PeltoTool: text" line on standard error.
void ToStandardError(const QString& text) {
    const QByteArray line =
        (QString::fromUtf8(kAppCaption) + QStringLiteral(": ") + text + u'\n').toUtf8();
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}

} // namespace

bool CPeltoApp::InitInstance(const QStringList& arguments) {
    m_language.ApplySaved();
    translation::Install(&TranslateAsShown);
    m_recentFiles.ReadList();
    m_pMainWnd = std::make_unique<CMainFrame>(m_recentFiles, m_language);

    const CCommandLineInfo info = ParseCommandLine(arguments);
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        m_pMainWnd->OnFileNew();
        break;
    case CCommandLineInfo::FileOpen:
        // Several files start the program if any of them opens.
        if (m_pMainWnd->OpenDocumentFiles(info.m_strFileNames) == 0) {
            m_nExitCode = 1;
            return false;
        }
        break;
    case CCommandLineInfo::FilePrint:
    case CCommandLineInfo::FilePrintTo:
        m_nExitCode = PrintFile(info) ? 0 : 1;
        return false;
    }
    m_pMainWnd->show();
    return true;
}

bool CPeltoApp::PrintFile(const CCommandLineInfo& info) {
    // No window is ever shown in this mode, so nobody would answer a box.
    const CMessageRoute toStandardError(&ToStandardError);
    if (info.m_strFileName.isEmpty()) {
        AfxMessageBox(appstr::Tr(appstr::kMsgNoFileToPrint));
        return false;
    }
    // Without a window to hang, a FIFO's writer is waited for as cat waits for it.
    DocOpenResult opened =
        OpenDocument(QFile::encodeName(info.m_strFileName).toStdString(), CFile::Mode::ReadWaiting);
    if (!opened.doc) {
        for (const std::string& message : opened.messages)
            AfxMessageBox(QString::fromStdString(message));
        return false;
    }
    std::optional<QString> queue;
    if (info.m_nShellCommand == CCommandLineInfo::FilePrintTo) queue = info.m_strPrinterName;
    const QString problem =
        PrintDocumentOn(*opened.doc, queue, QFileInfo(info.m_strFileName).fileName());
    if (problem.isEmpty()) return true;
    AfxMessageBox(problem);
    return false;
}

} // namespace pelto
