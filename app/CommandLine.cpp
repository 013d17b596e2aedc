#include "CommandLine.h"

namespace pelto {

namespace {

bool IsKnownSwitch(const QString& name) {
    return name == u"p" || name == u"pt";
}

// An absolute path also starts with '/', so a slash marks only a known switch.
bool IsSwitch(const QString& argument) {
    if (argument.size() < 2) return false;
    if (argument[0] == u'-') return true;
    return argument[0] == u'/' && IsKnownSwitch(argument.mid(1).toLower());
}

void TakeParameter(CCommandLineInfo& info, const QString& parameter) {
    if (info.m_nShellCommand == CCommandLineInfo::FilePrintTo) {
        // The file first, then printer, driver and port in turn.
        for (QString* field : {&info.m_strFileName, &info.m_strPrinterName, &info.m_strDriverName,
                               &info.m_strPortName})
            if (field->isEmpty()) {
                *field = parameter;
                return;
            }
        return;
    }
    info.m_strFileNames.append(parameter);
    if (!info.m_strFileName.isEmpty()) return;
    info.m_strFileName = parameter;
    if (info.m_nShellCommand == CCommandLineInfo::FileNew)
        info.m_nShellCommand = CCommandLineInfo::FileOpen;
}

} // namespace

CCommandLineInfo ParseCommandLine(const QStringList& arguments) {
    CCommandLineInfo info;
    for (const QString& argument : arguments) {
        if (!IsSwitch(argument)) {
            TakeParameter(info, argument);
            continue;
        }
        const QString name = argument.mid(1).toLower();
        if (!IsKnownSwitch(name)) continue;
        if (name == u"p")
            info.m_nShellCommand = CCommandLineInfo::FilePrint;
        else if (name == u"pt")
            info.m_nShellCommand = CCommandLineInfo::FilePrintTo;
    }
    return info;
}

} // namespace pelto
