#pragma once
// A modal dialog whose fields move to and from its controls through one
// exchange list: opening writes every field into its control, OK reads them
// all back and closes only when every one is valid. Cancel, Escape and the
// close box end it without reading.

#include "dialogs/DataExchange.h"

#include <QDialog>

namespace pelto {

class CExchangeDialog : public QDialog {
    Q_OBJECT

public:
    explicit CExchangeDialog(QWidget* parent) : QDialog(parent), m_exchange(this) {}

    // IDOK or IDCANCEL.
    int DoModal();

public slots:
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;
    // Runs each time the dialog opens; the base writes all fields.
    virtual void OnInitDialog() { m_exchange.WriteAll(); }

    CDataExchange m_exchange;
};

} // namespace pelto
