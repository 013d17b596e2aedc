#include "dialogs/ButtonDlg.h"

#include "dialogs/AngleDial.h"
#include "dialogs/DialogLayout.h"
#include "dialogs/NumberEdit.h"
#include "dialogs/SpinArrows.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>

#include <cstdint>

namespace pelto {

namespace {

// The value a spin arrow's delta leads to. Below zero (as a signed number) gives
// belowZero and above max gives aboveMax: the angle jumps to its far end rather
// than wrapping by a full turn.
unsigned Stepped(unsigned value, int delta, unsigned belowZero, unsigned max, unsigned aboveMax) {
    const auto result = static_cast<int32_t>(value - static_cast<unsigned>(delta));
    if (result < 0) return belowZero;
    return static_cast<unsigned>(result) > max ? aboveMax : static_cast<unsigned>(result);
}

constexpr unsigned kMaxAngle = kAngleRange.high;
constexpr unsigned kMaxWidth = kWidthRange.high;
constexpr unsigned kMaxContrast = kContrastRange.high;

} // namespace

CButtonDlg::CButtonDlg(QWidget* parent) : CExchangeDialog(parent) {
    // The template's 191 units, and a row for the preview box below them.
    SetUpDialogWindow(this, tr("立体ボタン作成"), QSize(253, 203));
    const CDialogUnits units(font());
    m_dialArea = units.ToPixels(QRect(17, 30, 101, 112));
    auto named = [&units](auto* control, const char* name, const QRect& rect) {
        control->setObjectName(QString::fromLatin1(name));
        return units.Place(control, rect);
    };

    // Template order, which is also the tab order and the z-order.
    AddStaticText(this, units, tr("光源の角度"), QRect(25, 156, 34, 9));
    m_pAngleEdit = named(new CNumberEdit(this), "angleEdit", QRect(62, 154, 27, 12));
    auto* angleSpin = named(new CSpinArrows(this), "angleSpin", QRect(89, 154, 9, 12));
    AddStaticText(this, units, tr("度"), QRect(102, 156, 11, 10));
    AddStaticText(this, units, tr("ボタンの幅"), QRect(136, 65, 34, 9));
    auto* widthEdit = named(new CNumberEdit(this), "widthEdit", QRect(173, 62, 27, 12));
    auto* widthSpin = named(new CSpinArrows(this), "widthSpin", QRect(200, 62, 9, 12));
    AddStaticText(this, units, tr("ピクセル"), QRect(212, 64, 25, 10));

    struct Radio {
        const char* text;
        const char* name;
        QRect rect;
    };
    auto addRadioGroup = [&](const QString& title, const QRect& box, const Radio(&radios)[2]) {
        units.Place(new QGroupBox(title, this), box);
        auto* group = new QButtonGroup(this);
        QList<QAbstractButton*> buttons;
        for (const Radio& radio : radios) {
            auto* button = named(new QRadioButton(tr(radio.text), this), radio.name, radio.rect);
            group->addButton(button);
            buttons.append(button);
        }
        return buttons;
    };
    const QList<QAbstractButton*> shapeButtons =
        addRadioGroup(tr("ボタンの形"), QRect(131, 82, 106, 44),
                      {{QT_TR_NOOP("カット型"), "cutRadio", QRect(136, 94, 57, 13)},
                       {QT_TR_NOOP("ラウンド型"), "roundRadio", QRect(136, 109, 57, 13)}});
    const QList<QAbstractButton*> outlineButtons =
        addRadioGroup(tr("ボタンの輪郭の位置"), QRect(131, 134, 106, 44),
                      {{QT_TR_NOOP("内周"), "innerRadio", QRect(136, 146, 57, 13)},
                       {QT_TR_NOOP("外周"), "outerRadio", QRect(136, 161, 57, 13)}});

    AddOkCancel(this, units, QRect(195, 6, 50, 14), QRect(195, 24, 50, 14));
    AddStaticText(this, units, tr("コントラスト"), QRect(136, 46, 34, 9));
    auto* contrastEdit = named(new CNumberEdit(this), "contrastEdit", QRect(173, 44, 27, 12));
    auto* contrastSpin = named(new CSpinArrows(this), "contrastSpin", QRect(200, 44, 9, 12));
    m_pPreviewBox =
        named(new QCheckBox(tr("プレビュー(&P)"), this), "previewBox", QRect(136, 186, 101, 10));
    m_pPreviewBox->setChecked(true);
    FitTexts(this);

    m_exchange.AddUnsigned(m_pAngleEdit, &m_nLightAngle, 0, kMaxAngle);
    m_exchange.AddUnsigned(widthEdit, &m_nBevelWidth, 0, kMaxWidth);
    m_exchange.AddRadioGroup(shapeButtons, &m_nShape);
    m_exchange.AddRadioGroup(outlineButtons, &m_nOutline);
    m_exchange.AddUnsigned(contrastEdit, &m_nContrast, 0, kMaxContrast);

    connect(widthSpin, &CSpinArrows::deltaPos, this, &CButtonDlg::OnDeltaposWidthSpin);
    connect(angleSpin, &CSpinArrows::deltaPos, this, &CButtonDlg::OnDeltaposAngleSpin);
    connect(m_pAngleEdit, &CNumberEdit::focusLost, this, &CButtonDlg::OnKillfocusAngleEdit);
    connect(contrastSpin, &CSpinArrows::deltaPos, this, &CButtonDlg::OnDeltaposContrastSpin);

    connect(m_pPreviewBox, &QCheckBox::toggled, this, &CButtonDlg::UpdatePreview);
    for (QAbstractButton* radio : shapeButtons + outlineButtons)
        connect(radio, &QAbstractButton::toggled, this, &CButtonDlg::UpdatePreview);
    for (CNumberEdit* box : {m_pAngleEdit, widthEdit, contrastEdit})
        connect(box, &QLineEdit::textEdited, this, &CButtonDlg::UpdatePreview);
    connect(m_pAngleEdit, &QLineEdit::textEdited, this, &CButtonDlg::OnAngleTyped);
}

void CButtonDlg::OnInitDialog() {
    CExchangeDialog::OnInitDialog();
    m_pAngleEdit->setFocus(Qt::OtherFocusReason);
    m_pAngleEdit->selectAll(); // typing replaces the value, as on entering by Tab
    m_announced.reset();
    UpdatePreview();
}

std::optional<ButtonParams> CButtonDlg::ReadableValues() {
    // A quiet read into the fields, undone: unread text must stay unread.
    const ButtonParams fields = Values();
    std::optional<ButtonParams> values;
    if (m_exchange.ReadQuietly()) values = Values();
    SetValues(fields);
    return values;
}

ButtonParams CButtonDlg::Values() const {
    return {int32_t(m_nLightAngle), int32_t(m_nContrast), int32_t(m_nBevelWidth),
            BevelShape(m_nShape), BevelOutline(m_nOutline)};
}

void CButtonDlg::SetValues(const ButtonParams& params) {
    m_nLightAngle = unsigned(params.angle);
    m_nContrast = unsigned(params.contrast);
    m_nBevelWidth = unsigned(params.width);
    m_nShape = int(params.shape);
    m_nOutline = int(params.outline);
}

void CButtonDlg::UpdatePreview() {
    if (m_exchange.IsExchanging()) return; // the exchange's caller updates once it is done
    if (!m_pPreviewBox->isChecked()) {
        if (m_announced) emit previewChanged(std::nullopt);
        m_announced.reset();
        return;
    }
    const std::optional<ButtonParams> values = ReadableValues();
    if (!values || (m_announced && *values == *m_announced)) return;
    m_announced = values;
    emit previewChanged(values);
}

void CButtonDlg::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    PaintDial(painter, m_dialArea, m_nLightAngle);
}

