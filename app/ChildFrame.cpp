#include "ChildFrame.h"

#include "DocumentSlot.h"
#include "docview/view/PeltoView.h"

#include <QCloseEvent>
#include <QIcon>

CChildFrame::CChildFrame(std::shared_ptr<CDocumentSlot> slot, QWidget* parent)
    : QMdiSubWindow(parent), m_pSlot(std::move(slot)),
      m_pView(new CPeltoView(m_pSlot->m_pDocument)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(QIcon(QStringLiteral(":/icons/document.png")));
    setWidget(m_pView);
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted()) emit frameClosed();
}
