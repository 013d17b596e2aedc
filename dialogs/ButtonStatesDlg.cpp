#include "dialogs/ButtonStatesDlg.h"

#include "dialogs/DialogLayout.h"
#include "dialogs/ModalAnswers.h"

#include <QCoreApplication>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace pelto {

namespace {

constexpr const char* kContext = "pelto::CButtonStatesDlg";
constexpr const char* kStateNames[] = {
    QT_TRANSLATE_NOOP("pelto::CButtonStatesDlg", "通常"),
    QT_TRANSLATE_NOOP("pelto::CButtonStatesDlg", "ホバー"),
    QT_TRANSLATE_NOOP("pelto::CButtonStatesDlg", "押下"),
    QT_TRANSLATE_NOOP("pelto::CButtonStatesDlg", "無効"),
};
constexpr const char* kTitle = QT_TRANSLATE_NOOP("pelto::CButtonStatesDlg", "ボタン一式の書き出し");
constexpr const char* kWrite = QT_TRANSLATE_NOOP("pelto::CButtonStatesDlg", "書き出し(&W)...");
// Four side by side fit a small screen (in screen pixels).
constexpr int kLargestSide = 240;

QString Tr(const char* source) {
    return QCoreApplication::translate(kContext, source);
}

} // namespace

bool ShowButtonStates(const std::array<QImage, 4>& states, QWidget* owner) {
    if (const modal::StatesAnswer& answer = modal::StatesDialogAnswer()) return answer(states);
    QDialog dialog(owner ? owner->window() : nullptr);
    dialog.setWindowTitle(Tr(kTitle));
    dialog.setFont(DialogFont());
    auto* grid = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        const QImage& state = states[size_t(i)];
        const bool large = state.width() > kLargestSide || state.height() > kLargestSide;
        auto* picture = new QLabel;
        picture->setAlignment(Qt::AlignCenter);
        QPixmap pixmap =
            QPixmap::fromImage(large ? state.scaled(kLargestSide, kLargestSide, Qt::KeepAspectRatio,
                                                    Qt::SmoothTransformation)
                                     : state);
        // A picture pixel to a screen pixel, as the view shows it at 100 %.
        pixmap.setDevicePixelRatio(dialog.devicePixelRatioF());
        picture->setPixmap(pixmap);
        grid->addWidget(picture, 0, i);
        auto* name = new QLabel(Tr(kStateNames[i]));
        name->setAlignment(Qt::AlignHCenter);
        grid->addWidget(name, 1, i);
    }
    auto* write = new QPushButton(Tr(kWrite));
    write->setDefault(true);
    auto* cancel = new QPushButton(QCoreApplication::translate("pelto::DialogLayout", "ｷｬﾝｾﾙ"));
    QObject::connect(write, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(write);
    buttons->addWidget(cancel);
    auto* whole = new QVBoxLayout(&dialog);
    whole->addLayout(grid);
    whole->addLayout(buttons);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace pelto
