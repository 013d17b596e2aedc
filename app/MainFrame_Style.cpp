// The main frame's style commands: the active view's button values to a
// style file, and a style file's values (and background) into the view.
#include "AppStrings.h"
#include "FileDialogs.h"
#include "MainFrame.h"
#include "dialogs/MessageBox.h"
#include "document/ButtonStyle.h"
#include "document/PeltoDoc.h"
#include "view/PeltoView.h"

#include <QFile>

namespace pelto {

void CMainFrame::OnEditSaveStyle() {
    CPeltoView* view = GetActiveView();
    if (!view) return;
    const QString path = AskStylePath(this, true);
    if (path.isEmpty()) return;
    ButtonStyle style;
    style.params = view->CurrentButtonParams();
    // The selection goes along only when asked for: a style is mostly meant
    // for other pictures, where the same points may be no background at all.
    const PickRecord picks = view->GetDocument().SelectionPicks();
    if (picks && AskYesNo(appstr::Tr(picks->empty() ? appstr::kMsgStyleKeepsTransparent
                                                    : appstr::kMsgStyleKeepsPicks),
                          this))
        style.background = picks;
    const std::string message = WriteStyle(style, QFile::encodeName(path).toStdString());
    if (!message.empty()) AfxMessageBox(QString::fromStdString(message), this);
}

void CMainFrame::OnEditLoadStyle() {
    CPeltoView* view = GetActiveView();
    if (!view) return;
    const QString path = AskStylePath(this, false);
    if (path.isEmpty()) return;
    const StyleRead read = ReadStyle(QFile::encodeName(path).toStdString());
    if (!read.style) {
        AfxMessageBox(QString::fromStdString(read.error), this);
        return;
    }
    view->ApplyStyle(*read.style);
}

} // namespace pelto
