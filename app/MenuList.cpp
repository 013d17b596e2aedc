#include "MenuList.h"

#include <QMenu>

namespace pelto {

QString NumberedLabel(int number, const QString& text) {
    const QString mnemonic = number < 10    ? QStringLiteral("&%1").arg(number)
                             : number == 10 ? QStringLiteral("1&0")
                                            : QString::number(number);
    return mnemonic + u' ' + QString(text).replace(u'&', QStringLiteral("&&"));
}

CMenuList::CMenuList(QList<QMenu*> menus, QAction* before)
    : m_menus(std::move(menus)), m_pBefore(before) {}

void CMenuList::Replace(const QList<QAction*>& entries) {
    for (QAction* old : m_entries) {
        for (QMenu* menu : m_menus)
            menu->removeAction(old);
        old->deleteLater();
    }
    m_entries = entries;
    for (QAction* entry : m_entries)
        entry->setParent(m_menus.first());
    for (QMenu* menu : m_menus)
        menu->insertActions(m_pBefore, m_entries);
}

} // namespace pelto
