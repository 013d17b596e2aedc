#include "MessageBox.h"

#include "DialogLayout.h"
#include "ModalAnswers.h"

#include <QCoreApplication>
#include <QMessageBox>

#include <utility>

namespace pelto {

namespace {
MessageSink& Routed() {
    static MessageSink sink;
    return sink;
}
} // namespace

void AfxMessageBox(const QString& text, QWidget* parent) {
    if (const modal::MessageAnswer& answer = modal::MessageBoxAnswer()) {
        answer(text);
        return;
    }
    if (const MessageSink& sink = Routed()) {
        sink(text);
        return;
    }
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kAppCaption), text, QMessageBox::Ok,
                    parent);
    box.setWindowFlags(kModalWindowFlags);
    box.setFont(DialogFont());
    box.exec();
}

namespace {

modal::Reply Ask(const QString& text, QMessageBox::StandardButtons buttons, QWidget* parent) {
    if (const modal::QuestionAnswer& answer = modal::QuestionBoxAnswer()) return answer(text);
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kAppCaption), text, buttons, parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(buttons & QMessageBox::Cancel ? QMessageBox::Cancel : QMessageBox::No);
    box.setWindowFlags(kModalWindowFlags);
    box.setFont(DialogFont());
    switch (box.exec()) {
    case QMessageBox::Yes:
        return modal::Reply::Yes;
    case QMessageBox::No:
        return modal::Reply::No;
    default:
        return modal::Reply::Cancel;
    }
}

} // namespace

modal::Reply AskToSaveChanges(const QString& name, QWidget* parent, bool mayCancel) {
    const QString text =
        QCoreApplication::translate("pelto::MessageBox", "%1 への変更を保存しますか？").arg(name);
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (mayCancel) buttons |= QMessageBox::Cancel;
    return Ask(text, buttons, parent);
}

bool AskYesNo(const QString& text, QWidget* parent) {
    return Ask(text, QMessageBox::Yes | QMessageBox::No, parent) == modal::Reply::Yes;
}

CMessageRoute::CMessageRoute(MessageSink sink)
    : m_previous(std::exchange(Routed(), std::move(sink))) {}

CMessageRoute::~CMessageRoute() {
    Routed() = std::move(m_previous);
}

} // namespace pelto
