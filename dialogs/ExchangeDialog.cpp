#include "dialogs/ExchangeDialog.h"

#include "dialogs/DialogResult.h"

#include <QShowEvent>

namespace pelto {

int CExchangeDialog::DoModal() {
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

void CExchangeDialog::accept() {
    if (m_exchange.ReadAll()) QDialog::accept();
}

void CExchangeDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) OnInitDialog();
}

} // namespace pelto
