#include "HelpFile.h"

#include <QFileInfo>

namespace pelto {

QString HelpFilePath(const QString& programPath) {
    const QFileInfo program(programPath);
    return program.path() + u'/' + program.completeBaseName() + QStringLiteral(".HLP");
}

} // namespace pelto
