#include "ParamDialogs.h"

#include "dialogs/BackgroundDlg.h"
#include "dialogs/ButtonDlg.h"
#include "dialogs/ButtonValues.h"
#include "dialogs/DialogResult.h"

#include <QWidget>

namespace {

ToleranceHandler& ToleranceOverride() {
    static ToleranceHandler handler;
    return handler;
}

ButtonParamsHandler& ButtonOverride() {
    static ButtonParamsHandler handler;
    return handler;
}

} // namespace

bool AskTolerance(int& tolerance, QWidget* owner) {
    if (ToleranceOverride()) return ToleranceOverride()(tolerance);
    CBackgroundDlg dlg(owner ? owner->window() : nullptr);
    dlg.m_nTolerance = unsigned(tolerance);
    if (dlg.DoModal() != IDOK) return false;
    tolerance = int(dlg.m_nTolerance);
    return true;
}

bool AskButtonParams(ButtonParams& params, QWidget* owner, const PreviewHandler& preview) {
    if (ButtonOverride()) return ButtonOverride()(params);
    CButtonDlg dlg(owner ? owner->window() : nullptr);
    SetButtonValues(dlg, params);
    if (preview) QObject::connect(&dlg, &CButtonDlg::previewChanged, preview);
    if (dlg.DoModal() != IDOK) return false;
    params = ButtonValuesOf(dlg);
    return true;
}

void SetParamDialogHandlersForTesting(ToleranceHandler tolerance, ButtonParamsHandler button) {
    ToleranceOverride() = std::move(tolerance);
    ButtonOverride() = std::move(button);
}
