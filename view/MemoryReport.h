#pragma once
// Operations that allocate a raster leave the document as it was when memory
// runs out; the user is told and may go on.

#include "dialogs/MessageBox.h"
#include "document/DocMessages.h"

#include <QString>

#include <new>

class QWidget;

namespace pelto {

template <typename Operation> bool RunReportingMemory(QWidget* parent, Operation operation) {
    try {
        operation();
        return true;
    } catch (const std::bad_alloc&) {
        AfxMessageBox(QString::fromStdString(docmsg::Text(docmsg::kOutOfMemory)), parent);
        return false;
    }
}

} // namespace pelto
