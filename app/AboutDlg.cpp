#include "AboutDlg.h"

#include "AppStrings.h"

#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int kIconPixels = 32;

// Dialog units to pixels with the dialog font: x quarter, y eighth characters.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font) {
        const QFontMetrics metrics(font);
        const QString alphabet =
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        m_nCharWidth = (metrics.horizontalAdvance(alphabet) / 26 + 1) / 2;
        m_nCharHeight = metrics.height();
    }
    QRect Rect(int x, int y, int width, int height) const {
        return {X(x), Y(y), X(width), Y(height)};
    }
    int X(int units) const { return units * m_nCharWidth / 4; }
    int Y(int units) const { return units * m_nCharHeight / 8; }

private:
    int m_nCharWidth;
    int m_nCharHeight;
};

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8(appstr::kAboutCaption));
    setFont(QFont(QString::fromUtf8(appstr::kDialogFont), appstr::kDialogFontPoints));
    const DialogUnits units(font());
    setFixedSize(units.X(217), units.Y(55));

    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/app32.png")).pixmap(kIconPixels));
    icon->setGeometry(units.Rect(11, 17, 20, 20));
    icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* version = new QLabel(QString::fromUtf8(appstr::kAboutVersion), this);
    version->setObjectName(QStringLiteral("version"));
    version->setTextFormat(Qt::PlainText);
    version->setGeometry(units.Rect(40, 10, 119, 8));

    auto* notice = new QLabel(QString::fromUtf8(appstr::kAboutNotice), this);
    notice->setObjectName(QStringLiteral("notice"));
    notice->setTextFormat(Qt::PlainText);
    notice->setGeometry(units.Rect(40, 25, 119, 8));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    ok->setGeometry(units.Rect(178, 7, 32, 14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
