#pragma once
// The dialogs' number box: right-aligned, and reporting when the focus has
// really moved away from it. Losing the focus only because the window was
// deactivated or a popup opened does not count; the box's own handling (which
// clears the selection) is done before focusLost() goes out, so a handler may
// send the focus straight back with the text selected.

#include <QLineEdit>

namespace pelto {

class CNumberEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit CNumberEdit(QWidget* parent);

signals:
    void focusLost();

protected:
    void focusOutEvent(QFocusEvent* event) override;
};

} // namespace pelto
