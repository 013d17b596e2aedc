#pragma once
// The button parameter dialog: light angle, bevel width and contrast in number
// boxes with spin arrows, shape and outline position as radio groups, and a dial
// that shows the light angle and sets it by pressing and dragging on it. The
// caller sets the five fields, runs DoModal and reads them back after IDOK.
// An out-of-range number typed into a box is stored into its field when the
// fields are read, and then refused; OK closes only when every box is in range.

#include "dialogs/ExchangeDialog.h"

class CNumberEdit;

class CButtonDlg : public CExchangeDialog {
    Q_OBJECT

public:
    explicit CButtonDlg(QWidget* parent = nullptr);

    unsigned m_nLightAngle = 0;
    unsigned m_nBevelWidth = 0;
    int m_nShape = 0;    // 0 cut, 1 round
    int m_nOutline = -1; // 0 inner, 1 outer, -1 neither
    unsigned m_nContrast = 0;

protected:
    void OnInitDialog() override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Spin(unsigned& field, int delta, unsigned belowZero, unsigned max, unsigned aboveMax);
    void OnDeltaposWidthSpin(int delta);
    void OnDeltaposAngleSpin(int delta);
    void OnDeltaposContrastSpin(int delta);
    void OnKillfocusAngleEdit();
    void SetAngleFromPoint(const QPoint& point);

    CNumberEdit* m_pAngleEdit;
    QRect m_dialArea;
    bool m_bDragging = false;
};
