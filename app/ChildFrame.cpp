#include "ChildFrame.h"

#include "DocumentSlot.h"
#include "view/PeltoView.h"

#include <QCloseEvent>
#include <QIcon>
#include <QStyle>
#include <QStyleOptionTitleBar>

namespace pelto {

CChildFrame::CChildFrame(std::shared_ptr<CDocumentSlot> slot, QWidget* parent)
    : QMdiSubWindow(parent), m_pSlot(std::move(slot)),
      m_pView(new CPeltoView(m_pSlot->m_pDocument)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(QIcon(QStringLiteral(":/icons/document.png")));
    setWidget(m_pView);
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    if (m_mayClose && !m_mayClose(*this)) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted()) emit frameClosed();
}

void CChildFrame::changeEvent(QEvent* event) {
    QMdiSubWindow::changeEvent(event);
    // However small the picture, the whole title and every button stay usable.
    if (event->type() == QEvent::WindowTitleChange) setMinimumSize(TitleBarSize());
}

QSize CChildFrame::TitleBarSize() const {
    QStyleOptionTitleBar option;
    option.initFrom(this);
    option.subControls = QStyle::SC_All;
    option.titleBarFlags = windowFlags();
    option.titleBarState = int(windowState());
    const int probe = 1000;
    const int height = style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, this);
    option.rect = QRect(0, 0, probe, height);
    const int label =
        style()
            ->subControlRect(QStyle::CC_TitleBar, &option, QStyle::SC_TitleBarLabel, this)
            .width();
    const int frame = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
    // Styles draw the title in bold.
    QFont font = this->font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    return {probe - label + 2 * frame + metrics.horizontalAdvance(windowTitle()) +
                metrics.averageCharWidth(),
            height + 2 * frame};
}

} // namespace pelto
