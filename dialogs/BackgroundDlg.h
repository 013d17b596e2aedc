#pragma once
// The tolerance dialog: the colour tolerance in percent, 0..100, typed into a
// number box or set with a slider. The caller sets m_nTolerance, runs DoModal
// and reads m_nTolerance back after IDOK. OK takes the box's value, not the
// slider's. While the slider has the focus a 100 ms poll copies it into the
// box; the box's value reaches the slider when the box loses the focus.

#include "dialogs/DataExchange.h"

#include <QDialog>
#include <QTimer>

class CNumberEdit;
class QSlider;

class CBackgroundDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr unsigned kMaxTolerance = 100;

    explicit CBackgroundDlg(QWidget* parent = nullptr);

    // IDOK or IDCANCEL.
    int DoModal();

    unsigned m_nTolerance = 0;

public slots:
    // Closes only when the box holds 0..100.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void OnInitDialog();
    void OnTimer();
    void OnKillfocusToleranceEdit();

    CNumberEdit* m_pToleranceEdit;
    QSlider* m_wndSlider;
    QTimer m_pollTimer;
    CDataExchange m_exchange;
};
