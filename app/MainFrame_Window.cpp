// The main frame's document windows and its Window commands.
#include "ChildFrame.h"
#include "DocumentSlot.h"
#include "MainFrame.h"
#include "WindowLayout.h"
#include "view/PeltoView.h"

#include <QMdiArea>
#include <QStyle>

namespace pelto {

namespace {
// A new document window starts at this share of the area, then shrinks to its picture.
constexpr int kNewWindowPercent = 75;
} // namespace

CChildFrame* CMainFrame::AddChildFrame(std::shared_ptr<CDocumentSlot> slot) {
    const int index = GetChildFrames().size();
    // Over a maximized window a new one opens maximized, as in any program of
    // several documents: the area keeps the active window maximized, the others
    // whole behind it. The new one is sized and placed as a normal window first.
    CChildFrame* active = GetActiveFrame();
    const bool maximized = active && active->isMaximized();
    if (maximized) active->showNormal();
    auto* frame = new CChildFrame(std::move(slot));
    frame->SetCloseGuard([this](CChildFrame& closing) { return MayCloseFrame(closing); });
    m_pMdiArea->addSubWindow(frame);
    frame->resize(m_pMdiArea->viewport()->size() * kNewWindowPercent / 100);
    connect(frame->GetView(), &CPeltoView::documentChanged, this, &CMainFrame::UpdateMenus);
    connect(frame->GetView(), &CPeltoView::zoomChanged, this, &CMainFrame::UpdateZoomPane);
    connect(frame, &CChildFrame::frameClosed, this, &CMainFrame::ScheduleUpdate);
    connect(frame, &QMdiSubWindow::windowStateChanged, this, &CMainFrame::UpdateTitles);
    frame->show();
    frame->GetView()->OnInitialUpdate();
    // Each new window one title bar further down and right, within the area.
    const int step = frame->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, frame);
    frame->setGeometry(CascadedPlace(m_pMdiArea->viewport()->rect(), frame->size(), index, step));
    m_pMdiArea->setActiveSubWindow(frame);
    if (maximized) frame->showMaximized();
    UpdateMenus();
    return frame;
}

CChildFrame* CMainFrame::GetActiveFrame() const {
    // The current window stays current while a dialog has the focus.
    return qobject_cast<CChildFrame*>(m_pMdiArea->currentSubWindow());
}

CPeltoView* CMainFrame::GetActiveView() const {
    const CChildFrame* frame = GetActiveFrame();
    return frame ? frame->GetView() : nullptr;
}

QList<CChildFrame*> CMainFrame::GetChildFrames() const {
    QList<CChildFrame*> frames;
    for (QMdiSubWindow* window : m_pMdiArea->subWindowList())
        // A closed window lingers hidden until the event loop deletes it.
        if (auto* frame = qobject_cast<CChildFrame*>(window); frame && !frame->isHidden())
            frames.append(frame);
    return frames;
}

QList<CChildFrame*> CMainFrame::FramesShowing(const CDocumentSlot* slot) const {
    QList<CChildFrame*> frames;
    for (CChildFrame* frame : GetChildFrames())
        if (frame->GetSlot().get() == slot) frames.append(frame);
    return frames;
}

void CMainFrame::OnWindowNew() {
    if (CChildFrame* active = GetActiveFrame()) AddChildFrame(active->GetSlot());
}

void CMainFrame::OnWindowClose() {
    if (CChildFrame* active = GetActiveFrame()) active->close();
}

void CMainFrame::OnWindowCascade() {
    QList<CChildFrame*> frames;
    for (CChildFrame* frame : GetChildFrames())
        if (!frame->isMinimized()) frames.append(frame);
    // The active window ends on top, the others in the order they opened.
    if (CChildFrame* active = GetActiveFrame(); frames.removeOne(active)) frames.append(active);
    if (frames.isEmpty()) return;
    QList<QSize> wanted;
    for (CChildFrame* frame : frames) {
        frame->showNormal();
        // The picture at its zoom, and the frame around it.
        const CPeltoView* view = frame->GetView();
        wanted.append(frame->size() - view->size() + view->sizeHint());
    }
    const int step =
        frames.first()->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, frames.first());
    const QList<QRect> places = CascadeWindows(m_pMdiArea->viewport()->rect(), wanted, step);
    for (int i = 0; i < frames.size(); ++i) {
        frames[i]->setGeometry(places[i]);
        frames[i]->raise();
    }
}

void CMainFrame::OnWindowTileHorz() {
    QList<CChildFrame*> frames;
    for (CChildFrame* frame : GetChildFrames())
        if (!frame->isMinimized()) frames.append(frame);
    const QList<QRect> tiles = TileOneAboveAnother(m_pMdiArea->viewport()->rect(), frames.size());
    for (int i = 0; i < frames.size(); ++i) {
        frames[i]->showNormal();
        frames[i]->setGeometry(tiles[i]);
    }
}

void CMainFrame::OnWindowArrange() {
    QList<CChildFrame*> icons;
    for (CChildFrame* frame : GetChildFrames())
        if (frame->isMinimized()) icons.append(frame);
    if (icons.isEmpty()) return;
    const QList<QPoint> corners =
        ArrangeIcons(m_pMdiArea->viewport()->rect(), icons.first()->size(), icons.size());
    for (int i = 0; i < icons.size(); ++i)
        icons[i]->move(corners[i]);
}

} // namespace pelto
