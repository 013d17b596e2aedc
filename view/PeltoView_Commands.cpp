// The view's Edit commands and its picking mode.
#include "PeltoView.h"

#include "DevicePointer.h"
#include "MemoryReport.h"
#include "ParamDialogs.h"
#include "PickCursor.h"
#include "PointerHover.h"
#include "PreviewWorker.h"
#include "ViewMessages.h"
#include "ViewRendering.h"
#include "ViewZoom.h"
#include "WaitCursor.h"
#include "dialogs/MessageBox.h"
#include "document/DocMessages.h"
#include "document/PeltoDoc.h"
#include "document/StyleRun.h"
#include "image/MaskDib.h"

#include <QMouseEvent>

namespace pelto {

void CPeltoView::ApplyStyle(const ButtonStyle& style) {
    StyleRunEnd end;
    if (!RunReportingMemory(this, [&] { end = pelto::ApplyStyle(GetDocument(), style); })) return;
    if (end.refusal != StyleRefusal::None) {
        AfxMessageBox(QString::fromStdString(end.message), this);
        return;
    }
    m_buttonParams = style.params;
    RedrawNow();
    emit documentChanged();
}

void CPeltoView::OnEditBgcolor() {
    int tolerance = m_nTolerance;
    bool connected = m_bConnected;
    if (!AskTolerance(tolerance, connected, this)) return;
    m_nTolerance = tolerance;
    m_bConnected = connected;
    m_bPicking = true;
    m_hPickCursor = LoadPickCursor(Ratio());
    m_keyPick.reset();
    viewport()->setCursor(m_hPickCursor);
    viewport()->setMouseTracking(true);
    viewport()->grabMouse(m_hPickCursor);
    // The arrow keys, Return and Escape work the crosshair too.
    grabKeyboard();
}

void CPeltoView::EndPicking() {
    viewport()->unsetCursor();
    viewport()->setMouseTracking(false);
    viewport()->releaseMouse();
    releaseKeyboard();
    ForgetStaleHover();
    m_bPicking = false;
    m_keyPick.reset();
}

void CPeltoView::PickAt(std::optional<QPoint> image) {
    EndPicking();
    if (!image) return;
    const BackgroundPick pick{image->x(), image->y(), m_nTolerance, m_bConnected};
    RunReportingMemory(this, [&] { GetDocument().SelectBackground(pick); });
    RedrawNow();
    emit documentChanged();
}

void CPeltoView::mouseMoveEvent(QMouseEvent* event) {
    // Once the mouse, not the keys, moves the crosshair, it picks under the pointer.
    if (m_keyPick && event->globalPosition().toPoint() != m_keyPointer) m_keyPick.reset();
    QAbstractScrollArea::mouseMoveEvent(event);
}

void CPeltoView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mousePressEvent(event);
    if (m_bPicking) {
        // A click beside the picture, or outside the window, picks nothing.
        PickAt(PickedImagePoint(ExactPointer(*viewport(), event->position()), viewport()->size(),
                                ScreenScroll(), PictureSize(GetDocument()), m_zoom, Ratio()));
    } else {
        GetDocument().ClearSelection();
        RedrawNow();
        emit documentChanged();
    }
    QAbstractScrollArea::mousePressEvent(event);
}

bool CPeltoView::AskButtonParamsPreviewing(ButtonParams& params) {
    std::unique_ptr<CPreviewWorker> worker; // made when the first values come
    const auto preview = [&](std::optional<ButtonParams> values) {
        m_previewValues = values;
        if (!values) {
            if (worker) worker->Drop();
            return ShowPreview(nullptr);
        }
        try {
            if (!worker) {
                worker = std::make_unique<CPreviewWorker>(
                    GetDocument().Picture(), *GetDocument().Selection(), GetDocument().Opacity());
                connect(worker.get(), &CPreviewWorker::ready, this, &CPeltoView::ShowPreview);
                m_pPreviewWorker = worker.get();
            }
            worker->Request(*values, PreviewArea());
        } catch (const std::bad_alloc&) {
            // Too big to preview: the dialog goes on without one.
            m_previewValues.reset();
        }
    };
    const bool accepted = AskButtonParams(params, this, preview, VisiblePictureOnScreen());
    m_pPreviewWorker = nullptr;
    m_previewValues.reset();
    worker.reset();
    ShowPreview(nullptr);
    return accepted;
}

PixelArea CPeltoView::PreviewArea() const {
    const QSize picture = PictureSize(GetDocument());
    const QPoint end = DevicePixel(QPointF(viewport()->width(), viewport()->height()), Ratio());
    const QRect shown =
        PicturePixelsInSight(ScreenScroll(), QSize(end.x(), end.y()), picture, m_zoom);
    if (shown.isEmpty()) return {};
    // Stored rows run from the bottom.
    return {shown.left(), picture.height() - 1 - shown.bottom(), shown.right() + 1,
            picture.height() - shown.top()};
}

void CPeltoView::FollowPreview() {
    if (m_pPreviewWorker && m_previewValues)
        m_pPreviewWorker->Request(*m_previewValues, PreviewArea());
}

void CPeltoView::OnEditMakebutton() {
    if (!GetDocument().HasSelection()) {
        AfxMessageBox(tr(kMsgNoSelection), this);
        return;
    }
    ButtonParams params = CurrentButtonParams();
    if (!AskButtonParamsPreviewing(params)) return;
    m_buttonParams = params;
    const bool made = RunReportingMemory(this, [&] {
        CWaitCursor wait(viewport());
        GetDocument().MakeButton(params);
    });
    if (!made) return;
    RedrawNow();
    emit documentChanged();
}

void CPeltoView::OnEditCutOut() {
    if (!GetDocument().HasSelection()) return;
    const bool cut = RunReportingMemory(this, [&] {
        CWaitCursor wait(viewport());
        GetDocument().CutOut();
    });
    if (!cut) return;
    RedrawNow();
    emit documentChanged();
}

bool CPeltoView::OnUpdateEditUndo() const {
    return GetDocument().CanUndo();
}

void CPeltoView::OnEditUndo() {
    if (!OnUpdateEditUndo()) return;
    if (!RunReportingMemory(this, [&] { GetDocument().Undo(); })) return;
    RedrawNow();
    emit documentChanged();
}

bool CPeltoView::OnUpdateEditRedo() const {
    return GetDocument().CanRedo();
}

void CPeltoView::OnEditRedo() {
    if (!OnUpdateEditRedo()) return;
    GetDocument().Redo();
    RedrawNow();
    emit documentChanged();
}

} // namespace pelto
