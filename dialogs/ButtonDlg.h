#pragma once
// The button parameter dialog: light angle, bevel width and contrast in number
// boxes with spin arrows, shape and outline position as radio groups, and a dial
// that shows the light angle and sets it by pressing and dragging on it. The
// caller sets the five fields, runs DoModal and reads them back after IDOK.
// An out-of-range number typed into a box is stored into its field when the
// fields are read, and then refused; OK closes only when every box is in range.
// While the preview box is ticked, every change that leaves all five values
// valid announces them: they are what OK would give. The ranges are the
// engine's (engine/ButtonParams.h).

#include "dialogs/ExchangeDialog.h"
#include "engine/ButtonParams.h"

#include <optional>

class QCheckBox;

namespace pelto {

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

    // The five fields as the engine takes them, and set from them.
    ButtonParams Values() const;
    void SetValues(const ButtonParams& params);

signals:
    // The values OK would give now, or nothing once the preview is turned off.
    void previewChanged(std::optional<ButtonParams> values);

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
    void OnAngleTyped();
    void SetAngleFromPoint(const QPoint& point);
    // The five values as OK would read them, if every box would pass.
    std::optional<ButtonParams> ReadableValues();
    void UpdatePreview();

    CNumberEdit* m_pAngleEdit;
    QCheckBox* m_pPreviewBox;
    std::optional<ButtonParams> m_announced;
    QRect m_dialArea;
    bool m_bDragging = false;
};

} // namespace pelto
