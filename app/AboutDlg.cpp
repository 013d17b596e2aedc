#include "AboutDlg.h"

#include "AppStrings.h"
#include "dialogs/DialogLayout.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace pelto {

namespace {
constexpr int kIconPixels = 32;
} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    SetUpDialogWindow(this, appstr::Tr(appstr::kAboutCaption), QSize(217, 55));
    const CDialogUnits units(font());

    auto* icon = units.Place(new QLabel(this), QRect(11, 17, 20, 20));
    icon->setPixmap(QIcon(QStringLiteral(":/icons/app32.png")).pixmap(kIconPixels));
    icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    QLabel* version = AddStaticText(
        this, units, appstr::Tr(appstr::kAboutVersion).arg(QStringLiteral(PELTO_VERSION)),
        QRect(40, 10, 119, 8));
    version->setObjectName(QStringLiteral("version"));
    version->setTextFormat(Qt::PlainText);

    QLabel* notice =
        AddStaticText(this, units, appstr::Tr(appstr::kAboutNotice), QRect(40, 25, 119, 8));
    notice->setObjectName(QStringLiteral("notice"));
    notice->setTextFormat(Qt::PlainText);

    auto* ok = units.Place(new QPushButton(tr("OK"), this), QRect(178, 7, 32, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    FitTexts(this);
}

} // namespace pelto
