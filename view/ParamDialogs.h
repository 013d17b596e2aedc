#pragma once
// The two parameter dialogs as the view runs them: each starts from the
// view's values and, on OK, writes the accepted ones back and returns true.
// The dialog belongs to owner's window, which it opens over.
// Tests answer them through tests/support/ModalControl.h.

#include "engine/ButtonParams.h"

#include <QRect>

#include <functional>
#include <optional>

class QWidget;

namespace pelto {

bool AskTolerance(int& tolerance, bool& connected, QWidget* owner);
// preview hears the values the dialog would give while its preview is on, and
// nothing when it is turned off. The dialog opens where it hides the least of
// shown (global coordinates: the picture's part in sight), or of owner.
using PreviewHandler = std::function<void(std::optional<ButtonParams> values)>;
bool AskButtonParams(ButtonParams& params, QWidget* owner, const PreviewHandler& preview = {},
                     QRect shown = {});

} // namespace pelto
