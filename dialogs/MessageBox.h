#pragma once
// The program's message box: the text under the caption "PeltoTool" with a
// warning icon and one OK button. Tests can take the boxes over so that
// nothing blocks: every box then goes to the handler instead of the screen.

#include <QString>
#include <functional>

class QWidget;

inline constexpr const char* kAppCaption = "PeltoTool";

void AfxMessageBox(const QString& text, QWidget* parent = nullptr);

// Replaces the box with handler until reset with an empty function.
void SetMessageBoxHandlerForTesting(std::function<void(const QString&)> handler);
