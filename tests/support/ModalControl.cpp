#include "support/ModalControl.h"

namespace pelto {

namespace modal {
namespace {

struct Answers {
    MessageAnswer message;
    ToleranceAnswer tolerance;
    ButtonParamsAnswer button;
    FileAnswer file;
    QuestionAnswer question;
    StatesAnswer states;
};

Answers& Current() {
    static Answers answers;
    return answers;
}

} // namespace

void AnswerMessageBoxes(MessageAnswer answer) {
    Current().message = std::move(answer);
}

void AnswerParamDialogs(ToleranceAnswer tolerance, ButtonParamsAnswer button) {
    Current().tolerance = std::move(tolerance);
    Current().button = std::move(button);
}

void AnswerFileDialogs(FileAnswer answer) {
    Current().file = std::move(answer);
}

const MessageAnswer& MessageBoxAnswer() {
    return Current().message;
}

const ToleranceAnswer& ToleranceDialogAnswer() {
    return Current().tolerance;
}

const ButtonParamsAnswer& ButtonDialogAnswer() {
    return Current().button;
}

void AnswerQuestions(QuestionAnswer answer) {
    Current().question = std::move(answer);
}

const QuestionAnswer& QuestionBoxAnswer() {
    return Current().question;
}

void AnswerStatesDialog(StatesAnswer answer) {
    Current().states = std::move(answer);
}

const StatesAnswer& StatesDialogAnswer() {
    return Current().states;
}

const FileAnswer& FileDialogAnswer() {
    return Current().file;
}

} // namespace modal

} // namespace pelto
