#pragma once
// The program's message box: the text under the caption "PeltoTool" with a
// warning icon and one OK button. Where a modal answer is given
// (ModalAnswers.h), the box goes to it instead of the screen.

#include "ModalAnswers.h"

#include <QString>
#include <functional>

class QWidget;

namespace pelto {

inline constexpr const char* kAppCaption = "PeltoTool";

void AfxMessageBox(const QString& text, QWidget* parent = nullptr);
// Asks whether to save the changes to the picture called name before it
// closes: はい (Yes) saves, いいえ (No) discards, キャンセル (Cancel), where
// offered, keeps it open.
modal::Reply AskToSaveChanges(const QString& name, QWidget* parent = nullptr,
                              bool mayCancel = true);
// A question answered はい or いいえ.
bool AskYesNo(const QString& text, QWidget* parent = nullptr);

// Where the boxes go instead of the screen while one lives, the route before
// it again afterwards: for a run that shows no window, where nobody would
// answer a box and it would hold the command line for ever.
using MessageSink = std::function<void(const QString& text)>;
class CMessageRoute {
public:
    explicit CMessageRoute(MessageSink sink);
    ~CMessageRoute();
    CMessageRoute(const CMessageRoute&) = delete;
    CMessageRoute& operator=(const CMessageRoute&) = delete;

private:
    MessageSink m_previous;
};

} // namespace pelto
