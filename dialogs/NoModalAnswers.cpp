// The program's answers to the modal questions: none, so every window shows.

#include "ModalAnswers.h"

namespace pelto {

namespace modal {
namespace {
template <typename Answer> const Answer& None() {
    static const Answer none;
    return none;
}
} // namespace

const MessageAnswer& MessageBoxAnswer() {
    return None<MessageAnswer>();
}

const ToleranceAnswer& ToleranceDialogAnswer() {
    return None<ToleranceAnswer>();
}

const ButtonParamsAnswer& ButtonDialogAnswer() {
    return None<ButtonParamsAnswer>();
}

const FileAnswer& FileDialogAnswer() {
    return None<FileAnswer>();
}

const QuestionAnswer& QuestionBoxAnswer() {
    return None<QuestionAnswer>();
}

const StatesAnswer& StatesDialogAnswer() {
    return None<StatesAnswer>();
}

} // namespace modal

} // namespace pelto
