#include "HelpFile.h"

#include <QDir>
#include <QFileInfo>

namespace pelto {

namespace {

// The file of this name beside the program or in the data folder, if either holds it.
QString Found(const QFileInfo& program, const QString& name) {
    const QString beside = program.path() + u'/' + name;
    const QString installed = QDir::cleanPath(
        program.path() + u'/' + QStringLiteral(PELTO_DATA_FROM_PROGRAM) + u'/' + name);
    for (const QString& path : {beside, installed})
        if (QFileInfo::exists(path)) return path;
    return {};
}

} // namespace

QString HelpFilePath(const QString& programPath, Language language) {
    const QFileInfo program(programPath);
    const QString japanese = program.completeBaseName() + QStringLiteral(".HLP");
    const QString own = language == Language::English
                            ? program.completeBaseName() + QStringLiteral(".en.HLP")
                            : japanese;
    for (const QString& name : {own, japanese}) {
        const QString found = Found(program, name);
        if (!found.isEmpty()) return found;
    }
    return program.path() + u'/' + own;
}

} // namespace pelto
