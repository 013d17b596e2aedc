#pragma once
// The tolerance dialog: the colour tolerance in percent, 0..100, typed into a
// number box or set with a slider, and whether the pick takes only the pixels
// joined to the picked one. The caller sets m_nTolerance and m_bConnected,
// runs DoModal and reads them back after IDOK. OK takes the box's value, not the
// slider's. While the slider has the focus a 100 ms poll copies it into the
// box; the box's value reaches the slider when the box loses the focus.

#include "dialogs/ExchangeDialog.h"
#include "engine/BackgroundPick.h"

#include <QTimer>

class QCheckBox;
class QSlider;

namespace pelto {

class CNumberEdit;

class CBackgroundDlg : public CExchangeDialog {
    Q_OBJECT

public:
    static constexpr unsigned kMaxTolerance = kToleranceRange.high;

    explicit CBackgroundDlg(QWidget* parent = nullptr);

    unsigned m_nTolerance = 0;
    bool m_bConnected = false;

protected:
    void hideEvent(QHideEvent* event) override;
    void OnInitDialog() override;

private:
    void OnTimer();
    void OnKillfocusToleranceEdit();

    CNumberEdit* m_pToleranceEdit;
    QSlider* m_wndSlider;
    QCheckBox* m_pConnectedCheck;
    QTimer m_pollTimer;
};

} // namespace pelto
