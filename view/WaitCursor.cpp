#include "WaitCursor.h"

#include "PointerHover.h"

#include <QGuiApplication>
#include <QWidget>

namespace pelto {

CWaitCursor::CWaitCursor(QWidget* capture) : m_pCapture(capture) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_pCapture->grabMouse();
}

CWaitCursor::~CWaitCursor() {
    m_pCapture->releaseMouse();
    ForgetStaleHover();
    QGuiApplication::restoreOverrideCursor();
}

} // namespace pelto
