#include "dialogs/BackgroundDlg.h"

#include "dialogs/DialogLayout.h"
#include "dialogs/NumberEdit.h"

#include <QCheckBox>
#include <QLabel>
#include <QShowEvent>
#include <QSlider>

#include <algorithm>

namespace pelto {

namespace {
constexpr int kPollMilliseconds = 100;
}

CBackgroundDlg::CBackgroundDlg(QWidget* parent) : CExchangeDialog(parent) {
    SetUpDialogWindow(this, tr("背景色の選択"), QSize(187, 76));
    const CDialogUnits units(font());

    QLabel* label = AddStaticText(this, units, tr("色の違いの許容範囲(&C)"), QRect(13, 15, 73, 9));
    m_pToleranceEdit = units.Place(new CNumberEdit(this), QRect(87, 13, 23, 12));
    m_pToleranceEdit->setObjectName(QStringLiteral("toleranceEdit"));
    label->setBuddy(m_pToleranceEdit);
    AddStaticText(this, units, tr("%"), QRect(111, 15, 10, 9));
    m_wndSlider = units.Place(new QSlider(Qt::Horizontal, this), QRect(13, 30, 100, 24));
    m_wndSlider->setObjectName(QStringLiteral("toleranceSlider"));
    m_wndSlider->setTickPosition(QSlider::TicksAbove);
    m_wndSlider->setTickInterval(static_cast<int>(kMaxTolerance));
    m_pConnectedCheck =
        units.Place(new QCheckBox(tr("隣接部分のみ(&N)"), this), QRect(13, 58, 100, 10));
    m_pConnectedCheck->setObjectName(QStringLiteral("connectedCheck"));
    AddOkCancel(this, units, QRect(130, 7, 50, 14), QRect(130, 24, 50, 14));
    FitTexts(this);

    m_exchange.AddUnsigned(m_pToleranceEdit, &m_nTolerance, 0, kMaxTolerance);
    m_exchange.AddCheckBox(m_pConnectedCheck, &m_bConnected);

    m_pollTimer.setInterval(kPollMilliseconds);
    connect(&m_pollTimer, &QTimer::timeout, this, &CBackgroundDlg::OnTimer);
    connect(m_pToleranceEdit, &CNumberEdit::focusLost, this,
            &CBackgroundDlg::OnKillfocusToleranceEdit);
}

void CBackgroundDlg::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous()) m_pollTimer.stop();
}

void CBackgroundDlg::OnInitDialog() {
    CExchangeDialog::OnInitDialog();
    m_wndSlider->setRange(0, static_cast<int>(kMaxTolerance));
    m_wndSlider->setValue(static_cast<int>(std::min(m_nTolerance, kMaxTolerance)));
    m_pollTimer.start();
    m_pToleranceEdit->setFocus(Qt::OtherFocusReason);
    m_pToleranceEdit->selectAll(); // typing replaces the value, as on entering by Tab
}

void CBackgroundDlg::OnTimer() {
    if (m_exchange.IsExchanging() || !m_wndSlider->hasFocus()) return;
    m_exchange.ReadAll();
    m_nTolerance = static_cast<unsigned>(m_wndSlider->value());
    m_exchange.WriteAll();
}

void CBackgroundDlg::OnKillfocusToleranceEdit() {
    if (m_exchange.IsExchanging()) return;
    m_exchange.ReadAll();
    m_wndSlider->setValue(static_cast<int>(std::min(m_nTolerance, kMaxTolerance)));
}

} // namespace pelto
