#pragma once
// The texts of the windows that live on, each set now and set again, from
// the same source text, when the language changes.

#include <QString>

#include <functional>
#include <vector>

class QAction;
class QLabel;
class QMenu;

namespace pelto {

class CRetranslated {
public:
    // A command's item text, and its status-bar prompt and tooltip from
    // commandString (the prompt, "\n", the tooltip).
    QAction* Command(QAction* action, const char* item, const char* commandString);
    QAction* Item(QAction* action, const char* text);
    QMenu* Title(QMenu* menu, const char* text);
    QLabel* Label(QLabel* label, const char* text);
    // Any other text: apply runs now and on every change.
    void Follow(std::function<void()> apply);

    void ApplyAll() const;

private:
    std::vector<std::function<void()>> m_apply;
};

} // namespace pelto
