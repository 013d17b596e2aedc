#pragma once
// The dialogs are laid out from their templates in dialog units: one unit
// across is a quarter of the dialog font's average character width, one unit
// down an eighth of its height, so a dialog keeps its proportions whatever the
// font's size in pixels.

#include <QFont>
#include <QRect>

class QDialog;
class QLabel;
class QPushButton;
class QString;
class QWidget;

namespace pelto {

// "ＭＳ Ｐゴシック" 9 pt, with the metric-compatible IPAPGothic standing in
// where it is not installed.
QFont DialogFont();

class CDialogUnits {
public:
    explicit CDialogUnits(const QFont& font);
    CDialogUnits(int baseWidth, int baseHeight);

    int BaseWidth() const { return m_nBaseWidth; }
    int BaseHeight() const { return m_nBaseHeight; }

    // x, y, width, height in dialog units to pixels. The edges are converted
    // one by one, so neighbouring controls meet exactly as in the template.
    QRect ToPixels(const QRect& units) const;
    QSize ToPixels(const QSize& units) const;

    template <class Control> Control* Place(Control* control, const QRect& units) const {
        control->setGeometry(ToPixels(units));
        return control;
    }

private:
    int m_nBaseWidth;
    int m_nBaseHeight;
};

// Font, caption and fixed size of a dialog template.
// A modal window's frame: a title and a close box, no minimise or maximise.
inline constexpr Qt::WindowFlags kModalWindowFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowCloseButtonHint;

void SetUpDialogWindow(QDialog* dialog, const QString& caption, const QSize& units);

// Widens every text (static texts, check boxes, radio buttons, group box
// titles) that needs more room than its template gives it, as a translation
// may: whatever lies to its right moves along by as much and the dialog grows
// wider. Called once every control is placed.
void FitTexts(QDialog* dialog);

// A static text control: left-aligned from the top, no wrapping.
QLabel* AddStaticText(QWidget* dialog, const CDialogUnits& units, const QString& text,
                      const QRect& rect);

// The default push button "OK" and the push button "ｷｬﾝｾﾙ", wired to accept
// and reject. A click does not take the focus, so clicking Cancel never makes
// the box being edited report a bad number.
void AddOkCancel(QDialog* dialog, const CDialogUnits& units, const QRect& okRect,
                 const QRect& cancelRect);

} // namespace pelto
