#include "HelpFile.h"

#include <QFileInfo>

QString HelpFilePath(const QString& programPath) {
    const QFileInfo program(programPath);
    return program.path() + u'/' + program.completeBaseName() + QStringLiteral(".HLP");
}
