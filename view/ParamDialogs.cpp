#include "ParamDialogs.h"

#include "ViewGeometry.h"
#include "dialogs/BackgroundDlg.h"
#include "dialogs/ButtonDlg.h"
#include "dialogs/DialogResult.h"
#include "dialogs/ModalAnswers.h"

#include <QDialog>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace pelto {

namespace {

// The preview shows in shown: the dialog covers as little of it as it can.
void PlaceBeside(QDialog& dialog, const QWidget& owner, QRect shown) {
    const QScreen* screen = owner.screen();
    if (!screen) return;
    // The window system's frame is not there yet: a title bar's height stands in for it.
    const int title = dialog.style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const QSize frame = dialog.size() + QSize(0, title);
    if (shown.isEmpty()) shown = QRect(owner.mapToGlobal(QPoint(0, 0)), owner.size());
    dialog.move(DialogBesidePicture(shown, frame, screen->availableGeometry()));
}

} // namespace

bool AskTolerance(int& tolerance, bool& connected, QWidget* owner) {
    if (const modal::ToleranceAnswer& answer = modal::ToleranceDialogAnswer())
        return answer(tolerance, connected);
    CBackgroundDlg dlg(owner ? owner->window() : nullptr);
    dlg.m_nTolerance = unsigned(tolerance);
    dlg.m_bConnected = connected;
    if (dlg.DoModal() != IDOK) return false;
    tolerance = int(dlg.m_nTolerance);
    connected = dlg.m_bConnected;
    return true;
}

bool AskButtonParams(ButtonParams& params, QWidget* owner, const PreviewHandler& preview,
                     QRect shown) {
    if (const modal::ButtonParamsAnswer& answer = modal::ButtonDialogAnswer())
        return answer(params);
    CButtonDlg dlg(owner ? owner->window() : nullptr);
    dlg.SetValues(params);
    if (owner) PlaceBeside(dlg, *owner, shown);
    if (preview) QObject::connect(&dlg, &CButtonDlg::previewChanged, preview);
    if (dlg.DoModal() != IDOK) return false;
    params = dlg.Values();
    return true;
}

} // namespace pelto
