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
};

} // namespace pelto
