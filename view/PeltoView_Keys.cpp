// Picking from the keyboard: while the crosshair is out, the arrow keys move
// it a picture pixel (Shift: ten), Return or Space picks under it, Escape
// ends picking without a pick.
#include "PeltoView.h"

#include "DevicePointer.h"
#include "ViewRendering.h"
#include "ViewZoom.h"

#include <QCursor>
#include <QKeyEvent>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace pelto {

std::optional<QPoint> CPeltoView::PixelUnderPointer() const {
    const QPointF pointer =
        ExactPointer(*viewport(), viewport()->mapFromGlobal(QPointF(QCursor::pos())));
    return PickedImagePoint(pointer, viewport()->size(), ScreenScroll(), PictureSize(GetDocument()),
                            m_zoom, Ratio());
}

std::optional<QPoint> CPeltoView::PickTarget() const {
    if (m_keyPick) return m_keyPick;
    return PixelUnderPointer();
}

void CPeltoView::MoveCrosshair(QPoint step) {
    const QSize picture = PictureSize(GetDocument());
    if (picture.isEmpty()) return;
    // From the pixel under the crosshair, or the middle of what is in view.
    std::optional<QPoint> start = PickTarget();
    if (!start)
        start = PickedImagePoint(QRectF(viewport()->rect()).center(), viewport()->size(),
                                 ScreenScroll(), picture, m_zoom, Ratio());
    const QPoint from = start.value_or(QPoint(picture.width() / 2, picture.height() / 2));
    const QPoint at(KeyStepTarget(from.x(), step.x(), picture.width(), m_zoom),
                    KeyStepTarget(from.y(), step.y(), picture.height(), m_zoom));
    m_keyPick = at;
    // The pixel's middle dot, brought into view, and the pointer onto it.
    const qreal ratio = Ratio();
    const QPoint dot(MiddleDot(at.x(), m_zoom), MiddleDot(at.y(), m_zoom));
    BringIntoView((QPointF(dot) + QPointF(0.5, 0.5)) / ratio);
    const QPoint inView = dot - ScreenScroll();
    // Where the pointer goes to whole logical pixels only, the nearest one.
    if (!PutPointerOn(*viewport(), inView))
        QCursor::setPos(viewport()->mapToGlobal((QPointF(inView) / ratio).toPoint()));
    m_keyPointer = QCursor::pos();
}

void CPeltoView::keyPressEvent(QKeyEvent* event) {
    if (!m_bPicking) return QAbstractScrollArea::keyPressEvent(event);
    const int step = event->modifiers() & Qt::ShiftModifier ? 10 : 1;
    switch (event->key()) {
    case Qt::Key_Left:
        return MoveCrosshair({-step, 0});
    case Qt::Key_Right:
        return MoveCrosshair({step, 0});
    case Qt::Key_Up:
        return MoveCrosshair({0, -step});
    case Qt::Key_Down:
        return MoveCrosshair({0, step});
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        return PickAt(PickTarget());
    case Qt::Key_Escape:
        return EndPicking();
    default:
        event->accept();
    }
}

void CPeltoView::BringIntoView(QPointF point) {
    constexpr int kMargin = 4;
    const QPoint scroll = GetScrollPosition();
    const QSize port = viewport()->size();
    const auto axis = [&](QScrollBar* bar, qreal at, int from, int length) {
        if (at - kMargin < from) bar->setValue(int(at) - kMargin);
        if (at + kMargin > from + length) bar->setValue(int(at) + kMargin - length);
    };
    axis(horizontalScrollBar(), point.x(), scroll.x(), port.width());
    axis(verticalScrollBar(), point.y(), scroll.y(), port.height());
}

} // namespace pelto
