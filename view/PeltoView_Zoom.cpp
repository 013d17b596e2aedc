// The view's zoom: the commands, the wheel, and the scroll position kept.
#include "PeltoView.h"

#include "DevicePointer.h"
#include "ViewRendering.h"

#include <QCoreApplication>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>

namespace pelto {

void CPeltoView::SetZoom(CZoom zoom, QPointF anchor) {
    if (zoom.num == m_zoom.num && zoom.den == m_zoom.den) return;
    // The picture pixel under the anchor's dot stays under it.
    const qreal ratio = Ratio();
    const QPoint scroll =
        ScrollKeepingAnchor(ScreenScroll(), DevicePixel(anchor, ratio), m_zoom, zoom);
    m_zoom = zoom;
    UpdateScrollBars();
    horizontalScrollBar()->setValue(int(std::lround(scroll.x() / ratio)));
    verticalScrollBar()->setValue(int(std::lround(scroll.y() / ratio)));
    viewport()->update();
    FollowPreview();
    emit zoomChanged();
}

void CPeltoView::OnViewZoomIn() {
    SetZoom(ZoomIn(m_zoom), viewport()->rect().center());
}

void CPeltoView::OnViewZoomOut() {
    SetZoom(ZoomOut(m_zoom), viewport()->rect().center());
}

void CPeltoView::OnViewZoomActual() {
    SetZoom({}, viewport()->rect().center());
}

void CPeltoView::OnViewZoomFit() {
    // The scroll bars go once the picture fits, so the whole area counts.
    SetZoom(FitZoom(PictureSize(GetDocument()), maximumViewportSize() * Ratio()), {});
}

void CPeltoView::wheelEvent(QWheelEvent* event) {
    const Qt::KeyboardModifiers keys = event->modifiers();
    if ((keys & Qt::ShiftModifier) && !(keys & Qt::ControlModifier)) {
        // Shift turns the wheel sideways, as the horizontal bar's own wheel would scroll.
        QWheelEvent sideways(event->position(), event->globalPosition(),
                             event->pixelDelta().transposed(), event->angleDelta().transposed(),
                             event->buttons(), keys & ~Qt::ShiftModifier, event->phase(),
                             event->inverted(), event->source());
        QCoreApplication::sendEvent(horizontalScrollBar(), &sideways);
        event->accept();
        return;
    }
    if (!(keys & Qt::ControlModifier) || event->angleDelta().y() == 0)
        return QAbstractScrollArea::wheelEvent(event);
    SetZoom(event->angleDelta().y() > 0 ? ZoomIn(m_zoom) : ZoomOut(m_zoom),
            ExactPointer(*viewport(), event->position()));
    event->accept();
}

} // namespace pelto
