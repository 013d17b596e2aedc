#pragma once
// CPeltoApp: the program. Loads the language chosen (Japanese at first) and
// the recent files, makes the main frame and runs the command line. A document window
// exists only for an opened file: with nothing named, the frame comes up empty.

#include "Language.h"
#include "RecentFileList.h"

#include <QStringList>

#include <memory>

namespace pelto {

class CMainFrame;
struct CCommandLineInfo;

class CPeltoApp {
public:
    CPeltoApp();
    ~CPeltoApp();

    // arguments: without the program's own name. False when the program
    // should end at once, with ExitCode(): after printing, or when the named
    // file was refused (its messages already shown); the main window is then
    // never shown.
    bool InitInstance(const QStringList& arguments);
    int ExitCode() const { return m_nExitCode; }

    CMainFrame* GetMainFrame() const { return m_pMainWnd.get(); }
    CRecentFileList& GetRecentFiles() { return m_recentFiles; }

private:
    bool PrintFile(const CCommandLineInfo& info);

    CLanguage m_language;
    CRecentFileList m_recentFiles;
    std::unique_ptr<CMainFrame> m_pMainWnd;
    int m_nExitCode = 0;
};

} // namespace pelto
