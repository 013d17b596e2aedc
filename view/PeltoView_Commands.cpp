// The view's Edit commands and its picking mode.
#include "PeltoView.h"

#include "DevicePointer.h"
#include "ParamDialogs.h"
#include "PickCursor.h"
#include "PointerHover.h"
#include "PreviewWorker.h"
#include "ViewMessages.h"
#include "ViewRendering.h"
#include "ViewZoom.h"
#include "WaitCursor.h"
#include "dialogs/MessageBox.h"
#include "document/ButtonStyle.h"
#include "document/DocMessages.h"
#include "document/PeltoDoc.h"
#include "engine/BackgroundSelection.h"
#include "image/MaskDib.h"

#include <QMouseEvent>

#include <functional>
#include <new>
#include <string_view>

namespace pelto {

namespace {

// Operations that allocate a raster leave the document as it was when memory
// runs out; the user is told and may go on.
template <typename Operation> bool RunReportingMemory(QWidget* parent, Operation operation) {
    try {
        operation();
        return true;
    } catch (const std::bad_alloc&) {
        AfxMessageBox(QString::fromStdString(docmsg::Text(docmsg::kOutOfMemory)), parent);
        return false;
    }
}

// A fingerprint of a selection's marks, to tell whether it is still the one
// this view's picks made.
size_t SelectionPrint(const CMaskDIB& mask) {
    if (!mask.m_pBits) return 0;
    return std::hash<std::string_view>()(
        std::string_view(reinterpret_cast<const char*>(mask.m_pBits),
                         size_t(mask.m_nStride) * size_t(mask.m_nHeight)));
}

} // namespace

void CPeltoView::ApplyStyle(const ButtonStyle& style) {
    m_buttonParams = style.params;
    if (!style.background) return;
    CPeltoDoc& doc = GetDocument();
    m_picks.clear();
    RunReportingMemory(this, [&] {
        doc.ClearSelection();
        doc.SelectTransparent();
        for (const BackgroundPick& pick : *style.background) {
            doc.SelectBackground(pick);
            m_picks.push_back(pick);
        }
    });
    if (doc.HasSelection()) m_nPickedPrint = SelectionPrint(*doc.Selection());
    RedrawNow();
    emit documentChanged();
}

std::optional<std::vector<BackgroundPick>> CPeltoView::SelectionPicks() const {
    const CPeltoDoc& doc = GetDocument();
    if (!doc.HasSelection()) return std::nullopt;
    // Another window on the document may have changed the selection since.
    if (!m_picks.empty())
        return SelectionPrint(*doc.Selection()) == m_nPickedPrint ? std::optional(m_picks)
                                                                  : std::nullopt;
    if (!doc.Opacity()) return std::nullopt;
    try {
        std::unique_ptr<CMaskDIB> transparent;
        SelectTransparent(*doc.Opacity(), transparent);
        if (transparent && SelectionPrint(*transparent) == SelectionPrint(*doc.Selection()))
            return std::vector<BackgroundPick>{};
    } catch (const std::bad_alloc&) {
    }
    return std::nullopt;
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
    // A pick on no selection starts a new one (a button or a click cleared it).
    if (!GetDocument().HasSelection()) m_picks.clear();
    const BackgroundPick pick{image->x(), image->y(), m_nTolerance, m_bConnected};
    if (RunReportingMemory(this, [&] { GetDocument().SelectBackground(pick); })) {
        m_picks.push_back(pick);
        if (GetDocument().HasSelection())
            m_nPickedPrint = SelectionPrint(*GetDocument().Selection());
    }
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
        m_picks.clear();
        RedrawNow();
        emit documentChanged();
    }
    QAbstractScrollArea::mousePressEvent(event);
}

bool CPeltoView::AskButtonParamsPreviewing(ButtonParams& params) {
    std::unique_ptr<CPreviewWorker> worker; // made when the first values come
    const auto preview = [&](std::optional<ButtonParams> values) {
        if (!values) {
            if (worker) worker->Drop();
            return ShowPreview(nullptr);
        }
        try {
            if (!worker) {
                worker = std::make_unique<CPreviewWorker>(
                    GetDocument().Picture(), *GetDocument().Selection(), GetDocument().Opacity());
                connect(worker.get(), &CPreviewWorker::ready, this, &CPeltoView::ShowPreview);
            }
            worker->Request(*values);
        } catch (const std::bad_alloc&) {
            // Too big to preview: the dialog goes on without one.
        }
    };
    const bool accepted = AskButtonParams(params, this, preview, VisiblePictureOnScreen());
    worker.reset();
    ShowPreview(nullptr);
    return accepted;
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
