#include "PeltoView.h"

#include "PickCursor.h"
#include "PreviewWorker.h"
#include "ViewGeometry.h"
#include "ViewRendering.h"
#include "ZoomedRendering.h"
#include "document/PeltoDoc.h"

#include <QMdiSubWindow>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace pelto {

CPeltoView::CPeltoView(std::shared_ptr<CPeltoDoc> doc, QWidget* parent)
    : QAbstractScrollArea(parent), m_hPickCursor(LoadPickCursor()), m_pDocument(std::move(doc)) {
    setFrameShape(QFrame::NoFrame);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setBackgroundRole(QPalette::Base);
}

void CPeltoView::OnInitialUpdate() {
    UpdateScrollBars();
    QWidget* frame = parentWidget();
    while (frame && !qobject_cast<QMdiSubWindow*>(frame))
        frame = frame->parentWidget();
    if (!frame) return;
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const QSize fitted = ShrinkViewToFit(size(), LogicalContentSize(), extent);
    frame->resize(frame->size() - size() + fitted);
    viewport()->update();
}

QPoint CPeltoView::GetScrollPosition() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

QSize CPeltoView::sizeHint() const {
    const int frame = 2 * frameWidth();
    return LogicalContentSize() + QSize(frame, frame);
}

qreal CPeltoView::Ratio() const {
    return viewport()->devicePixelRatioF();
}

QPoint CPeltoView::ScreenScroll() const {
    return DevicePixel(GetScrollPosition(), Ratio());
}

QRect CPeltoView::VisiblePictureOnScreen() const {
    const QRect picture(-GetScrollPosition(), LogicalContentSize());
    const QRect inSight = picture.intersected(viewport()->rect());
    return inSight.translated(viewport()->mapToGlobal(QPoint(0, 0)));
}

QSize CPeltoView::LogicalContentSize() const {
    const QSize picture = PictureSize(GetDocument());
    return {LogicalLength(ZoomedLength(picture.width(), m_zoom), Ratio()),
            LogicalLength(ZoomedLength(picture.height(), m_zoom), Ratio())};
}

void CPeltoView::UpdateScrollBars() {
    const QSize content = LogicalContentSize();
    // The bars' own room decides whether they are needed, not the viewport as it stands.
    const QSize port =
        ViewportAroundScrollBars(content, maximumViewportSize(),
                                 style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this));
    const ScrollAxis across = ScrollAxisFor(content.width(), port.width());
    const ScrollAxis down = ScrollAxisFor(content.height(), port.height());
    horizontalScrollBar()->setRange(0, across.maximum);
    horizontalScrollBar()->setPageStep(across.page);
    horizontalScrollBar()->setSingleStep(across.line);
    verticalScrollBar()->setRange(0, down.maximum);
    verticalScrollBar()->setPageStep(down.page);
    verticalScrollBar()->setSingleStep(down.line);
}

void CPeltoView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
    FollowPreview();
}

void CPeltoView::scrollContentsBy(int dx, int dy) {
    // Moves what is already on screen; only the uncovered strip is painted.
    // Where a logical pixel is no whole number of dots, everything is painted again.
    if (Ratio() == std::floor(Ratio()))
        viewport()->scroll(dx, dy);
    else
        viewport()->update();
    FollowPreview();
}

void CPeltoView::paintEvent(QPaintEvent* event) {
    const qreal ratio = Ratio();
    const QRect logical = event->rect();
    // The device pixels the exposed part covers, drawn one dot each.
    const QPoint from = DevicePixel(logical.topLeft(), ratio);
    const QPoint to =
        DevicePixel(logical.topLeft() + QPoint(logical.width(), logical.height()), ratio);
    const QRect exposed(from, to - QPoint(1, 1));
    const QRect area = exposed.translated(ScreenScroll());
    const QRgb background = palette().color(QPalette::Base).rgb();
    // Transparency over squares of the same logical size at every scale.
    const int checker = std::max(1, int(std::lround(kCheckerSquare * ratio)));
    // A preview is the picture OK would make: no selection remains on it.
    const QImage part =
        m_pPreviewPicture
            ? RenderZoomed(m_pPreviewPicture->picture,
                           m_pPreviewPicture->alpha.HasBlock() ? &m_pPreviewPicture->alpha
                                                               : nullptr,
                           nullptr, area, m_zoom, background, checker)
            : RenderZoomed(GetDocument(), area, m_zoom, background, checker);
    QPainter painter(viewport());
    painter.scale(1 / ratio, 1 / ratio);
    painter.drawImage(exposed.topLeft(), part);
}

void CPeltoView::ShowPreview(std::shared_ptr<const CPreviewFrame> frame) {
    m_pPreviewPicture = std::move(frame);
    viewport()->update();
}

void CPeltoView::RedrawNow() {
    viewport()->repaint();
}

} // namespace pelto
