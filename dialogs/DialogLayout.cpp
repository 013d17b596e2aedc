#include "dialogs/DialogLayout.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <vector>

namespace pelto {

namespace {

// MulDiv's rounding, for the non-negative coordinates of a template.
int Scale(int units, int base, int divisor) {
    return (units * base + divisor / 2) / divisor;
}

} // namespace

QFont DialogFont() {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")});
    font.setPointSize(9);
    return font;
}

// The average width is that of the 52 Latin letters, rounded, as the old
// platform measured it; a CJK font's own average would count its wide glyphs.
CDialogUnits::CDialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_nBaseWidth = (letters / 26 + 1) / 2;
    m_nBaseHeight = metrics.height();
}

CDialogUnits::CDialogUnits(int baseWidth, int baseHeight)
    : m_nBaseWidth(baseWidth), m_nBaseHeight(baseHeight) {}

QRect CDialogUnits::ToPixels(const QRect& units) const {
    const int left = Scale(units.x(), m_nBaseWidth, 4);
    const int top = Scale(units.y(), m_nBaseHeight, 8);
    const int right = Scale(units.x() + units.width(), m_nBaseWidth, 4);
    const int bottom = Scale(units.y() + units.height(), m_nBaseHeight, 8);
    return QRect(left, top, right - left, bottom - top);
}

QSize CDialogUnits::ToPixels(const QSize& units) const {
    return ToPixels(QRect(QPoint(0, 0), units)).size();
}

void SetUpDialogWindow(QDialog* dialog, const QString& caption, const QSize& units) {
    dialog->setWindowFlags(kModalWindowFlags);
    dialog->setWindowTitle(caption);
    dialog->setFont(DialogFont());
    dialog->setFixedSize(CDialogUnits(dialog->font()).ToPixels(units));
}

namespace {

// The width a control's text needs, or 0 for a control without one.
int TextWidth(const QWidget* control) {
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->pixmap().isNull() ? label->sizeHint().width() : 0;
    if (qobject_cast<const QCheckBox*>(control) || qobject_cast<const QRadioButton*>(control))
        return control->sizeHint().width();
    if (const auto* box = qobject_cast<const QGroupBox*>(control))
        return box->minimumSizeHint().width();
    return 0;
}

} // namespace

void FitTexts(QDialog* dialog) {
    QList<QWidget*> controls = dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    std::stable_sort(controls.begin(), controls.end(),
                     [](const QWidget* a, const QWidget* b) { return a->x() < b->x(); });
    // How far each control moves: as far as the widest push of any control
    // wholly to its left, itself moved by the ones before it.
    struct Push {
        int right; // the template's right edge
        int reach; // how far what lies beyond that edge must move
    };
    std::vector<Push> pushes;
    const int slack = CDialogUnits(dialog->font()).ToPixels(QRect(0, 0, 1, 1)).width();
    int widest = 0;
    for (QWidget* control : controls) {
        int shift = 0;
        for (const Push& push : pushes)
            if (push.right < control->x()) shift = std::max(shift, push.reach);
        // Rounding the template to pixels may leave a text a pixel short,
        // which cuts nothing that shows: the templates stay as they are then.
        int extra = TextWidth(control) - control->width();
        if (extra <= slack) extra = 0;
        pushes.push_back({control->geometry().right(), shift + extra});
        widest = std::max(widest, shift + extra);
        control->setGeometry(control->x() + shift, control->y(), control->width() + extra,
                             control->height());
    }
    if (widest > 0) dialog->setFixedSize(dialog->width() + widest, dialog->height());
}

QLabel* AddStaticText(QWidget* dialog, const CDialogUnits& units, const QString& text,
                      const QRect& rect) {
    auto* label = units.Place(new QLabel(text, dialog), rect);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

void AddOkCancel(QDialog* dialog, const CDialogUnits& units, const QRect& okRect,
                 const QRect& cancelRect) {
    auto* ok = units.Place(
        new QPushButton(QCoreApplication::translate("pelto::DialogLayout", "OK"), dialog), okRect);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    auto* cancel = units.Place(
        new QPushButton(QCoreApplication::translate("pelto::DialogLayout", "ｷｬﾝｾﾙ"), dialog),
        cancelRect);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    for (QPushButton* button : {ok, cancel})
        button->setFocusPolicy(Qt::TabFocus);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
}

} // namespace pelto
