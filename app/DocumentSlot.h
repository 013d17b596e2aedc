#pragma once
// One open document as the windows know it: the document, shared by every
// window that shows it, and the file it was read from or last saved to.

#include "document/PeltoDoc.h"

#include <QFileInfo>
#include <QString>

#include <memory>

namespace pelto {

struct CDocumentSlot {
    std::shared_ptr<CPeltoDoc> m_pDocument;
    QString m_strPathName;

    QString GetTitle() const { return QFileInfo(m_strPathName).fileName(); }

    // Whether path names this slot's file, through whatever links, "." or ".."
    // either name takes; a file no longer on the disk goes by its absolute path.
    bool HoldsFile(const QString& path) const { return Identity(m_strPathName) == Identity(path); }

private:
    static QString Identity(const QString& path) {
        const QFileInfo file(path);
        const QString canonical = file.canonicalFilePath();
        return canonical.isEmpty() ? file.absoluteFilePath() : canonical;
    }
};

} // namespace pelto
