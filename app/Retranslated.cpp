#include "Retranslated.h"

#include "AppStrings.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

namespace pelto {

QAction* CRetranslated::Command(QAction* action, const char* item, const char* commandString) {
    Follow([=] {
        action->setText(appstr::Tr(item));
        const QStringList lines = appstr::Tr(commandString).split(u'\n');
        action->setStatusTip(lines.first());
        action->setWhatsThis(lines.first());
        action->setToolTip(lines.last());
    });
    return action;
}

QAction* CRetranslated::Item(QAction* action, const char* text) {
    Follow([=] { action->setText(appstr::Tr(text)); });
    return action;
}

QMenu* CRetranslated::Title(QMenu* menu, const char* text) {
    Follow([=] { menu->setTitle(appstr::Tr(text)); });
    return menu;
}

QLabel* CRetranslated::Label(QLabel* label, const char* text) {
    Follow([=] { label->setText(appstr::Tr(text)); });
    return label;
}

void CRetranslated::Follow(std::function<void()> apply) {
    apply();
    m_apply.push_back(std::move(apply));
}

void CRetranslated::ApplyAll() const {
    for (const auto& apply : m_apply)
        apply();
}

} // namespace pelto
