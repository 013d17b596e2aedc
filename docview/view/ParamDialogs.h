#pragma once
// The two parameter dialogs as the view runs them: each starts from the
// view's values and, on OK, writes the accepted ones back and returns true.
// Tests replace them with handlers so that nothing modal ever blocks.

#include "engine/ButtonParams.h"

#include <functional>

using ToleranceHandler = std::function<bool(int& tolerance)>;
using ButtonParamsHandler = std::function<bool(ButtonParams& params)>;

bool AskTolerance(int& tolerance);
bool AskButtonParams(ButtonParams& params);

// Empty handlers bring the real dialogs back.
void SetParamDialogHandlersForTesting(ToleranceHandler tolerance, ButtonParamsHandler button);