// A press anywhere in the dial's rectangle, even outside the ellipse, starts a
// drag; the press holds the mouse, so moves keep coming beyond the dialog.
void CButtonDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_dialArea.contains(event->position().toPoint())) {
        m_bDragging = true;
        SetAngleFromPoint(event->position().toPoint());
    }
    QDialog::mousePressEvent(event);
}

void CButtonDlg::mouseMoveEvent(QMouseEvent* event) {
    if (m_bDragging && (event->buttons() & Qt::LeftButton))
        SetAngleFromPoint(event->position().toPoint());
    QDialog::mouseMoveEvent(event);
}

void CButtonDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (m_bDragging && event->button() == Qt::LeftButton) {
        m_bDragging = false;
        SetAngleFromPoint(event->position().toPoint());
    }
    QDialog::mouseReleaseEvent(event);
}

void CButtonDlg::SetAngleFromPoint(const QPoint& point) {
    // The write that follows keeps what the user chose and typed, as long as
    // it is a number in range: the preview may already show it.
    m_exchange.ReadValid();
    m_nLightAngle = DialAngleFromPoint(m_dialArea, point);
    m_exchange.WriteAll();
    repaint();
    UpdatePreview();
}

// Every spin step reads the boxes (a refusal shows its message and the step
// goes on), moves the field and writes the boxes back. The dial follows
// whenever the angle moved, by this step or by a number the step read.
void CButtonDlg::Spin(unsigned& field, int delta, unsigned belowZero, unsigned max,
                      unsigned aboveMax) {
    if (m_exchange.IsExchanging()) return;
    const unsigned shownAngle = m_nLightAngle;
    m_exchange.ReadAll();
    field = Stepped(field, delta, belowZero, max, aboveMax);
    m_exchange.WriteAll();
    if (m_nLightAngle != shownAngle) repaint();
    UpdatePreview();
}

void CButtonDlg::OnDeltaposWidthSpin(int delta) {
    Spin(m_nBevelWidth, delta, 0, kMaxWidth, kMaxWidth);
}

void CButtonDlg::OnDeltaposAngleSpin(int delta) {
    Spin(m_nLightAngle, delta, kMaxAngle, kMaxAngle, 0);
}

void CButtonDlg::OnDeltaposContrastSpin(int delta) {
    Spin(m_nContrast, delta, 0, kMaxContrast, kMaxContrast);
}

// The dial's hand follows a valid angle as it is typed, as the preview does.
void CButtonDlg::OnAngleTyped() {
    if (m_exchange.IsExchanging()) return;
    const unsigned shownAngle = m_nLightAngle;
    m_exchange.ReadValid(m_pAngleEdit);
    if (m_nLightAngle != shownAngle) repaint();
}

void CButtonDlg::OnKillfocusAngleEdit() {
    // A click on a spin arrow takes the focus; the step it makes reads the
    // boxes at once, so reading them here too would report a bad box twice.
    if (m_exchange.IsExchanging() || qobject_cast<CSpinArrows*>(QApplication::focusWidget()))
        return;
    m_exchange.ReadAll();
    repaint();
}

} // namespace pelto
