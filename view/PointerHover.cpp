#include "PointerHover.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QWidget>

namespace pelto {

void ForgetStaleHover() {
    const QPoint pointer = QCursor::pos();
    for (QWidget* widget : QApplication::allWidgets()) {
        if (!widget->testAttribute(Qt::WA_UnderMouse) || !widget->isVisible()) continue;
        if (widget->rect().contains(widget->mapFromGlobal(pointer))) continue;
        // As the toolkit's own leave does: the flag first, then the event.
        widget->setAttribute(Qt::WA_UnderMouse, false);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(widget, &leave);
    }
}

} // namespace pelto
