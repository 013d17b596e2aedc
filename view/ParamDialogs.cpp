#include "ParamDialogs.h"

#include "dialogs/BackgroundDlg.h"
#include "dialogs/ButtonDlg.h"
#include "dialogs/ButtonValues.h"
#include "dialogs/DialogResult.h"
#include "dialogs/ModalAnswers.h"

#include <QWidget>

namespace pelto {

bool AskTolerance(int& tolerance, QWidget* owner) {
    if (const modal::ToleranceAnswer& answer = modal::ToleranceDialogAnswer())
        return answer(tolerance);
    CBackgroundDlg dlg(owner ? owner->window() : nullptr);
    dlg.m_nTolerance = unsigned(tolerance);
    if (dlg.DoModal() != IDOK) return false;
    tolerance = int(dlg.m_nTolerance);
    return true;
}

bool AskButtonParams(ButtonParams& params, QWidget* owner, const PreviewHandler& preview) {
    if (const modal::ButtonParamsAnswer& answer = modal::ButtonDialogAnswer())
        return answer(params);
    CButtonDlg dlg(owner ? owner->window() : nullptr);
    SetButtonValues(dlg, params);
    if (preview) QObject::connect(&dlg, &CButtonDlg::previewChanged, preview);
    if (dlg.DoModal() != IDOK) return false;
    params = ButtonValuesOf(dlg);
    return true;
}

} // namespace pelto
