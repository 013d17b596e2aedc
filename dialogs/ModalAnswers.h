#pragma once
// What the windows ask before each modal question (a message box, the two
// parameter dialogs, the button states, the file dialogs): whether an answer is already given,
// so no window need show. A seam: the program links no_modal_answers
// (NoModalAnswers.cpp), which gives none; the tests link the answers they
// set through tests/support/ModalControl.h, so nothing modal blocks a test.

#include "engine/ButtonParams.h"

#include <QImage>
#include <QString>

#include <array>

#include <functional>

namespace pelto {

namespace modal {

using MessageAnswer = std::function<void(const QString& text)>;
using ToleranceAnswer = std::function<bool(int& tolerance, bool& connected)>;
using ButtonParamsAnswer = std::function<bool(ButtonParams& params)>;
enum class FileDialogKind { Open, SaveAs, OpenStyle, SaveStyle };
using FileAnswer = std::function<QString(FileDialogKind kind, const QString& suggested)>;
// The program's questions (save the changes? lose the transparency?).
enum class Reply { Yes, No, Cancel };
using QuestionAnswer = std::function<Reply(const QString& text)>;
// The button states shown before they are written: true to write them.
using StatesAnswer = std::function<bool(const std::array<QImage, 4>& states)>;

const MessageAnswer& MessageBoxAnswer();
const ToleranceAnswer& ToleranceDialogAnswer();
const ButtonParamsAnswer& ButtonDialogAnswer();
const FileAnswer& FileDialogAnswer();
const QuestionAnswer& QuestionBoxAnswer();
const StatesAnswer& StatesDialogAnswer();

} // namespace modal

} // namespace pelto
