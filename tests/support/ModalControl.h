#pragma once
// The tests' side of dialogs/ModalAnswers.h: they answer the program's modal
// questions here instead of a user. Each answer stands until it is reset
// with an empty function, which brings the real window back.

#include "dialogs/ModalAnswers.h"

namespace pelto {

namespace modal {

void AnswerMessageBoxes(MessageAnswer answer);
void AnswerParamDialogs(ToleranceAnswer tolerance, ButtonParamsAnswer button);
void AnswerFileDialogs(FileAnswer answer);
void AnswerQuestions(QuestionAnswer answer);
void AnswerStatesDialog(StatesAnswer answer);

} // namespace modal

} // namespace pelto
