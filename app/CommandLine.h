#pragma once
// The shell command on the program's command line. "p" prints the named file
// on the default printer, "pt" prints it on the printer, driver and port that
// follow it; both switches may start with '/' or '-'. Any other argument
// starting with '/' is a path; other '-' switches are ignored. The first plain
// argument names the file; to open, every plain argument names one.

#include <QStringList>

namespace pelto {

struct CCommandLineInfo {
    enum Shell { FileNew, FileOpen, FilePrint, FilePrintTo };

    Shell m_nShellCommand = FileNew;
    QString m_strFileName;
    QStringList m_strFileNames; // every file to open, the first being m_strFileName
    QString m_strPrinterName;
    QString m_strDriverName;
    QString m_strPortName;
};

// arguments: without the program's own name.
CCommandLineInfo ParseCommandLine(const QStringList& arguments);

} // namespace pelto
