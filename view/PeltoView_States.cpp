// The view's button states: made from its picture and button values, and
// shown side by side before the frame writes them.
#include "PeltoView.h"

#include "MemoryReport.h"
#include "ViewMessages.h"
#include "ViewRendering.h"
#include "WaitCursor.h"
#include "dialogs/ButtonStatesDlg.h"
#include "document/ButtonSet.h"
#include "document/PeltoDoc.h"

namespace pelto {

std::unique_ptr<CButtonSet> CPeltoView::AskButtonStates() {
    if (!GetDocument().HasSelection()) {
        AfxMessageBox(tr(kMsgNoSelection), this);
        return nullptr;
    }
    std::unique_ptr<CButtonSet> set;
    std::array<QImage, 4> shown;
    const bool made = RunReportingMemory(this, [&] {
        CWaitCursor wait(viewport());
        set = MakeButtonSet(GetDocument(), CurrentButtonParams());
        // Each over the checkerboard, as the view shows a transparent picture.
        for (size_t i = 0; i < shown.size(); ++i) {
            const CButtonState& state = set->states[i];
            shown[i] = RenderPicture(state.picture, state.alpha.get(), nullptr,
                                     QRect(QPoint(0, 0), PictureSize(state.picture)),
                                     palette().color(QPalette::Base).rgb(), kCheckerSquare);
        }
    });
    if (!made || !ShowButtonStates(shown, this)) return nullptr;
    return set;
}

} // namespace pelto
