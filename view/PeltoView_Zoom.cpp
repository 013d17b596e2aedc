// The view's zoom: the commands, the wheel, and the scroll position kept.
#include "PeltoView.h"

#include "ViewRendering.h"

#include <QScrollBar>
#include <QWheelEvent>

namespace pelto {

void CPeltoView::SetZoom(CZoom zoom, QPoint anchor) {
    if (zoom.num == m_zoom.num && zoom.den == m_zoom.den) return;
    const QPoint scroll = ScrollKeepingAnchor(GetScrollPosition(), anchor, m_zoom, zoom);
    m_zoom = zoom;
    UpdateScrollBars();
    horizontalScrollBar()->setValue(scroll.x());
    verticalScrollBar()->setValue(scroll.y());
    viewport()->update();
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
    SetZoom(FitZoom(PictureSize(GetDocument()), maximumViewportSize()), {});
}

void CPeltoView::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier) || event->angleDelta().y() == 0)
        return QAbstractScrollArea::wheelEvent(event);
    const QPoint pointer = event->position().toPoint();
    SetZoom(event->angleDelta().y() > 0 ? ZoomIn(m_zoom) : ZoomOut(m_zoom), pointer);
    event->accept();
}

} // namespace pelto
