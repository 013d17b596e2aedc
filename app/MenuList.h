#pragma once
// A run of numbered entries in one or more menus (the recent files, the open
// windows), replaced as a whole. Replaced entries leave the menus at once but
// are deleted only when control is back in the event loop: the command that
// replaces them may be one of their own, or the frame may be closing.

#include <QList>
#include <QString>

class QAction;
class QMenu;

namespace pelto {

// The label of entry `number` (from 1) with its mnemonic: "&1 " ... "&9 ",
// then "1&0 ", then the plain number; text is shown as it is, '&' included.
QString NumberedLabel(int number, const QString& text);

class CMenuList {
public:
    // Entries go just before `before` in every menu, at the end when it is null.
    CMenuList(QList<QMenu*> menus, QAction* before);

    // Takes the entries over; they belong to the first menu.
    void Replace(const QList<QAction*>& entries);
    const QList<QAction*>& Entries() const { return m_entries; }

private:
    QList<QMenu*> m_menus;
    QAction* m_pBefore;
    QList<QAction*> m_entries;
};

} // namespace pelto
