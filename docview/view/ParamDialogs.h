#pragma once
// The two parameter dialogs as the view runs them: each starts from the
// view's values and, on OK, writes the accepted ones back and returns true.
// The dialog belongs to owner's window, which it opens over.
// Tests replace them with handlers so that nothing modal ever blocks.

#include "engine/ButtonParams.h"

#include <functional>

class QWidget;

using ToleranceHandler = std::function<bool(int& tolerance)>;
using ButtonParamsHandler = std::function<bool(ButtonParams& params)>;

bool AskTolerance(int& tolerance, QWidget* owner);
bool AskButtonParams(ButtonParams& params, QWidget* owner);

// Empty handlers bring the real dialogs back.
void SetParamDialogHandlersForTesting(ToleranceHandler tolerance, ButtonParamsHandler button);
