#pragma once
// Helpers for driving the dialogs as a user would.

#include "dialogs/MessageBox.h"
#include "support/ModalControl.h"

#include <QLineEdit>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace pelto {

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// Takes the message boxes over for its lifetime and keeps their texts.
class MessageCatcher {
public:
    MessageCatcher() {
        modal::AnswerMessageBoxes([this](const QString& text) { messages.append(text); });
    }
    ~MessageCatcher() { modal::AnswerMessageBoxes({}); }
    MessageCatcher(const MessageCatcher&) = delete;
    MessageCatcher& operator=(const MessageCatcher&) = delete;

    QStringList messages;
};

// Shows a window and waits until it is active, so that the focus moves for real.
inline bool ShowActive(QWidget* window) {
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

template <class Control> Control* Child(const QObject* parent, const char* name) {
    auto* control = parent->findChild<Control*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
}

// Clicks a radio button or check box on its indicator, the part that takes clicks.
inline void ClickIndicator(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

// Clicks into a box, selects all its text and types over it.
inline void TypeInto(QLineEdit* box, const QString& text) {
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Delete);
    else
        QTest::keyClicks(box, text);
}

// Runs DoModal and drives the open dialog; a dialog the steps leave open is
// cancelled so that a failing test cannot hang.
template <class Dialog> int RunModal(Dialog& dialog, const std::function<void()>& steps) {
    QTimer::singleShot(0, &dialog, [&] {
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
        steps();
        if (dialog.isVisible()) dialog.reject();
    });
    return dialog.DoModal();
}

} // namespace pelto
