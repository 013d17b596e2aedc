#pragma once
// The one testing interface of the windows: tests answer the program's modal
// questions (message boxes, the two parameter dialogs, the file dialogs) here
// instead of a user, so that nothing modal ever blocks a test. Each answer
// stands until it is reset with an empty function, which brings the real
// window back. Production code only asks whether an answer is set.

#include "engine/ButtonParams.h"

#include <QString>

#include <functional>

namespace pelto {

namespace modal {

using MessageAnswer = std::function<void(const QString& text)>;
using ToleranceAnswer = std::function<bool(int& tolerance)>;
using ButtonParamsAnswer = std::function<bool(ButtonParams& params)>;
enum class FileDialogKind { Open, SaveAs };
using FileAnswer = std::function<QString(FileDialogKind kind, const QString& suggested)>;

void AnswerMessageBoxes(MessageAnswer answer);
void AnswerParamDialogs(ToleranceAnswer tolerance, ButtonParamsAnswer button);
void AnswerFileDialogs(FileAnswer answer);

const MessageAnswer& MessageBoxAnswer();
const ToleranceAnswer& ToleranceDialogAnswer();
const ButtonParamsAnswer& ButtonDialogAnswer();
const FileAnswer& FileDialogAnswer();

} // namespace modal

} // namespace pelto
