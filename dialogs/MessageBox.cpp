#include "MessageBox.h"

#include "DialogLayout.h"
#include "ModalAnswers.h"

#include <QMessageBox>

#include <cstdio>

namespace pelto {

namespace {
int g_nToStandardError = 0;
} // namespace

void AfxMessageBox(const QString& text, QWidget* parent) {
    if (const modal::MessageAnswer& answer = modal::MessageBoxAnswer()) {
        answer(text);
        return;
    }
    if (g_nToStandardError) {
        const QByteArray line =
            (QString::fromUtf8(kAppCaption) + QStringLiteral(": ") + text + u'\n').toUtf8();
        std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
        std::fflush(stderr);
        return;
    }
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kAppCaption), text, QMessageBox::Ok,
                    parent);
    box.setFont(DialogFont());
    box.exec();
}

CMessagesToStandardError::CMessagesToStandardError() {
    ++g_nToStandardError;
}

CMessagesToStandardError::~CMessagesToStandardError() {
    --g_nToStandardError;
}

} // namespace pelto
