#pragma once
// Moves a dialog's values between its fields and its controls over one ordered
// list of entries. Reading checks the number boxes in list order and stops at
// the first one it refuses: the message goes to AfxMessageBox, the focus back to
// that box with its text selected, and later entries keep their old values.
// While a read or a write runs, IsExchanging() is true, so the dialog can ignore
// the notifications that its own exchange sets off.

#include <QList>

#include <variant>
#include <vector>

class QAbstractButton;
class QLineEdit;
class QWidget;

namespace pelto {

class CDataExchange {
public:
    explicit CDataExchange(QWidget* dialog);

    // An unsigned decimal box. A number outside min..max is stored into the
    // field before it is refused.
    void AddUnsigned(QLineEdit* box, unsigned* field, unsigned min, unsigned max);
    // A radio group, buttons in their order: the field is the index of the checked
    // button, -1 when none is checked.
    void AddRadioGroup(QList<QAbstractButton*> buttons, int* field);
    // A check box: the field is whether it is checked.
    void AddCheckBox(QAbstractButton* box, bool* field);

    // Controls to fields; false when a box was refused.
    bool ReadAll();
    // The same, without a message or a move of the focus when a box is refused.
    bool ReadQuietly();
    // The radio groups and check boxes, and the boxes that hold a number within their range,
    // silently: a box that does not keeps its field, so a write puts it back.
    // With only, that box alone.
    void ReadValid(const QLineEdit* only = nullptr);
    // Fields to controls.
    void WriteAll();

    bool IsExchanging() const { return m_bExchanging; }

private:
    struct UnsignedEntry {
        QLineEdit* box;
        unsigned* field;
        unsigned min;
        unsigned max;
    };
    struct RadioEntry {
        QList<QAbstractButton*> buttons;
        int* field;
    };
    struct CheckEntry {
        QAbstractButton* box;
        bool* field;
    };

    bool Read(const UnsignedEntry& entry);
    static bool Read(const RadioEntry& entry);
    static bool Read(const CheckEntry& entry);
    static void Write(const UnsignedEntry& entry);
    static void Write(const RadioEntry& entry);
    static void Write(const CheckEntry& entry);
    bool Fail(QLineEdit* box, const QString& message);

    QWidget* m_pDialog;
    std::vector<std::variant<UnsignedEntry, RadioEntry, CheckEntry>> m_entries;
    bool m_bExchanging = false;
    bool m_bQuiet = false;
};

} // namespace pelto
