#include "ParamDialogs.h"

#include "dialogs/BackgroundDlg.h"
#include "dialogs/ButtonDlg.h"
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

bool AskButtonParams(ButtonParams& params, QWidget* owner) {
    if (ButtonOverride()) return ButtonOverride()(params);
    CButtonDlg dlg(owner ? owner->window() : nullptr);
    dlg.m_nLightAngle = unsigned(params.angle);
    dlg.m_nContrast = unsigned(params.contrast);
    dlg.m_nBevelWidth = unsigned(params.width);
    dlg.m_nShape = params.shape;
    dlg.m_nOutline = params.outline;
    if (dlg.DoModal() != IDOK) return false;
    params = {int(dlg.m_nLightAngle), int(dlg.m_nContrast), int(dlg.m_nBevelWidth), dlg.m_nShape,
              dlg.m_nOutline};
    return true;
}

void SetParamDialogHandlersForTesting(ToleranceHandler tolerance, ButtonParamsHandler button) {
    ToleranceOverride() = std::move(tolerance);
    ButtonOverride() = std::move(button);
}
