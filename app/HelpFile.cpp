#include "HelpFile.h"

#include <QDir>
#include <QFileInfo>

namespace pelto {

QString HelpFilePath(const QString& programPath) {
    const QFileInfo program(programPath);
    const QString name = program.completeBaseName() + QStringLiteral(".HLP");
    const QString beside = program.path() + u'/' + name;
    const QString installed = QDir::cleanPath(
        program.path() + u'/' + QStringLiteral(PELTO_DATA_FROM_PROGRAM) + u'/' + name);
    return !QFileInfo::exists(beside) && QFileInfo::exists(installed) ? installed : beside;
}

} // namespace pelto
